#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "core/Trabalhador.h"
#include "shell/TFormPrincipal.h"
#include "signature/TFormAssociarAssinatura.h"
#include "signature/funcoes.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

namespace {
const char* const BotoesAssociado[] = {"BtAtualizarSat", "BtTestesVCan",  "BtTrocarCodAtiv",
                                       "BtTestFimAFim",  "BtBloquearSat", "BtDesbloquearSat"};

}  // namespace

// The associate-signature window and its worker, against a stand-in library
// whose replies the test sets; generation against the real openssl.
class TstAssociar : public TesteFalso {
    Q_OBJECT
    QTemporaryDir certificados;

    QWidget* janela() { return b->janela(Janela::AssociarAssinatura); }
    QLineEdit* campo(const char* nome) {
        return b->controle<QLineEdit>(Janela::AssociarAssinatura, nome);
    }
    QPlainTextEdit* memo() {
        return b->controle<QPlainTextEdit>(Janela::AssociarAssinatura, "MemoSignac");
    }
    QPlainTextEdit* log() {
        return b->controle<QPlainTextEdit>(Janela::AssociarAssinatura, "RichEdit1");
    }
    QPushButton* principal(const char* nome) {
        return b->controle<QPushButton>(Janela::Principal, nome);
    }
    bool clicar(const char* botao) { return b->clicar(Janela::AssociarAssinatura, botao); }

    void preencher() {
        campo("MskEdCNPJContr")->setText("61099008000141");
        campo("MskEdCNPJSwHouse")->setText("11222333000181");
        memo()->setPlainText("QUJD ==");
    }
    void esperarTrabalhadores() {
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCoreApplication::processEvents();
    }
    QStringList linhas() { return log()->toPlainText().split('\n'); }
    QString semDataHora(const QString& linha) { return linha.section("] ", 1); }

    void preparar() override {
        b->ctx().setCodigoAtivacao("12345678");
        b->ctx().mostrar(Janela::Principal);
        QVERIFY(b->clicar(Janela::Principal, "BtAssociarAssinatura"));
        QVERIFY(janela()->isVisible());
    }

  private Q_SLOTS:
    void initTestCase() {
        // The one shipped beside the program first (on Windows, the only one).
        QString openssl =
            QStandardPaths::findExecutable("openssl", {QCoreApplication::applicationDirPath()});
        if (openssl.isEmpty()) openssl = QStandardPaths::findExecutable("openssl");
        QVERIFY(!openssl.isEmpty());
        // A configuration of its own: the shipped openssl.exe has none.
        QFile conf(certificados.filePath("req.cnf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[req]\ndistinguished_name = dn\n[dn]\n");
        conf.close();
        QProcess p;
        p.setWorkingDirectory(certificados.path());
        p.start(openssl, {"req", "-config", "req.cnf", "-x509", "-newkey", "rsa:2048", "-nodes",
                          "-keyout", "k.pem", "-out", "c.pem", "-subj", "/CN=Teste", "-days", "2"});
        QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
        p.start(openssl, {"pkcs12", "-export", "-in", "c.pem", "-inkey", "k.pem", "-out",
                          "cert.pfx", "-passout", "pass:segredo"});
        QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
    }

    void abrirEFechar() {
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
        QCOMPARE(janela()->height(), 166);
        // The log lies below the first height and within the one after a send.
        QVERIFY(log()->geometry().top() >= 167);
        QVERIFY(log()->geometry().bottom() < 292);
        QTRY_VERIFY(campo("MskEdCNPJContr")->hasFocus());
        preencher();
        campo("EdCertificado")->setText("/x/cert.pfx");
        campo("Edit1")->setText("segredo");
        log()->setPlainText("antigo");
        const int antes = falsa.chamadas();
        QVERIFY(clicar("BtCancelar"));
        QVERIFY(!janela()->isVisible());
        QCOMPARE(janela()->height(), 167);
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        // The status refresh, without painting.
        QCOMPARE(falsa.chamadas(), antes + 1);
        QCOMPARE(falsa.inteiro(0), SessaoStatus);
        QCOMPARE(b->ctx().estado.StatusConexao(), StatusConectado);
        // Opening again empties the memo and the log and keeps the rest.
        QVERIFY(b->clicar(Janela::Principal, "BtAssociarAssinatura"));
        QCOMPARE(memo()->toPlainText(), QString());
        QCOMPARE(log()->toPlainText(), QString());
        QCOMPARE(campo("MskEdCNPJSwHouse")->displayText(), QStringLiteral("11.222.333/0001-81"));
        QCOMPARE(campo("EdCertificado")->text(), QStringLiteral("/x/cert.pfx"));
        QCOMPARE(campo("Edit1")->text(), QStringLiteral("segredo"));
        QCOMPARE(campo("Edit1")->echoMode(), QLineEdit::Password);
    }

    void enviarRecusaNaOrdem_data() {
        QTest::addColumn<int>("primeiro");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("codigo") << 0 << QStringLiteral("SAT ainda não ativado!");
        QTest::newRow("contribuinte") << 1 << QStringLiteral("Informe o CNPJ do contribuinte");
        QTest::newRow("software house") << 2 << QStringLiteral("Informe o CNPJ da Software House");
        QTest::newRow("assinatura")
            << 3 << QStringLiteral("Preencha o campo da Assinatura do Aplicativo Comercial");
    }
    // The first empty one is reported, whatever follows it.
    void enviarRecusaNaOrdem() {
        QFETCH(int, primeiro);
        QFETCH(QString, mensagem);
        preencher();
        if (primeiro <= 0) b->ctx().setCodigoAtivacao(QString());
        if (primeiro <= 1) campo("MskEdCNPJContr")->clear();
        if (primeiro <= 2) campo("MskEdCNPJSwHouse")->clear();
        memo()->clear();
        if (primeiro > 3) memo()->setPlainText("x");
        const int antes = falsa.chamadas();
        QVERIFY(clicar("btEnviar"));
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, mensagem);
        esperarTrabalhadores();
        QCOMPARE(falsa.chamadas(), antes);
        QCOMPARE(janela()->height(), 166);
        QCOMPARE(log()->toPlainText(), QString());
    }

    void enviarAssociaEHabilitaBotoes_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<bool>("habilita");
        QTest::newRow("13000") << QByteArray("7|13000|Assinatura do AC Registrada||") << true;
        QTest::newRow("13002") << QByteArray("7|13002|Erro na Assinatura||") << false;
        QTest::newRow("13000 sem barra") << QByteArray("7|13000") << false;
        QTest::newRow("porta") << QByteArray("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE")
                               << false;
    }
    void enviarAssociaEHabilitaBotoes() {
        QFETCH(QByteArray, resposta);
        QFETCH(bool, habilita);
        b->app->principal().habilitar(
            {"BtAtualizarSat", "BtTestesVCan", "BtTrocarCodAtiv", "BtTestFimAFim", "BtBloquearSat",
             "BtDesbloquearSat", "BtConsultas"},
            false);
        // Partly filled numbers and a memo of blanks are sent as they are.
        campo("MskEdCNPJContr")->setText("6109");
        campo("MskEdCNPJSwHouse")->setText("11222333000181");
        memo()->setPlainText("  ");
        falsa.responder(resposta.constData());
        QVERIFY(clicar("btEnviar"));
        QCOMPARE(janela()->height(), 292);
        esperarTrabalhadores();
        QVERIFY(b->dialogos.caixas().isEmpty());
        const int sessao = falsa.inteiro(0);
        QCOMPARE(falsa.argumento(1), QByteArray("12345678"));
        QCOMPARE(falsa.argumento(2), QByteArray("112223330001816109"));
        QCOMPARE(falsa.argumento(3), QByteArray("  "));
        const QStringList l = linhas();
        QCOMPARE(l.size(), 3);
        QVERIFY(l[0].startsWith('['));
        QCOMPARE(semDataHora(l[0]),
                 QStringLiteral("ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
        QCOMPARE(semDataHora(l[1]), "[TX] AssociarAssinatura(" + QString::number(sessao) +
                                        ",12345678,112223330001816109,  )");
        QCOMPARE(semDataHora(l[2]), "[RX] " + DllSat::deWin1252(resposta));
        QCOMPARE(CorDaLinha(log(), 0), CorPreta);
        QCOMPARE(CorDaLinha(log(), 1), CorTX);
        QCOMPARE(CorDaLinha(log(), 2), CorRX);
        QCOMPARE(b->ctx().estado.RespostaSAT(), DllSat::deWin1252(resposta));
        for (const char* nome : BotoesAssociado) QCOMPARE(principal(nome)->isEnabled(), habilita);
        QVERIFY(!principal("BtConsultas")->isEnabled());
    }

    void variosEnviosAoMesmoTempo() {
        preencher();
        falsa.responder("7|13000|ok||");
        falsa.demora(300);
        const int antes = falsa.chamadas();
        QVERIFY(clicar("btEnviar"));
        QVERIFY(clicar("btEnviar"));
        esperarTrabalhadores();
        // One call at a time: the second gets the device's busy reply without
        // reaching the library.
        QCOMPARE(falsa.chamadas(), antes + 1);
        const QStringList l = linhas();
        QCOMPARE(l.size(), 6);
        QCOMPARE(l.filter("|13098|0000|SAT em processamento. Tente novamente.||").size(), 1);
        QStringList tx = l.filter("[TX] AssociarAssinatura(");
        QCOMPARE(tx.size(), 2);
        QVERIFY(tx[0].section('(', 1).section(',', 0, 0) !=
                tx[1].section('(', 1).section(',', 0, 0));
    }

    void certificadoEscolhido() {
        b->dialogos.responderArquivo("/certs/empresa.pfx");
        QVERIFY(clicar("btCertificado"));
        QCOMPARE(campo("EdCertificado")->text(), QStringLiteral("/certs/empresa.pfx"));
        const PortaDialogos::Arquivo d = b->dialogos.dialogosArquivo().constLast();
        QCOMPARE(d.titulo, QStringLiteral("Carregar Certificado..."));
        QCOMPARE(d.filtro, QStringLiteral("p12 (*.p12);;pfx (*.pfx)"));
        QCOMPARE(d.extensao, QStringLiteral("p12"));
        QCOMPARE(d.pasta, QDir::currentPath());
        // Cancelled: nothing changes.
        QVERIFY(clicar("btCertificado"));
        QCOMPARE(campo("EdCertificado")->text(), QStringLiteral("/certs/empresa.pfx"));
    }

    void gerarPedeTodosOsCampos_data() {
        QTest::addColumn<QString>("vazio");
        QTest::newRow("certificado") << "EdCertificado";
        QTest::newRow("senha") << "Edit1";
        QTest::newRow("contribuinte") << "MskEdCNPJContr";
        QTest::newRow("software house") << "MskEdCNPJSwHouse";
    }
    void gerarPedeTodosOsCampos() {
        preencher();
        campo("EdCertificado")->setText(certificados.filePath("cert.pfx"));
        campo("Edit1")->setText("segredo");
        QFETCH(QString, vazio);
        campo(qPrintable(vazio))->setText(" ");
        memo()->setPlainText("anterior");
        QVERIFY(clicar("Button1"));
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Favor informar os campos de CNPJs, certificado e senha!"));
        QCOMPARE(memo()->toPlainText(), QStringLiteral("anterior"));
    }

    void gerarPoeAAssinaturaNoMemo() {
        preencher();
        campo("EdCertificado")->setText(certificados.filePath("cert.pfx"));
        campo("Edit1")->setText("segredo");
        QVERIFY(clicar("Button1"));
        QVERIFY(b->dialogos.caixas().isEmpty());
        const QString assinatura = memo()->toPlainText();
        QCOMPARE(assinatura.size(), 344);
        QVERIFY(!assinatura.contains(' '));
        QVERIFY(!QByteArray::fromBase64(assinatura.toLatin1()).isEmpty());
        QCOMPARE(b->ctx().estado.RespostaSAT(), assinatura);
        // Sent as generated.
        falsa.responder("7|13000|ok||");
        QVERIFY(clicar("btEnviar"));
        esperarTrabalhadores();
        QCOMPARE(falsa.argumento(3), assinatura.toLatin1());
        QCOMPARE(falsa.argumento(2), QByteArray("1122233300018161099008000141"));
    }

    void gerarComFalhaMostraOQueOOpensslDisse_data() {
        QTest::addColumn<QString>("certificado");
        QTest::addColumn<QString>("senha");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("senha") << "cert.pfx"
                               << "errada" << QStringLiteral("Senha invalida!");
        QTest::newRow("certificado") << "outro.pfx"
                                     << "segredo" << QStringLiteral("Certificado não encontrado!");
    }
    void gerarComFalhaMostraOQueOOpensslDisse() {
        QFETCH(QString, certificado);
        QFETCH(QString, senha);
        QFETCH(QString, mensagem);
        preencher();
        campo("EdCertificado")->setText(certificados.filePath(certificado));
        campo("Edit1")->setText(senha);
        QVERIFY(clicar("Button1"));
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, mensagem);
        const QString texto = memo()->toPlainText();
        QVERIFY(!texto.contains(' '));
        QVERIFY(texto.contains(senha == QLatin1String("errada") ? "Macverifyerror"
                                                                : "Erroropeninginputfile"));
        QCOMPARE(b->ctx().estado.RespostaSAT(), texto);
    }

    // Tab leaves the memo and the log instead of typing into them.
    void ordemDeTabulacao() {
        QWidget* w = campo("MskEdCNPJContr");
        w->setFocus();
        QStringList ordem{w->objectName()};
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(janela()->focusWidget(), Qt::Key_Tab);
            ordem << janela()->focusWidget()->objectName();
        }
        QCOMPARE(ordem, QStringList({"MskEdCNPJContr", "MskEdCNPJSwHouse", "MemoSignac",
                                     "BtCancelar", "btEnviar", "RichEdit1", "EdCertificado",
                                     "btCertificado", "Edit1", "Button1"}));
        QCOMPARE(memo()->toPlainText(), QString());
        QCOMPARE(log()->toPlainText(), QString());
    }
};

QTEST_MAIN(TstAssociar)
#include "tst_associar.moc"
