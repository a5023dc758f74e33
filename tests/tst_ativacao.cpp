#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QtTest>

#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "operations/TFormAtivarSat.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/CampoMascara.h"

// The activation window and its worker, against a stand-in library whose
// replies the test sets.
class TstAtivacao : public TesteFalso {
    Q_OBJECT

    template <typename T>
    T* em(const char* nome) {
        return b->controle<T>(Janela::AtivarSat, nome);
    }
    QWidget* ativar() { return b->janela(Janela::AtivarSat); }
    QPlainTextEdit* log() { return em<QPlainTextEdit>("RichEdit1"); }
    QPushButton* menu(const char* nome) {
        return b->controle<QPushButton>(Janela::Principal, nome);
    }
    QStringList linhas() { return log()->toPlainText().split('\n'); }

    // From the start window in activation mode, as a new device needs.
    void abrir() {
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtSatNaoAtivado"));
        QVERIFY(b->clicar(Janela::Principal, "BtAtivarSat"));
        QVERIFY(ativar()->isVisible());
    }
    void enviar(const QByteArray& resposta) {
        falsa.responder(resposta);
        QVERIFY(b->clicar(Janela::AtivarSat, "BtEnviar"));
        esperarTrabalhador();
    }
    void esperarTrabalhador() {
        // "Enviar" comes back last, after every line the worker handed over.
        QTRY_VERIFY(em<QPushButton>("BtEnviar")->isEnabled());
        QTRY_COMPARE(Trabalhador::vivos(), 0);
    }
    void preencher(const QString& cnpj, const QString& codigo) {
        em<QLineEdit>("MskEdCNPJContr")->setText(cnpj);
        em<QLineEdit>("EdCodAtivacao")->setText(codigo);
    }

    void preparar() override { b->janela(Janela::CodAtivacao)->show(); }

  private Q_SLOTS:
    void abreComSeusPadroes() {
        abrir();
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
        QCOMPARE(ativar()->windowTitle(), QStringLiteral("TOOL SAT Tivoro - Ativar SAT"));
        QCOMPARE(ativar()->size(), QSize(455, 150));
        QCOMPARE(em<QComboBox>("CBoxUF")->currentText(), QStringLiteral("SP"));
        QCOMPARE(em<QComboBox>("CBoxUF")->count(), 27);
        QVERIFY(!em<QGroupBox>("GroupBox1")->isEnabled());
        QVERIFY(em<QRadioButton>("RdbAcSatSefaz")->isChecked());
        for (const char* nome : {"RdbAcSatSefaz", "RdbICPBrasil", "RdbRenovarICPBrasil"})
            QVERIFY2(!em<QRadioButton>(nome)->isEnabled(), nome);
        QVERIFY(log()->document()->isEmpty());
        QTRY_VERIFY(em<QLineEdit>("MskEdCNPJContr")->hasFocus());
        QCOMPARE(em<QLineEdit>("MskEdCNPJContr")->cursorPosition(), 0);
        // The log lies below the visible area until the first "Enviar".
        QVERIFY(log()->geometry().top() >= 150);
        QVERIFY(em<QPushButton>("BtEnviar")->geometry().bottom() < 150);
    }

    void codigoDaUF_data() {
        QTest::addColumn<QString>("escolha");
        QTest::addColumn<bool>("digitada");
        QTest::addColumn<int>("codigo");
        QTest::newRow("SP de partida") << "" << false << 35;
        QTest::newRow("DF") << "DF" << false << 53;
        QTest::newRow("AC") << "AC" << false << 12;
        QTest::newRow("TO") << "TO" << false << 17;
        QTest::newRow("nenhuma") << "XX" << true << 35;
        QTest::newRow("digitada df") << "df" << true << 53;
    }
    void codigoDaUF() {
        QFETCH(QString, escolha);
        QFETCH(bool, digitada);
        QFETCH(int, codigo);
        abrir();
        auto* uf = em<QComboBox>("CBoxUF");
        if (digitada) {
            uf->lineEdit()->selectAll();
            QTest::keyClicks(uf->lineEdit(), escolha);
            QCOMPARE(uf->currentText(), escolha.toUpper());
        } else if (!escolha.isEmpty()) {
            uf->setCurrentIndex(uf->findText(escolha));
        }
        preencher("12345678000195", "12345678");
        enviar("313799|04001|Erro||");
        QCOMPARE(falsa.inteiro(4), codigo);
        QVERIFY(linhas().value(1).endsWith(',' + QString::number(codigo) + ')'));
    }

    void linhasDoLog() {
        abrir();
        preencher("12.345.678/0001-95", "  código 1 ");
        enviar("313799|04000|Ativado com sucesso||");
        const QStringList l = linhas();
        QCOMPARE(l.size(), 3);
        // The first line after opening brings no line break of its own.
        QVERIFY(log()->toPlainText().startsWith('['));
        QVERIFY(l[0].endsWith("] ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
        QVERIFY(l[1].endsWith(
            QStringLiteral("] [TX] AtivarSAT(313799,1,  código 1 ,12345678000195,35)")));
        QVERIFY(l[2].endsWith("] [RX] 313799|04000|Ativado com sucesso||"));
        QCOMPARE(CorDaLinha(log(), 0), QColor(0, 0, 0));
        QCOMPARE(CorDaLinha(log(), 1), QColor(0, 128, 0));
        QCOMPARE(CorDaLinha(log(), 2), QColor(0, 0, 255));
        QCOMPARE(falsa.inteiro(0), 313799);
        QCOMPARE(falsa.inteiro(1), 1);
        QCOMPARE(falsa.argumento(2), QByteArray("  c\xf3"
                                                "digo 1 "));
        QCOMPARE(falsa.argumento(3), QByteArray("12345678000195"));
        QCOMPARE(ativar()->size(), QSize(455, 269));
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void camposIncompletosVaoComoEstao() {
        abrir();
        em<QLineEdit>("MskEdCNPJContr")->setText("1234");
        enviar("313799|04006|CNPJ inv\xe1lido||");
        QCOMPARE(falsa.argumento(3), QByteArray("1234"));
        QCOMPARE(falsa.argumento(2), QByteArray());
        QVERIFY(linhas().value(1).endsWith("] [TX] AtivarSAT(313799,1,,1234,35)"));
    }

    void resultadoDaAtivacao_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<bool>("ativado");
        QTest::newRow("04000") << QByteArray("313799|04000|Ativado||") << true;
        QTest::newRow("04003") << QByteArray("313799|04003|SAT j\xe1 ativado||") << false;
        QTest::newRow("sem campo 1") << QByteArray("313799|04000") << false;
        QTest::newRow("nula") << QByteArray() << false;
        QTest::newRow("sem barra") << DllSatFalsa::PortaNaoPronta << false;
    }
    void resultadoDaAtivacao() {
        QFETCH(QByteArray, resposta);
        QFETCH(bool, ativado);
        b->ctx().setCodigoAtivacao("anterior");
        abrir();
        preencher("12345678000195", "novo-codigo");
        enviar(resposta);
        QCOMPARE(b->ctx().CodigoAtivacao(),
                 ativado ? QStringLiteral("novo-codigo") : QStringLiteral("anterior"));
        QCOMPARE(menu("BtAssociarAssinatura")->isEnabled(), ativado);
        QCOMPARE(menu("BtTestFimAFim")->isEnabled(), ativado);
        // Only these two: the others stay as activation mode left them.
        QVERIFY(!menu("BtAtualizarSat")->isEnabled());
        QVERIFY(!menu("BtBloquearSat")->isEnabled());
        QCOMPARE(b->ctx().estado.RespostaSAT(), DllSatFalsa::comoChega(resposta));
        QCOMPARE(b->ctx().estado.CampoB(), ExtraiCampo(DllSatFalsa::comoChega(resposta), 1));
        QVERIFY(linhas().last().endsWith("] [RX] " + DllSatFalsa::comoChega(resposta)));
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void enviarRecusadoDuranteAExecucao() {
        abrir();
        preencher("12345678000195", "12345678");
        falsa.responder("313799|04000|Ativado||");
        falsa.demora(1500);
        const int antes = falsa.chamadas();
        QVERIFY(b->clicar(Janela::AtivarSat, "BtEnviar"));
        QVERIFY(!b->clicar(Janela::AtivarSat, "BtEnviar"));
        // Closing stays possible while the device works; it queries the status
        // with the code in use, which the busy library does not take, and
        // brings the main window back.
        QTRY_COMPARE(falsa.chamadas() - antes, 1);
        falsa.demora(0);
        QVERIFY(b->clicar(Janela::AtivarSat, "BtCancelar"));
        QVERIFY(!ativar()->isVisible());
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(ativar()->size(), QSize(455, 150));
        // Reopened before the device answers: still one activation at a time.
        QVERIFY(b->clicar(Janela::Principal, "BtAtivarSat"));
        QVERIFY(!em<QPushButton>("BtEnviar")->isEnabled());
        esperarTrabalhador();
        QCOMPARE(falsa.chamadas() - antes, 1);
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral("12345678"));
        QVERIFY(menu("BtAssociarAssinatura")->isEnabled());
        QVERIFY(b->clicar(Janela::AtivarSat, "BtEnviar"));
        esperarTrabalhador();
        QCOMPARE(falsa.chamadas() - antes, 2);
    }

    void aoFechar_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<bool>("inicio");
        QTest::addColumn<QString>("status");
        QTest::newRow("10001") << DllSatFalsa::status("10001") << true << "";
        QTest::newRow("10000") << DllSatFalsa::status("10000") << false << "CONECTADO";
        QTest::newRow("08098") << DllSatFalsa::status("08098") << false << "EM PROCESSAMENTO";
        // In activation mode too: this window has no way back to the start here.
        QTest::newRow("sem porta") << DllSatFalsa::PortaNaoPronta << false << "DESCONECTADO";
        QTest::newRow("outra") << DllSatFalsa::status("06001") << false << "DESCONHECIDO";
        QTest::newRow("vazia") << QByteArray("") << false << "DESCONHECIDO";
    }
    void aoFechar() {
        QFETCH(QByteArray, resposta);
        QFETCH(bool, inicio);
        QFETCH(QString, status);
        abrir();
        b->ctx().estado.setStatusConexao("antes");
        b->ctx().setCodigoAtivacao("em uso");
        falsa.responder(resposta);
        QVERIFY(b->clicar(Janela::AtivarSat, "BtCancelar"));
        // One draw, kept even when it is 0.
        QCOMPARE(falsa.inteiro(0), 0);
        QCOMPARE(falsa.argumento(1), QByteArray("em uso"));
        const QString texto = DllSatFalsa::comoChega(resposta);
        QCOMPARE(b->ctx().estado.RespostaSAT(), texto);
        QCOMPARE(b->ctx().estado.CampoA(), ExtraiCampo(texto, 1));
        QCOMPARE(b->ctx().estado.CampoB(), ExtraiCampo(texto, 19));
        QCOMPARE(b->ctx().estado.CampoC(), ExtraiCampo(texto, 18));
        QVERIFY(!ativar()->isVisible());
        QCOMPARE(b->janela(Janela::CodAtivacao)->isVisible(), inicio);
        QCOMPARE(b->janela(Janela::Principal)->isVisible(), !inicio);
        if (inicio) {
            QCOMPARE(b->ctx().estado.StatusConexao(), QStringLiteral("antes"));
            return;
        }
        QCOMPARE(b->ctx().estado.StatusConexao(), status);
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbStatusCom")->text(), status);
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbLayout")->text(),
                 "LAYOUT - " + ExtraiCampo(texto, 19));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbSatVersao")->text(),
                 "SAT - " + ExtraiCampo(texto, 18));
    }

    void fecharAposAtivarUsaONovoCodigo() {
        abrir();
        preencher("12345678000195", "codigo-novo");
        enviar("313799|04000|Ativado||");
        falsa.responder(DllSatFalsa::status("10000"));
        QVERIFY(b->clicar(Janela::AtivarSat, "BtCancelar"));
        QCOMPARE(falsa.argumento(1), QByteArray("codigo-novo"));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbStatusCom")->text(),
                 QStringLiteral("CONECTADO"));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbLayout")->text(),
                 QStringLiteral("LAYOUT - 00.07"));
        QCOMPARE(b->ctx().estado.VersaoSAT(), QStringLiteral("01.00.00"));
    }

    void reabrirVoltaAoPadrao() {
        abrir();
        preencher("12345678000195", "12345678");
        em<QComboBox>("CBoxUF")->setCurrentIndex(6);
        enviar("313799|04003|SAT j\xe1 ativado||");
        falsa.responder(DllSatFalsa::status("10000"));
        QVERIFY(b->clicar(Janela::AtivarSat, "BtCancelar"));
        QVERIFY(b->clicar(Janela::Principal, "BtAtivarSat"));
        QCOMPARE(ativar()->size(), QSize(455, 150));
        QVERIFY(log()->document()->isEmpty());
        QCOMPARE(em<QComboBox>("CBoxUF")->currentText(), QStringLiteral("SP"));
        QCOMPARE(em<QLineEdit>("EdCodAtivacao")->text(), QStringLiteral("12345678"));
        QCOMPARE(valorCNPJ(em<QLineEdit>("MskEdCNPJContr")), QStringLiteral("12345678000195"));
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
    }
};

QTEST_MAIN(TstAtivacao)
#include "tst_ativacao.moc"
