#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include "core/Respostas.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DispositivoEmulado.h"
#include "tests/apoio/TesteJanelas.h"
#include "transactions/DocumentosTeste.h"
#include "transactions/TFormTesteVendaCanc.h"
#include "ui/Contexto.h"
#include "ui/Sessao.h"

namespace {
const QString SignAC = QStringLiteral("SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT");
}

// The end-to-end test and the test sales against the emulated device, each
// test on an activated device of its own, associated with the default
// parameters' signature.
class TstTransacoesEmulador : public TesteEmulado {
    Q_OBJECT

    QPlainTextEdit* logVenda() {
        return b->controle<QPlainTextEdit>(Janela::TesteVendaCanc, "RichEdit1");
    }
    TFormTesteVendaCanc* vendas() {
        return static_cast<TFormTesteVendaCanc*>(b->janela(Janela::TesteVendaCanc));
    }
    // Clicks, answering the parameters window with "Enviar" if it is shown.
    void clicar(Janela j, const char* botao) {
        QTimer::singleShot(0, this, [this] {
            if (QApplication::activeModalWidget() == b->janela(Janela::TesteFimaFim))
                b->clicar(Janela::TesteFimaFim, "BtEnviar");
        });
        QVERIFY(b->clicar(j, botao));
        QCoreApplication::processEvents();
    }
    // Return code of the last reply line of the sale window's log.
    QString ultimoRetorno() {
        const QString linha = logVenda()->document()->lastBlock().text();
        return ExtraiCampo(linha.mid(linha.indexOf(QLatin1String("[RX] ")) + 5), 1);
    }
    void marcar(const char* nome) { QVERIFY(b->marcar(Janela::TesteVendaCanc, nome)); }

    void preparar() override {
        dispositivo->ativado("12345678", "12345678000195", 35, stexto(SignAC));
        b->abrirPrincipal("12345678");
    }

  private Q_SLOTS:
    void fimAFimComOsPadroesAceito() {
        clicar(Janela::Principal, "BtTestFimAFim");
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QVERIFY2(b->dialogos.ultima().texto.contains(QStringLiteral("Retorno: 09000")),
                 qPrintable(b->dialogos.ultima().texto));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbStatusCom")->text(), StatusConectado);
    }

    void vendaPadraoDepoisSeuCancelamento() {
        QVERIFY(b->clicar(Janela::Principal, "BtTestesVCan"));
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao");
        QCOMPARE(ultimoRetorno(), QStringLiteral("06000"));
        const QString chave = vendas()->chaveVenda();
        QCOMPARE(chave.size(), 47);
        QCOMPARE(qtexto(dispositivo->estado().ultimaChave), chave);

        marcar("RdbXMLCanc");
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao");
        QCOMPARE(ultimoRetorno(), QStringLiteral("07000"));
        QVERIFY(dispositivo->estado().ultimaChave.empty());
        // The same key again: the device has it cancelled already.
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao");
        QVERIFY(ultimoRetorno() != QLatin1String("07000"));
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void vendaRecusadaNaoGuardaAChave() {
        dispositivo->ativado("12345678", "12345678000195", 35, "outra");
        QVERIFY(b->clicar(Janela::Principal, "BtTestesVCan"));
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao");
        QCOMPARE(ultimoRetorno(), QStringLiteral("06004"));
        QCOMPARE(vendas()->chaveVenda(), QString());
    }

    void vendaDeArquivoEmVariasLinhas() {
        ParametrosTeste p{"98765432000198", "12345678000195", "111222333444", SignAC, 0, 0};
        const QString caminho = QDir(qtexto(dispositivo->pasta())).filePath("venda.xml");
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(xmlCupomTeste(p, TotalVazio::Unico).replace("><", ">\r\n<").toUtf8());
        f.close();
        QVERIFY(b->clicar(Janela::Principal, "BtTestesVCan"));
        b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo")->setText(caminho);
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        QCOMPARE(ultimoRetorno(), QStringLiteral("06000"));
        // A file sale leaves the remembered key alone.
        QCOMPARE(vendas()->chaveVenda(), QString());
    }
};

QTEST_MAIN(TstTransacoesEmulador)
#include "tst_transacoes_emulador.moc"
