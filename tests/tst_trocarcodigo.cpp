#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>

#include "core/Respostas.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

namespace {
// A common notebook's screen, as wide as the window's 856 pixels and a little
// more.
const bool Tela = usarTela("tela_1366x768.json");
}  // namespace

// The change-of-code window, reached from the start window and from the main
// window, against a stand-in library whose replies the test sets.
class TstTrocarCodigo : public TesteFalso {
    Q_OBJECT

    template <typename T>
    T* em(const char* nome) {
        return b->controle<T>(Janela::TrocarCodigo, nome);
    }
    QWidget* trocar() { return b->janela(Janela::TrocarCodigo); }
    QLabel* rotuloPrimeiro() { return em<QLabel>("LbCodAtivAtualEmerg"); }

    void abrirPeloInicio() {
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtTrocarCodAtiv"));
        QVERIFY(trocar()->isVisible());
        QVERIFY(!b->janela(Janela::CodAtivacao)->isVisible());
        QCOMPARE(b->ctx().estado.ModoAtivacao(), 1);
    }
    void abrirPeloPrincipal() {
        falsa.responder(DllSatFalsa::status("10000"));
        b->controle<QLineEdit>(Janela::CodAtivacao, "txtCodAtivacao")->setText("aceito-1");
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtIniciar"));
        QVERIFY(b->clicar(Janela::Principal, "BtTrocarCodAtiv"));
        QVERIFY(trocar()->isVisible());
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->ctx().estado.ModoAtivacao(), 0);
    }
    void preencher(const QString& atual, const QString& novo, const QString& confirmacao) {
        em<QLineEdit>("EdCodAtualEmerg")->setText(atual);
        em<QLineEdit>("EdNovoCod")->setText(novo);
        em<QLineEdit>("EdConfNovoCod")->setText(confirmacao);
    }

    // As a user pastes: through the clipboard, with Ctrl+V.
    void colar(const char* nome, const QString& texto) {
        QGuiApplication::clipboard()->setText(texto);
        QTest::keySequence(em<QLineEdit>(nome), QKeySequence::Paste);
    }
    void enviarCodigosColados(const QString& novo, const QString& confirmacao) {
        abrirPeloInicio();
        preencher("antigo", "", "");
        colar("EdNovoCod", novo);
        colar("EdConfNovoCod", confirmacao);
        falsa.responder(
            "0|18001|C\xf3"
            "digos diferentes||");
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtEnviar"));
    }

    void preparar() override { b->janela(Janela::CodAtivacao)->show(); }

  private Q_SLOTS:
    void larguraDasOpcoes() {
        abrirPeloInicio();
        QCOMPARE(trocar()->windowTitle(),
                 QStringLiteral("TOOL SAT TIVORO - Trocar código de ativação"));
        QVERIFY(!(trocar()->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(em<QRadioButton>("RdbCodigoAtual")->isChecked());
        QCOMPARE(trocar()->size(), QSize(321, 218));
        QCOMPARE(rotuloPrimeiro()->text(), QStringLiteral("Código de Ativação Atual"));
        // The help part lies beyond the narrow width.
        for (const char* nome : {"Shape1", "Label1", "ImCodAtivacao"})
            QVERIFY2(trocar()->findChild<QWidget*>(nome)->geometry().left() >= 321, nome);
        for (const char* nome : {"EdCodAtualEmerg", "EdNovoCod", "EdConfNovoCod", "BtEnviar"})
            QVERIFY2(trocar()->findChild<QWidget*>(nome)->geometry().right() < 321, nome);

        QVERIFY(Tela);
        QVERIFY(b->clicar(Janela::TrocarCodigo, "RdbCodigoEmergencia"));
        QCOMPARE(trocar()->width(), 856);
        // Widened where it opened, centred, it would spill off the right edge.
        const QRect area = trocar()->screen()->availableGeometry();
        QVERIFY2(area.contains(trocar()->frameGeometry()),
                 qPrintable(QDebug::toString(trocar()->frameGeometry())));
        QCOMPARE(rotuloPrimeiro()->text(), QStringLiteral("Código de Emergência"));
        QVERIFY(em<QLabel>("Label1")->isVisible());
        QVERIFY(em<QLabel>("Label1")->geometry().right() < 856);
        QVERIFY(em<QLabel>("ImCodAtivacao")->geometry().right() < 856);
        QVERIFY(em<QLabel>("Label1")->text().endsWith("imagem ao lado. "));

        // Closing keeps the width; reopening goes back to option 1, the
        // texts stay.
        preencher("a", "b", "c");
        falsa.responder(DllSatFalsa::status("10000"));
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtCancelar"));
        QCOMPARE(trocar()->width(), 856);
        QVERIFY(b->clicar(Janela::Principal, "BtTrocarCodAtiv"));
        QVERIFY(em<QRadioButton>("RdbCodigoAtual")->isChecked());
        QCOMPARE(trocar()->width(), 321);
        QCOMPARE(rotuloPrimeiro()->text(), QStringLiteral("Código de Ativação Atual"));
        QCOMPARE(em<QLineEdit>("EdConfNovoCod")->text(), QStringLiteral("c"));
    }

    void camposVaziosNaoChamam_data() {
        QTest::addColumn<bool>("emergencia");
        QTest::addColumn<QString>("atual");
        QTest::addColumn<QString>("novo");
        QTest::addColumn<QString>("confirmacao");
        QTest::addColumn<QString>("texto");
        const QString semAtual = QStringLiteral("Favor informar o código atual para continuar.");
        const QString semNovo = QStringLiteral("Favor informar o novo código para continuar.");
        const QString semConf = QStringLiteral("Favor confirmar o novo código para continuar.");
        QTest::newRow("tudo vazio") << false << ""
                                    << ""
                                    << "" << semAtual;
        QTest::newRow("atual em branco") << false << "  \t "
                                         << "x"
                                         << "x" << semAtual;
        QTest::newRow("emergencia vazia") << true << ""
                                          << "x"
                                          << "x" << semAtual;
        QTest::newRow("novo em branco") << false << "a"
                                        << "   "
                                        << "x" << semNovo;
        QTest::newRow("confirmacao em branco") << true << "a"
                                               << "x"
                                               << " " << semConf;
    }
    void camposVaziosNaoChamam() {
        QFETCH(bool, emergencia);
        QFETCH(QString, atual);
        QFETCH(QString, novo);
        QFETCH(QString, confirmacao);
        QFETCH(QString, texto);
        abrirPeloInicio();
        if (emergencia) QVERIFY(b->clicar(Janela::TrocarCodigo, "RdbCodigoEmergencia"));
        preencher(atual, novo, confirmacao);
        b->ctx().estado.setRespostaSAT("anterior");
        const int antes = falsa.chamadas();
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtEnviar"));
        QCOMPARE(falsa.chamadas(), antes);
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QCOMPARE(b->dialogos.ultima().titulo, QStringLiteral("Tivoro Tecnologia - SAT KT-470e"));
        QCOMPARE(b->dialogos.ultima().texto, texto);
        QCOMPARE(b->ctx().estado.RespostaSAT(), QString());
    }

    void enviaOsTextosComoDigitados_data() {
        QTest::addColumn<bool>("emergencia");
        QTest::newRow("codigo atual") << false;
        QTest::newRow("emergencia") << true;
    }
    void enviaOsTextosComoDigitados() {
        QFETCH(bool, emergencia);
        abrirPeloInicio();
        if (emergencia) QVERIFY(b->clicar(Janela::TrocarCodigo, "RdbCodigoEmergencia"));
        preencher(" atual 1 ", "novoç ", " outro");
        falsa.responder(
            "0|18001|C\xf3"
            "digos diferentes||");
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtEnviar"));
        // One draw, kept even when it is 0.
        QCOMPARE(falsa.inteiro(0), 0);
        QCOMPARE(falsa.argumento(1), QByteArray(" atual 1 "));
        QCOMPARE(falsa.inteiro(2), emergencia ? 2 : 1);
        QCOMPARE(falsa.argumento(3), QByteArray("novo\xe7 "));
        QCOMPARE(falsa.argumento(4), QByteArray(" outro"));
    }

    void quebraDeLinhaColadaNaoEntra() {
        enviarCodigosColados("NOVOCOD1\n", " NOVOCOD1\r\n");
        QCOMPARE(falsa.argumento(3), QByteArray("NOVOCOD1"));
        QCOMPARE(falsa.argumento(4), QByteArray(" NOVOCOD1"));
    }

    void codigoLongoColadoEntraInteiro() {
        const QString longo(40000, QLatin1Char('c'));
        enviarCodigosColados(longo, longo + 'd');
        QCOMPARE(falsa.argumento(3), longo.toLatin1());
        QCOMPARE(falsa.argumento(4), (longo + 'd').toLatin1());
    }

    void trocaAceita() {
        abrirPeloInicio();
        preencher("antigo", " novo-1 ", " novo-1 ");
        falsa.responder(
            "0|18000|C\xf3"
            "digo de ativa\xe7\xe3o alterado||");
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtEnviar"));
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Sessão: 0\r\nRetorno: 18000\r\nResposta: Código de "
                                "ativação alterado"));
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral(" novo-1 "));
        QCOMPARE(b->controle<QLineEdit>(Janela::CodAtivacao, "txtCodAtivacao")->text(), QString());
        // The next call anywhere sends the new code: here, the closing query.
        falsa.responder(DllSatFalsa::status("10000"));
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtCancelar"));
        QCOMPARE(falsa.argumento(1), QByteArray(" novo-1 "));
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->ctx().estado.ModoAtivacao(), 0);
    }

    void trocaRecusada_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::newRow("diferentes") << QByteArray(
            "0|18001|C\xf3"
            "digos diferentes||");
        QTest::newRow("sem campo 1") << QByteArray("0|18000");
        QTest::newRow("sem barra") << DllSatFalsa::PortaNaoPronta;
        // The device answered nothing: not a success either.
        QTest::newRow("vazia") << QByteArray("");
        QTest::newRow("nula") << QByteArray();
    }
    void trocaRecusada() {
        QFETCH(QByteArray, resposta);
        abrirPeloPrincipal();
        preencher("aceito-1", "novo", "nova");
        falsa.responder(resposta);
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtEnviar"));
        const QString texto = DllSatFalsa::comoChega(resposta);
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, "Sessão: " + ExtraiCampo(texto, 0) +
                                                 "\r\nRetorno: " + ExtraiCampo(texto, 1) +
                                                 "\r\nResposta: " + ExtraiCampo(texto, 2));
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral("aceito-1"));
        QCOMPARE(b->ctx().estado.RespostaSAT(), texto);
        QCOMPARE(b->ctx().estado.CampoB(), ExtraiCampo(texto, 1));
    }

    void seisDesfechos_data() {
        QTest::addColumn<bool>("peloInicio");
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<bool>("voltaAoInicio");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("modo");
        QTest::newRow("10001") << false << DllSatFalsa::status("10001") << true << "" << 0;
        QTest::newRow("10001 do inicio") << true << DllSatFalsa::status("10001") << true << "" << 1;
        QTest::newRow("10000 do inicio")
            << true << DllSatFalsa::status("10000") << false << "CONECTADO" << 0;
        QTest::newRow("08098 do inicio")
            << true << DllSatFalsa::status("08098") << false << "EM PROCESSAMENTO" << 1;
        QTest::newRow("sem porta do inicio")
            << true << DllSatFalsa::PortaNaoPronta << true << "" << 1;
        QTest::newRow("sem porta")
            << false << DllSatFalsa::PortaNaoPronta << false << "DESCONECTADO" << 0;
        QTest::newRow("outra do inicio")
            << true << DllSatFalsa::status("04003") << false << "DESCONHECIDO" << 1;
        QTest::newRow("vazia") << false << QByteArray() << false << "DESCONHECIDO" << 0;
    }
    void seisDesfechos() {
        QFETCH(bool, peloInicio);
        QFETCH(QByteArray, resposta);
        QFETCH(bool, voltaAoInicio);
        QFETCH(QString, status);
        QFETCH(int, modo);
        if (peloInicio)
            abrirPeloInicio();
        else
            abrirPeloPrincipal();
        b->ctx().estado.setStatusConexao("antes");
        falsa.responder(resposta);
        QVERIFY(b->clicar(Janela::TrocarCodigo, "BtCancelar"));
        QCOMPARE(falsa.argumento(1), peloInicio ? QByteArray() : QByteArray("aceito-1"));
        const QString texto = DllSatFalsa::comoChega(resposta);
        QCOMPARE(b->ctx().estado.RespostaSAT(), texto);
        QCOMPARE(b->ctx().estado.CampoA(), ExtraiCampo(texto, 1));
        QCOMPARE(b->ctx().estado.CampoB(), ExtraiCampo(texto, 19));
        QCOMPARE(b->ctx().estado.CampoC(), ExtraiCampo(texto, 18));
        QVERIFY(!trocar()->isVisible());
        QCOMPARE(b->janela(Janela::CodAtivacao)->isVisible(), voltaAoInicio);
        QCOMPARE(b->janela(Janela::Principal)->isVisible(), !voltaAoInicio);
        QCOMPARE(b->ctx().estado.ModoAtivacao(), modo);
        if (voltaAoInicio) {
            QCOMPARE(b->ctx().estado.StatusConexao(), QStringLiteral("antes"));
            return;
        }
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbStatusCom")->text(), status);
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbLayout")->text(),
                 "LAYOUT - " + ExtraiCampo(texto, 19));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbSatVersao")->text(),
                 "SAT - " + ExtraiCampo(texto, 18));
    }

    void fecharPelaBordaTambemDecide() {
        abrirPeloInicio();
        falsa.responder(DllSatFalsa::status("10001"));
        QVERIFY(trocar()->close());
        QVERIFY(b->janela(Janela::CodAtivacao)->isVisible());
    }
};

QTEST_MAIN(TstTrocarCodigo)
#include "tst_trocarcodigo.moc"
