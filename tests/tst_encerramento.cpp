#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include "core/Trabalhador.h"
#include "device/DllSat.h"
#include "ui/DialogosQt.h"

// Closing the program while a worker is still inside a library call, or
// waiting for a box, must end the process at once and cleanly.
namespace {
int encerrarComTrabalhador(int argc, char** argv, bool esperandoCaixa) {
    QApplication app(argc, argv);
    // Read by the stand-in in the helper's process.
    qputenv("DLLSAT_FALSO_DEMORA_MS", "60000");
    auto dll = DllSat::carregarDe(DLLSAT_TIVORO);
    DialogosQt dialogos;
    Trabalhador::iniciar([&] {
        if (esperandoCaixa)
            dialogos.informacao("caixa que ninguém fecha");
        else
            dll->ConsultarSAT(1);
    });
    QTimer::singleShot(300, &app, &QApplication::quit);
    return Trabalhador::encerrar(app.exec());
}
}  // namespace

class TstEncerramento : public QObject {
    Q_OBJECT

    void rodarFilho(const char* modo) {
        QProcess filho;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("ENCERRAMENTO_FILHO", modo);
        filho.setProcessEnvironment(ambiente);
        filho.start(QCoreApplication::applicationFilePath(), {});
        // Far less than the worker's call: a hang shows as a timeout here.
        QVERIFY(filho.waitForFinished(20000));
        QCOMPARE(filho.exitStatus(), QProcess::NormalExit);
        QCOMPARE(filho.exitCode(), 0);
    }

  private Q_SLOTS:
    void dentroDeUmaChamada() { rodarFilho("chamada"); }
    void esperandoUmaCaixa() { rodarFilho("caixa"); }
};

int main(int argc, char** argv) {
    const QByteArray modo = qgetenv("ENCERRAMENTO_FILHO");
    if (!modo.isEmpty()) return encerrarComTrabalhador(argc, argv, modo == "caixa");
    QCoreApplication app(argc, argv);
    TstEncerramento teste;
    return QTest::qExec(&teste, argc, argv);
}
#include "tst_encerramento.moc"
