#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "core/Trabalhador.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DispositivoEmulado.h"
#include "tests/apoio/TesteJanelas.h"

using Icone = PortaDialogos::Icone;

namespace {
const QString CnpjContribuinte = QStringLiteral("11222333000181");
}

// Activation and change of code through the real windows, against the
// emulated device, each test on a device of its own.
class TstAtivacaoEmulador : public TesteEmulado {
    Q_OBJECT

    template <typename T>
    T* em(Janela j, const char* nome) {
        return b->controle<T>(j, nome);
    }
    QString statusPrincipal() { return em<QLabel>(Janela::Principal, "LbStatusCom")->text(); }

    void entrar(const QString& codigo) {
        em<QLineEdit>(Janela::CodAtivacao, "txtCodAtivacao")->setText(codigo);
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtIniciar"));
    }
    void ativar(const QString& codigo, const QString& uf) {
        QVERIFY(b->clicar(Janela::Principal, "BtAtivarSat"));
        em<QLineEdit>(Janela::AtivarSat, "MskEdCNPJContr")->setText(CnpjContribuinte);
        em<QLineEdit>(Janela::AtivarSat, "EdCodAtivacao")->setText(codigo);
        auto* cbox = em<QComboBox>(Janela::AtivarSat, "CBoxUF");
        cbox->setCurrentIndex(cbox->findText(uf));
        QVERIFY(b->clicar(Janela::AtivarSat, "BtEnviar"));
        QTRY_VERIFY(em<QPushButton>(Janela::AtivarSat, "BtEnviar")->isEnabled());
        QTRY_COMPARE(Trabalhador::vivos(), 0);
    }
    QString retornoDaAtivacao() {
        const QString rx =
            em<QPlainTextEdit>(Janela::AtivarSat, "RichEdit1")->toPlainText().split('\n').last();
        return rx.section("] [RX] ", 1).section('|', 1, 1);
    }
    void trocar(const QString& atual, const QString& novo, const QString& confirmacao) {
        em<QLineEdit>(Janela::TrocarCodigo, "EdCodAtualEmerg")->setText(atual);
        em<QLineEdit>(Janela::TrocarCodigo, "EdNovoCod")->setText(novo);
        em<QLineEdit>(Janela::TrocarCodigo, "EdConfNovoCod")->setText(confirmacao);
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtEnviar"));
    }

    void preparar() override { b->janela(Janela::CodAtivacao)->show(); }

  private Q_SLOTS:
    void dispositivoNovoAtivadoPelaJanela() {
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtSatNaoAtivado"));
        ativar("codigo-novo-1", "DF");
        QCOMPARE(retornoDaAtivacao(), QStringLiteral("04000"));
        const emulador::Estado estado = dispositivo->estado();
        QVERIFY(estado.ativado);
        QCOMPARE(estado.codigoAtivacao, "codigo-novo-1");
        QCOMPARE(qtexto(estado.cnpjContribuinte), CnpjContribuinte);
        QCOMPARE(estado.uf, 53);
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral("codigo-novo-1"));
        QVERIFY(em<QPushButton>(Janela::Principal, "BtAssociarAssinatura")->isEnabled());

        // The closing query already runs with the new code.
        QVERIFY(b->clicar(Janela::AtivarSat, "BtCancelar"));
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(statusPrincipal(), QStringLiteral("CONECTADO"));
        QCOMPARE(em<QLabel>(Janela::Principal, "LbLayout")->text(),
                 "LAYOUT - " + qtexto(estado.versaoLayout));
        QCOMPARE(em<QLabel>(Janela::Principal, "LbSatVersao")->text(),
                 "SAT - " + qtexto(estado.versaoSoftware));

        // And the start gate takes it from now on.
        b->janela(Janela::Principal)->hide();
        b->janela(Janela::CodAtivacao)->show();
        entrar("codigo-novo-1");
        QVERIFY(b->dialogos.caixas().isEmpty());
        QVERIFY(b->janela(Janela::Principal)->isVisible());
    }

    void ativacaoRecusadaNaoMudaNada() {
        dispositivo->ativado("codigo-antigo", stexto(CnpjContribuinte), 35);
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtSatNaoAtivado"));
        ativar("codigo-outro-2", "AC");
        QCOMPARE(retornoDaAtivacao(), QStringLiteral("04003"));
        QCOMPARE(dispositivo->estado().codigoAtivacao, "codigo-antigo");
        QCOMPARE(dispositivo->estado().uf, 35);
        QCOMPARE(b->ctx().CodigoAtivacao(), QString());
        QVERIFY(!em<QPushButton>(Janela::Principal, "BtAssociarAssinatura")->isEnabled());
    }

    void fecharComCodigoDesconhecidoVoltaAoInicio() {
        dispositivo->ativado("codigo-antigo", stexto(CnpjContribuinte), 35);
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtSatNaoAtivado"));
        QVERIFY(b->clicar(Janela::Principal, "BtAtivarSat"));
        QVERIFY(b->clicar(Janela::AtivarSat, "BtCancelar"));
        QCOMPARE(b->ctx().estado.CampoA(), QStringLiteral("10001"));
        QVERIFY(b->janela(Janela::CodAtivacao)->isVisible());
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
    }

    void trocaComOCodigoAtual() {
        dispositivo->ativado("codigo-antigo", stexto(CnpjContribuinte), 35);
        entrar("codigo-antigo");
        QVERIFY(b->clicar(Janela::Principal, "BtTrocarCodAtiv"));
        trocar("codigo-antigo", "codigo-novo-3", "codigo-novo-3");
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QCOMPARE(b->ctx().estado.CampoB(), QStringLiteral("18000"));
        QCOMPARE(dispositivo->estado().codigoAtivacao, "codigo-novo-3");
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral("codigo-novo-3"));
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtCancelar"));
        QCOMPARE(statusPrincipal(), QStringLiteral("CONECTADO"));
    }

    void confirmacaoDiferenteERecusada() {
        dispositivo->ativado("codigo-antigo", stexto(CnpjContribuinte), 35);
        entrar("codigo-antigo");
        QVERIFY(b->clicar(Janela::Principal, "BtTrocarCodAtiv"));
        trocar("codigo-antigo", "codigo-novo-3", "codigo-novo-4");
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->ctx().estado.CampoB(), QStringLiteral("18099"));
        QCOMPARE(dispositivo->estado().codigoAtivacao, "codigo-antigo");
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral("codigo-antigo"));
    }

    void trocaDeEmergenciaPeloInicio() {
        dispositivo->ativado("codigo-esquecido", stexto(CnpjContribuinte), 35);
        const QString emergencia = qtexto(dispositivo->estado().codigoEmergencia);
        QVERIFY(!emergencia.isEmpty());
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtTrocarCodAtiv"));
        QVERIFY(b->clicar(Janela::TrocarCodigo, "RdbCodigoEmergencia"));
        trocar(emergencia, "codigo-novo-5", "codigo-novo-5");
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QCOMPARE(dispositivo->estado().codigoAtivacao, "codigo-novo-5");
        // The new code answers "10000": straight to the main window.
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtCancelar"));
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QVERIFY(!b->janela(Janela::CodAtivacao)->isVisible());
        QCOMPARE(statusPrincipal(), QStringLiteral("CONECTADO"));
        QCOMPARE(b->ctx().estado.ModoAtivacao(), 0);
    }

    void dispositivoDesligadoPeloInicio() {
        dispositivo->conectar(false);
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtTrocarCodAtiv"));
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtCancelar"));
        QCOMPARE(b->ctx().estado.RespostaSAT(),
                 QStringLiteral("PORTA SERIAL NãO ESTá PRONTA, TENTE NOVAMENTE"));
        QVERIFY(b->janela(Janela::CodAtivacao)->isVisible());
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
    }
};

QTEST_MAIN(TstAtivacaoEmulador)
#include "tst_ativacao_emulador.moc"
