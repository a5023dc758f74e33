#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "app/Aplicacao.h"
#include "core/Trabalhador.h"
#include "tests/apoio/DialogosTeste.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/RegistroHabilitacao.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

namespace {
const char* const Botoes[] = {"BtSetupAutomatico",    "BtConfRede",      "BtAtivarSat",
                              "BtAssociarAssinatura", "BtTestFimAFim",   "BtAtualizarSat",
                              "BtTestesVCan",         "BtBloquearSat",   "BtDesbloquearSat",
                              "BtConsultas",          "BtTrocarCodAtiv", "BtConhecerSatTivoro"};
}  // namespace

// The software update from the main window: its buttons, its log lines, the
// reply box the worker waits for and the painted status.
class TstAtualizacao : public TesteFalso {
    Q_OBJECT

    QPushButton* botao(const char* nome) {
        return b->controle<QPushButton>(Janela::Principal, nome);
    }
    QLabel* status() { return b->controle<QLabel>(Janela::Principal, "LbStatusCom"); }
    QPlainTextEdit* log() { return b->controle<QPlainTextEdit>(Janela::Principal, "RichEdit1"); }
    void clicar(const char* nome) { QVERIFY(b->clicar(Janela::Principal, nome)); }

    // Clicks "Atualizar Software Sat" and waits for its reply box: the
    // buttons are disabled all that time, only "Limpar" and "FECHAR" are not.
    void atualizarAteACaixa(RegistroHabilitacao& registro) {
        const QString statusAntes = status()->text();
        for (const char* nome : Botoes) registro.vigiar(botao(nome));
        clicar("BtAtualizarSat");
        QTRY_COMPARE(b->dialogos.caixas().size(), 1);
        QTest::qWait(20);
        for (const char* nome : Botoes) QVERIFY2(!botao(nome)->isEnabled(), nome);
        QVERIFY(botao("BtLimpar")->isEnabled());
        QVERIFY(botao("BtFechar")->isEnabled());
        QCOMPARE(status()->text(), statusAntes);
    }
    void fecharCaixa() {
        b->dialogos.fechar();
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QTRY_VERIFY(botao("BtConhecerSatTivoro")->isEnabled());
    }
    static QStringList desabilitadosEHabilitados() {
        QStringList esperado;
        for (const char* nome : Botoes) esperado << QStringLiteral("-") + nome;
        for (const char* nome : Botoes) esperado << QStringLiteral("+") + nome;
        return esperado;
    }

    void preparar() override {
        b->dialogos.segurarCaixas();
        b->abrirPrincipal("12345678");
        b->ctx().estado.setRespostaSAT("antiga");
    }
    // Closes whatever a failed test left open.
    void encerrar() override {
        while (Trabalhador::vivos() > 0) {
            b->dialogos.fechar();
            QTest::qWait(10);
        }
    }

  private Q_SLOTS:
    void atualizadoComInformacao() {
        falsa.responder("313799|14000|Software atualizado com sucesso||");
        RegistroHabilitacao registro;
        atualizarAteACaixa(registro);
        QCOMPARE(falsa.inteiro(0), 313799);
        QCOMPARE(falsa.argumento(1), QByteArray("12345678"));
        const DialogosTeste::Caixa caixa = b->dialogos.caixas().constFirst();
        QCOMPARE(caixa.icone, Icone::Informacao);
        QCOMPARE(caixa.texto, QStringLiteral("Sessão: 313799\r\nRetorno: 14000\r\n"
                                             "Resposta: Software atualizado com sucesso"));
        QTRY_COMPARE(log()->document()->blockCount(), 2);
        const QStringList linhas = log()->toPlainText().split('\n');
        QVERIFY(linhas[0].startsWith('['));
        QVERIFY(linhas[0].endsWith("] [TX] AtualizarSoftwareSAT(313799,12345678)"));
        QVERIFY(linhas[1].endsWith("] [RX] 313799|14000|Software atualizado com sucesso||"));

        falsa.responder("1234567|08000|SAT em opera\xe7\xe3o||");
        fecharCaixa();
        QCOMPARE(registro.eventos, desabilitadosEHabilitados());
        QCOMPARE(falsa.inteiro(0), SessaoStatus);
        QTRY_COMPARE(status()->text(), StatusConectado);
        QCOMPARE(status()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        // The status query is not logged.
        QCOMPARE(log()->document()->blockCount(), 2);
    }

    void recusadoComErroEDesconectado_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<QString>("texto");
        QTest::newRow("recusa") << QByteArray(
                                       "313799|14001|C\xf3"
                                       "digo de ativa\xe7\xe3o inv\xe1lido||")
                                << QStringLiteral(
                                       "Sessão: 313799\r\nRetorno: 14001\r\nResposta: "
                                       "Código de ativação inválido");
        QTest::newRow("desconectado")
            << QByteArray("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE")
            << QStringLiteral("Sessão: \r\nRetorno: \r\nResposta: ");
    }
    void recusadoComErroEDesconectado() {
        QFETCH(QByteArray, resposta);
        QFETCH(QString, texto);
        falsa.responder(resposta);
        RegistroHabilitacao registro;
        atualizarAteACaixa(registro);
        QCOMPARE(b->dialogos.caixas().constFirst().icone, Icone::Erro);
        QCOMPARE(b->dialogos.caixas().constFirst().texto, texto);
        falsa.responder("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE");
        fecharCaixa();
        QCOMPARE(registro.eventos, desabilitadosEHabilitados());
        QCOMPARE(b->ctx().estado.StatusConexao(), StatusDesconectado);
        QTRY_COMPARE(status()->text(), StatusDesconectado);
        QCOMPARE(status()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(b->ctx().estado.RespostaSAT(), TextoPortaNaoPronta);
    }

    void limparDuranteACaixa() {
        falsa.responder("313799|14000|ok||");
        RegistroHabilitacao registro;
        atualizarAteACaixa(registro);
        QTRY_COMPARE(log()->document()->blockCount(), 2);
        clicar("BtLimpar");
        QVERIFY(log()->document()->isEmpty());
        fecharCaixa();
        QVERIFY(log()->document()->isEmpty());
    }
};

QTEST_MAIN(TstAtualizacao)
#include "tst_atualizacao.moc"
