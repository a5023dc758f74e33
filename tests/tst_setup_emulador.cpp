#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "core/Trabalhador.h"
#include "setup/TFormSetupAutom.h"
#include "tests/apoio/TesteJanelas.h"

namespace {
const QString CnpjContr = QStringLiteral("11222333000181");
const QString CnpjSH = QStringLiteral("16716114000172");
const QString Codigo = QStringLiteral("bancada-123");
const QString Assinatura = QString(344, QLatin1Char('A'));
}  // namespace

// The bench against the emulated device: devices taken off and plugged in as
// an operator would, the pauses on the harness's clock.
class TstSetupEmulador : public TesteEmulado {
    Q_OBJECT

    TFormSetupAutom* janela() {
        return static_cast<TFormSetupAutom*>(b->janela(Janela::SetupAutom));
    }
    template <typename T>
    T* controle(const char* nome) {
        return b->controle<T>(Janela::SetupAutom, nome);
    }
    QString texto() { return b->ctx().estado.EtapaSetup().texto; }
    int numero() { return b->ctx().estado.EtapaSetup().numero; }
    void executar() {
        janela()->show();
        controle<QLineEdit>("MskEdCNPJContr")->setText(CnpjContr);
        controle<QLineEdit>("MskEdCNPJSwHouse")->setText(CnpjSH);
        controle<QLineEdit>("EdCodAtivacao")->setText(Codigo);
        controle<QPlainTextEdit>("MemoSignac")->setPlainText(Assinatura);
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
    }
    void conferirPreparado(const emulador::Estado& e) {
        QVERIFY(e.ativado);
        QCOMPARE(qtexto(e.codigoAtivacao), Codigo);
        QCOMPARE(qtexto(e.cnpjContribuinte), CnpjContr);
        QCOMPARE(e.uf, 35);
        QCOMPARE(qtexto(e.cnpjSoftwareHouse), CnpjSH);
        QCOMPARE(qtexto(e.assinatura), Assinatura);
    }

    void preparar() override {
        // A short restart keeps the test quick; the wait is polled all the same.
        dispositivo->alterar([](emulador::Estado& e) { e.reinicioAposMs = 300; });
    }
    void encerrar() override {
        if (janela()->isVisible()) janela()->close();
    }

  private Q_SLOTS:
    void doisDispositivosNaBancada() {
        const std::string primeiro = dispositivo->estado().serie;
        executar();
        QTRY_COMPARE_WITH_TIMEOUT(texto(), QStringLiteral("SAT TESTADO"), 20000);
        conferirPreparado(dispositivo->estado());
        QCOMPARE(dispositivo->estado().serie, primeiro);
        QCOMPARE(b->ctx().CodigoAtivacao(), Codigo);

        // The operator takes it off; the next factory-new one answers later.
        dispositivo->proximo(300);
        const std::string segundo = dispositivo->estado().serie;
        QVERIFY(segundo != primeiro);
        QTRY_COMPARE_WITH_TIMEOUT(controle<QLabel>("LbConectado")->text(),
                                  "SAT CONECTADO NS:" + qtexto(segundo), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(texto(), QStringLiteral("SAT TESTADO"), 20000);
        conferirPreparado(dispositivo->estado());
        QCOMPARE(dispositivo->estado().serie, segundo);

        const QList<int> pausas = b->relogio.pausas();
        QCOMPARE(pausas.count(60000), 2);
        QCOMPARE(pausas.count(20000), 2);
        QVERIFY(pausas.count(5000) >= 2);  // the restart and the insertion waits polled
        // The log lines reach the window through its event queue.
        auto log = [this] { return controle<QPlainTextEdit>("RichEdit1")->toPlainText(); };
        QTRY_COMPARE(log().count(QStringLiteral("|09000|")), 2);
        QTRY_COMPARE(log().count(QStringLiteral("DESCONECTE E CONECTE OUTRO SAT")), 2);

        QVERIFY(b->clicar(Janela::SetupAutom, "BtCancelar"));
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCOMPARE(numero(), 5);
        QCOMPARE(texto(), QStringLiteral("CANCELADO"));
        QVERIFY(b->janela(Janela::Principal)->isVisible());
    }

    // A device activated before refuses; the bench stops on it.
    void dispositivoJaAtivadoRecusa() {
        dispositivo->ativado("outro-codigo", stexto(CnpjContr), 35);
        executar();
        QTRY_COMPARE_WITH_TIMEOUT(texto(), QStringLiteral("ERRO"), 10000);
        QCOMPARE(numero(), 2);
        QTRY_VERIFY(controle<QPushButton>("BtExecutar")->isEnabled());
        QVERIFY(controle<QPlainTextEdit>("RichEdit1")
                    ->toPlainText()
                    .contains(QStringLiteral("|04003|")));
        QCOMPARE(dispositivo->estado().codigoAtivacao, "outro-codigo");
    }

    // Unplugged during the restart wait and never back: only Cancel ends it.
    void canceladoNaEsperaDoReinicio() {
        dispositivo->alterar([](emulador::Estado& e) { e.reinicioAposMs = 600000; });
        executar();
        QTRY_COMPARE_WITH_TIMEOUT(texto(), QStringLiteral("SAT ASSINADO"), 10000);
        QTRY_VERIFY(b->relogio.pausas().count(5000) >= 3);
        QVERIFY(b->clicar(Janela::SetupAutom, "BtCancelar"));
        QTRY_COMPARE_WITH_TIMEOUT(Trabalhador::vivos(), 0, 10000);
        QCOMPARE(numero(), 0);
        QCOMPARE(texto(), QStringLiteral("CANCELADO"));
    }
};

QTEST_MAIN(TstSetupEmulador)
#include "tst_setup_emulador.moc"
