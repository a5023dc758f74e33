#include <QLabel>
#include <QMutex>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QtTest>

#include "app/Aplicacao.h"
#include "core/Trabalhador.h"
#include "tests/apoio/DialogosTeste.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/RegistroHabilitacao.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

namespace {
// A box stays open until the test closes it, as a person would; only a
// worker may show one.
class DialogosAbertos : public PortaDialogos {
  public:
    void mensagem(Icone icone, const QString& texto) override {
        {
            QMutexLocker trava(&m_mutex);
            m_caixas.append({icone, QString::fromLatin1(TituloAplicacao), texto});
        }
        m_fechar.acquire();
    }
    QString abrirArquivo(const Arquivo&) override { return {}; }
    QString salvarArquivo(const Arquivo&) override { return {}; }
    void abrirEndereco(const QUrl&) override {}

    QList<DialogosTeste::Caixa> caixas() const {
        QMutexLocker trava(&m_mutex);
        return m_caixas;
    }
    void fechar() { m_fechar.release(); }
    // Closes whatever a failed test left open; no closing is kept for later.
    void fecharTudo() {
        while (Trabalhador::vivos() > 0) {
            m_fechar.release();
            QTest::qWait(10);
        }
        m_fechar.tryAcquire(m_fechar.available());
        QMutexLocker trava(&m_mutex);
        m_caixas.clear();
    }

  private:
    mutable QMutex m_mutex;
    QList<DialogosTeste::Caixa> m_caixas;
    QSemaphore m_fechar;
};

const char* const Botoes[] = {"BtSetupAutomatico",    "BtConfRede",      "BtAtivarSat",
                              "BtAssociarAssinatura", "BtTestFimAFim",   "BtAtualizarSat",
                              "BtTestesVCan",         "BtBloquearSat",   "BtDesbloquearSat",
                              "BtConsultas",          "BtTrocarCodAtiv", "BtConhecerSatTivoro"};
}  // namespace

// The software update from the main window: its buttons, its log lines, the
// reply box the worker waits for and the painted status.
class TstAtualizacao : public QObject {
    Q_OBJECT
    DllSatFalsa falsa{DLLSAT_TIVORO};
    DialogosAbertos dialogos;
    RelogioTeste relogio;
    std::unique_ptr<DllSat> dll;
    std::unique_ptr<Aplicacao> app;

    QWidget* principal() { return app->janela(Janela::Principal); }
    QPushButton* botao(const char* nome) {
        return principal()->findChild<QPushButton*>(QString::fromLatin1(nome));
    }
    QLabel* status() { return principal()->findChild<QLabel*>("LbStatusCom"); }
    QPlainTextEdit* log() { return principal()->findChild<QPlainTextEdit*>("RichEdit1"); }
    void clicar(const char* nome) {
        QPushButton* b = botao(nome);
        QVERIFY(b->isVisible() && b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Clicks "Atualizar Software Sat" and waits for its reply box: the
    // buttons are disabled all that time, only "Limpar" and "FECHAR" are not.
    void atualizarAteACaixa(RegistroHabilitacao& registro) {
        const QString statusAntes = status()->text();
        for (const char* nome : Botoes) registro.vigiar(botao(nome));
        clicar("BtAtualizarSat");
        QTRY_COMPARE(dialogos.caixas().size(), 1);
        QTest::qWait(20);
        for (const char* nome : Botoes) QVERIFY2(!botao(nome)->isEnabled(), nome);
        QVERIFY(botao("BtLimpar")->isEnabled());
        QVERIFY(botao("BtFechar")->isEnabled());
        QCOMPARE(status()->text(), statusAntes);
    }
    void fecharCaixa() {
        dialogos.fechar();
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QTRY_VERIFY(botao("BtConhecerSatTivoro")->isEnabled());
    }
    static QStringList desabilitadosEHabilitados() {
        QStringList esperado;
        for (const char* nome : Botoes) esperado << QStringLiteral("-") + nome;
        for (const char* nome : Botoes) esperado << QStringLiteral("+") + nome;
        return esperado;
    }

  private Q_SLOTS:
    void init() {
        falsa.responder("1|08000|SAT em opera\xe7\xe3o||");
        dll = DllSat::carregarDe(DLLSAT_TIVORO);
        app = std::make_unique<Aplicacao>(*dll, dialogos, relogio);
        app->contexto().setCodigoAtivacao("12345678");
        principal()->show();
        app->contexto().estado.setRespostaSAT("antiga");
    }
    void cleanup() {
        dialogos.fecharTudo();
        QCoreApplication::processEvents();
        app.reset();
        dll.reset();
    }

    void atualizadoComInformacao() {
        falsa.responder("313799|14000|Software atualizado com sucesso||");
        RegistroHabilitacao registro;
        atualizarAteACaixa(registro);
        QCOMPARE(falsa.inteiro(0), 313799);
        QCOMPARE(falsa.argumento(1), QByteArray("12345678"));
        const DialogosTeste::Caixa caixa = dialogos.caixas().constFirst();
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
        QCOMPARE(dialogos.caixas().constFirst().icone, Icone::Erro);
        QCOMPARE(dialogos.caixas().constFirst().texto, texto);
        falsa.responder("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE");
        fecharCaixa();
        QCOMPARE(registro.eventos, desabilitadosEHabilitados());
        QCOMPARE(app->contexto().estado.StatusConexao(), StatusDesconectado);
        QTRY_COMPARE(status()->text(), StatusDesconectado);
        QCOMPARE(status()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(app->contexto().estado.RespostaSAT(), TextoPortaNaoPronta);
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
