#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include "core/Trabalhador.h"
#include "emulator/Documentos.h"
#include "emulator/Texto.h"
#include "operations/TFormConsultas.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DispositivoEmulado.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

// The queries window and the update against the emulated device, each test
// on a device of its own.
class TstConsultasEmulador : public TesteEmulado {
    Q_OBJECT

    TFormConsultas& janela() { return *static_cast<TFormConsultas*>(b->janela(Janela::Consultas)); }
    QPlainTextEdit* log() { return janela().log(); }
    QLabel* status() { return b->controle<QLabel>(Janela::Principal, "LbStatusCom"); }

    void extrair() {
        QVERIFY(b->clicar(Janela::Consultas, "BtExtrairLogs"));
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCoreApplication::processEvents();
        QVERIFY(b->controle<QPushButton>(Janela::Consultas, "BtExtrairLogs")->isEnabled());
    }
    void atualizar() {
        QVERIFY(b->clicar(Janela::Principal, "BtAtualizarSat"));
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCoreApplication::processEvents();
        QVERIFY(b->controle<QWidget>(Janela::Principal, "BtAtualizarSat")->isEnabled());
    }

    void preparar() override {
        dispositivo->ativado("12345678");
        b->ctx().setCodigoAtivacao("12345678");
        b->ctx().estado.setStatusConexao(StatusConectado);
    }

  private Q_SLOTS:
    void logDoDispositivoMostradoESalvo() {
        const qint64 tamanho = 20000 * emulador::TamanhoLinhaLog;
        const std::int64_t fim = emulador::agoraMs();
        dispositivo->alterar([&](emulador::Estado& e) {
            e.tamanhoLog = tamanho;
            e.ultimoEventoMs = fim;
        });
        const QByteArray esperado = QByteArray::fromStdString(emulador::textoLog(tamanho, fim));
        janela().show();
        extrair();
        QCOMPARE(b->ctx().inicial().RetornoLog().section('|', 1, 1), QStringLiteral("15000"));
        QVERIFY(log()->document()->firstBlock().text().contains("[TX] ExtrairLogs("));
        QCOMPARE(log()->toPlainText().section('\n', 1), QString::fromLatin1(esperado));

        const QString arquivo = QDir(qtexto(dispositivo->pasta())).filePath("log.txt");
        b->dialogos.responderArquivo(arquivo);
        QVERIFY(b->clicar(Janela::Consultas, "BtSalvarLog"));
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray comQuebras = esperado;
        QCOMPARE(f.readAll(), comQuebras.replace("\n", "\r\n") + "\r\n");
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    // Unplugged during an extraction: the call ends with the no-device reply,
    // which shows, and the log extracted before is still the one saved.
    void desconectadoDuranteAExtracaoGuardaOLogAnterior() {
        dispositivo->alterar(
            [](emulador::Estado& e) { e.tamanhoLog = 10 * emulador::TamanhoLinhaLog; });
        janela().show();
        extrair();
        const QString anterior = b->ctx().inicial().RetornoLog();
        dispositivo->latencia(3000);
        QVERIFY(b->clicar(Janela::Consultas, "BtExtrairLogs"));
        QTest::qWait(300);
        dispositivo->conectar(false);
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCoreApplication::processEvents();
        QVERIFY(log()->toPlainText().endsWith(
            QStringLiteral(")PORTA SERIAL NãO ESTá PRONTA, TENTE NOVAMENTE")));
        QCOMPARE(b->ctx().inicial().RetornoLog(), anterior);
    }

    void codigoErradoRecusaOLog() {
        b->ctx().setCodigoAtivacao("87654321");
        janela().show();
        extrair();
        const QStringList linhas = log()->toPlainText().split('\n');
        QCOMPARE(linhas.size(), 2);
        QVERIFY(linhas[1].contains("] [RX] ("));
        QCOMPARE(linhas[1].section(')', 1).section('|', 1, 1), QStringLiteral("15001"));
    }

    void atualizacaoAceita() {
        dispositivo->alterar([](emulador::Estado& e) { e.reinicioAposMs = 0; });
        const std::string versao = dispositivo->estado().versaoSoftware;
        b->janela(Janela::Principal)->show();
        atualizar();
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QVERIFY(b->dialogos.ultima().texto.contains("Retorno: 14000\r\n"));
        QVERIFY(dispositivo->estado().versaoSoftware != versao);
        QTRY_COMPARE(status()->text(), StatusConectado);
        QCOMPARE(status()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    }

    void atualizacaoComOReinicio() {
        dispositivo->alterar([](emulador::Estado& e) { e.reinicioAposMs = 60000; });
        b->janela(Janela::Principal)->show();
        atualizar();
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        // The device restarts after the update: off its port for a while.
        QTRY_COMPARE(status()->text(), StatusDesconectado);
    }

    void atualizacaoDesconectado() {
        dispositivo->conectar(false);
        b->janela(Janela::Principal)->show();
        atualizar();
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("Sessão: \r\nRetorno: \r\nResposta: "));
        const QStringList linhas =
            b->controle<QPlainTextEdit>(Janela::Principal, "RichEdit1")->toPlainText().split('\n');
        QCOMPARE(linhas.size(), 2);
        QVERIFY(linhas[1].endsWith("] [RX] " + TextoPortaNaoPronta));
        QTRY_COMPARE(status()->text(), StatusDesconectado);
        QCOMPARE(status()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
};

QTEST_MAIN(TstConsultasEmulador)
#include "tst_consultas_emulador.moc"
