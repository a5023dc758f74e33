#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include "core/Arquivos.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/TesteJanelas.h"
#include "transactions/TFormTesteVendaCanc.h"
#include "ui/Contexto.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

namespace {
// The documents with the parameters window's defaults, as the device must get them.
const QByteArray FimAFimPadrao =
    R"(<?xml version="1.0" encoding="utf-8"?><CFe><infCFe versaoDadosEnt="0.07"><ide><CNPJ>)"
    R"(98765432000198</CNPJ><signAC>SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT</signAC>)"
    R"(<numeroCaixa>001</numeroCaixa></ide><emit><CNPJ>12345678000195</CNPJ><IE>111222333444)"
    R"(</IE><indRatISSQN>N</indRatISSQN></emit><dest/><det nItem="1"><prod><cProd>01</cProd>)"
    R"(<xProd>Produto 1</xProd><NCM>85447030</NCM><CFOP>5001</CFOP><uCom>un</uCom><qCom>)"
    R"(2.0000</qCom><vUnCom>0.10</vUnCom><indRegra>A</indRegra></prod><imposto><ICMS><ICMS00>)"
    R"(<Orig>0</Orig><CST>00</CST><pICMS>5.00</pICMS></ICMS00></ICMS><PIS><PISAliq><CST>01)"
    R"(</CST><vBC>1.00</vBC><pPIS>1.0000</pPIS></PISAliq></PIS><COFINS><COFINSAliq><CST>01)"
    R"(</CST><vBC>1.00</vBC><pCOFINS>1.0000</pCOFINS></COFINSAliq></COFINS></imposto></det>)"
    R"(<total></total><pgto><MP><cMP>01</cMP><vMP>12.00</vMP></MP></pgto></infCFe></CFe>)";
QByteArray vendaPadrao() {
    QByteArray venda = FimAFimPadrao;
    return venda.replace("<total></total>", "<total/>");
}
const QByteArray Chave = "CFe35150708723218000186599000040190000215133408";
const QByteArray CancelamentoPadrao =
    R"(<CFeCanc><infCFe chCanc="CFe35150708723218000186599000040190000215133408"><ide><CNPJ>)"
    R"(98765432000198</CNPJ><signAC>SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT</signAC>)"
    R"(<numeroCaixa>001</numeroCaixa></ide><emit/><dest></dest><total/><infAdic/></infCFe>)"
    R"(</CFeCanc>)";
const QByteArray VendaAceita =
    "313799|06000|0000|Emitido com sucesso + conte\xfa"
    "do notas.|||"
    "PENmZT4=|20150718154423|" +
    Chave + "|2.00||assinatura|";
const QString Titulo = QStringLiteral("Tivoro Tecnologia - SAT KT-470e");
}  // namespace

// The end-to-end test and the sale and cancellation test, against a
// stand-in library that answers what the test sets and keeps what it got.
class TstTransacoes : public TesteFalso {
    Q_OBJECT
    QTemporaryDir pasta;
    QStringList modais;  // captions of the parameters window each time it was shown

    ParametrosTeste& parametros() { return b->ctx().principal().parametrosTeste(); }
    QPlainTextEdit* logPrincipal() {
        return b->controle<QPlainTextEdit>(Janela::Principal, "RichEdit1");
    }
    QPlainTextEdit* logVenda() {
        return b->controle<QPlainTextEdit>(Janela::TesteVendaCanc, "RichEdit1");
    }
    TFormTesteVendaCanc* vendas() {
        return static_cast<TFormTesteVendaCanc*>(b->janela(Janela::TesteVendaCanc));
    }
    QWidget* parametrosJanela() { return b->janela(Janela::TesteFimaFim); }

    // Answers the parameters window with this button once it is shown
    // modally, after an optional change of its fields.
    void responderParametros(const char* botao, std::function<void()> preencher = {}) {
        QTimer::singleShot(0, this, [this, botao, preencher] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != parametrosJanela()) return;
            modais << modal->windowTitle();
            if (preencher) preencher();
            b->clicar(Janela::TesteFimaFim, botao);
        });
    }
    // Clicks a button of the main window or the sale window; a parameters
    // window that is shown then is recorded and cancelled.
    void clicar(Janela j, const char* botao, const char* resposta = "BtCancelar") {
        responderParametros(resposta);
        QVERIFY(b->clicar(j, botao));
        QCoreApplication::processEvents();
    }
    QStringList linhas(QPlainTextEdit* log) {
        QStringList l;
        for (QTextBlock bloco = log->document()->begin(); bloco.isValid(); bloco = bloco.next())
            l << bloco.text();
        return l;
    }
    // The body of a log line, after "[<date time>] ".
    static QString corpo(const QString& linha) {
        return linha.startsWith('[') ? linha.mid(linha.indexOf(QLatin1String("] ")) + 2)
                                     : QStringLiteral("sem carimbo: ") + linha;
    }
    QString arquivo(const char* nome, const QByteArray& conteudo) {
        const QString caminho = pasta.filePath(QString::fromLatin1(nome));
        QFile f(caminho);
        if (!f.open(QIODevice::WriteOnly)) qFatal("arquivo de teste");
        f.write(conteudo);
        return caminho;
    }
    void abrirVendas() {
        QVERIFY(b->clicar(Janela::Principal, "BtTestesVCan"));
        QVERIFY(b->janela(Janela::TesteVendaCanc)->isVisible());
    }
    void marcarCancelamento() { QVERIFY(b->marcar(Janela::TesteVendaCanc, "RdbXMLCanc")); }

    void preparar() override {
        modais.clear();
        b->abrirPrincipal("12345678");
    }

  private Q_SLOTS:
    void fimAFimComOsPadroes() {
        logPrincipal()->setPlainText("anterior");
        logPrincipal()->moveCursor(QTextCursor::End);
        falsa.responder("4|09000|Emitido com sucesso|0000||PENmZT4=|20150718154423|000001|" +
                        Chave);
        const int antes = falsa.chamadas();
        // The status refresh after the reply box reads this same answer.
        clicar(Janela::Principal, "BtTestFimAFim", "BtEnviar");
        QCOMPARE(modais, QStringList{"TOOL SAT Tivoro - Teste Fim a Fim"});
        QCOMPARE(falsa.chamadas() - antes, 2);
        QCOMPARE(falsa.argumento(1), QByteArray("12345678"));
        QCOMPARE(falsa.argumento(2), FimAFimPadrao);
        QCOMPARE(falsa.inteiro(0), SessaoStatus);

        const QStringList l = linhas(logPrincipal());
        QCOMPARE(l.size(), 4);
        QCOMPARE(l[0], QStringLiteral("anterior"));
        QCOMPARE(corpo(l[1]), QStringLiteral("[TX] Enviando teste fim a fim..."));
        QCOMPARE(corpo(l[2]), "[TX] " + QString::fromLatin1(FimAFimPadrao));
        QCOMPARE(corpo(l[3]).left(25), QStringLiteral("[RX] 4|09000|Emitido com "));
        QCOMPARE(CorDaLinha(logPrincipal(), 1), QColor(0, 128, 0));
        QCOMPARE(CorDaLinha(logPrincipal(), 2), QColor(0, 128, 0));
        QCOMPARE(CorDaLinha(logPrincipal(), 3), QColor(0, 0, 255));

        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QCOMPARE(b->dialogos.ultima().titulo, Titulo);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Sessão: 4\r\nRetorno: 09000\r\nResposta: Emitido com sucesso"));
        // The refresh judged the same reply: not "08000", so unknown, painted.
        QCOMPARE(b->ctx().estado.StatusConexao(), StatusDesconhecido);
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbStatusCom")->text(), StatusDesconhecido);
        QCOMPARE(parametros().TesteConfirmado, 1);
        QCOMPARE(parametros().ParametrosTeste, 1);
        QCOMPARE(parametros().CNPJEmitente, QStringLiteral("12345678000195"));
    }

    void fimAFimPrimeiraSessaoNaoESorteadaDeNovo() {
        clicar(Janela::Principal, "BtTestFimAFim", "BtEnviar");
        // The generator's first draw is 0 and the call keeps it: one draw only.
        QCOMPARE(b->ctx().aleatorio.sessaoAleatoria(), 313799);
    }

    void fimAFimCancelarNaoChamaNada() {
        parametros().ParametrosTeste = 1;
        parametros().IEEmitente = "anterior";
        const int antes = falsa.chamadas();
        clicar(Janela::Principal, "BtTestFimAFim", "BtCancelar");
        QCOMPARE(modais.size(), 1);
        QCOMPARE(falsa.chamadas(), antes);
        QVERIFY(logPrincipal()->document()->isEmpty());
        QVERIFY(b->dialogos.caixas().isEmpty());
        QCOMPARE(parametros().ParametrosTeste, 0);
        QCOMPARE(parametros().TesteConfirmado, 0);
        QCOMPARE(parametros().IEEmitente, QStringLiteral("anterior"));
    }

    void fimAFimRespostaSemBarra() {
        falsa.responder("sem campos");
        clicar(Janela::Principal, "BtTestFimAFim", "BtEnviar");
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("Sessão: \r\nRetorno: \r\nResposta: "));
        QCOMPARE(corpo(linhas(logPrincipal()).constLast()), QStringLiteral("[RX] sem campos"));
    }

    void parametrosDigitadosEscapadosEMemoReposto() {
        auto* ie = b->controle<QLineEdit>(Janela::TesteFimaFim, "edIE");
        auto* memo = b->controle<QPlainTextEdit>(Janela::TesteFimaFim, "MemoSignac");
        auto* cnpj = b->controle<QLineEdit>(Janela::TesteFimaFim, "MskCNPJSW");
        responderParametros("BtEnviar", [&] {
            ie->setText("1&2<3>");
            memo->setPlainText("linha 1\n</signAC>");
            // Tab moves on, it is not typed into the signature.
            memo->moveCursor(QTextCursor::End);
            QTest::keyClick(memo, Qt::Key_Tab);
            cnpj->setText("1234");
        });
        QVERIFY(b->clicar(Janela::Principal, "BtTestFimAFim"));
        QCOMPARE(parametros().SignAC, QStringLiteral("linha 1\r\n</signAC>"));
        QCOMPARE(parametros().IEEmitente, QStringLiteral("1&2<3>"));
        QCOMPARE(parametros().CNPJSoftwareHouse, QStringLiteral("1234"));
        const QByteArray doc = falsa.argumento(2);
        QVERIFY(doc.contains("<CNPJ>1234</CNPJ><signAC>linha 1\r\n&lt;/signAC&gt;</signAC>"));
        QVERIFY(doc.contains("<IE>1&amp;2&lt;3&gt;</IE>"));

        // Shown again: the memo is back to its default, the fields keep theirs.
        responderParametros("BtCancelar");
        QVERIFY(b->clicar(Janela::Principal, "BtTestFimAFim"));
        QCOMPARE(memo->toPlainText(),
                 QStringLiteral("SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT"));
        QCOMPARE(ie->text(), QStringLiteral("1&2<3>"));
    }

    void memoLimitadoAUmaAssinatura() {
        auto* memo = b->controle<QPlainTextEdit>(Janela::TesteFimaFim, "MemoSignac");
        responderParametros("BtEnviar", [&] {
            memo->clear();
            memo->setFocus();
            QTest::keyClicks(memo, QString(400, QLatin1Char('A')));
        });
        QVERIFY(b->clicar(Janela::Principal, "BtTestFimAFim"));
        QCOMPARE(parametros().SignAC, QString(344, QLatin1Char('A')));
    }

    void vendaDeArquivoVaiComoOsBytes() {
        abrirVendas();
        QCOMPARE(b->controle<QRadioButton>(Janela::TesteVendaCanc, "RdbXMLVenda")->isChecked(),
                 true);
        // UTF-8 accents, CRLF and LF line ends, indentation kept.
        const QByteArray conteudo =
            "<CFe>\r\n  <infCFe versaoDadosEnt=\"0.07\">\n    <xProd>Ma\xc3\xa7\xc3\xa3</xProd>\r\n"
            "  </infCFe>\n</CFe>\n";
        b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo")
            ->setText(arquivo("venda.xml", conteudo));
        falsa.responder("9|06001|0000|Erro||");
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        const QByteArray unido =
            "<CFe>  <infCFe versaoDadosEnt=\"0.07\">    <xProd>Ma\xc3\xa7\xc3\xa3</xProd>  "
            "</infCFe></CFe>";
        QCOMPARE(falsa.argumento(2), unido);
        QCOMPARE(falsa.argumento(1), QByteArray("12345678"));
        QCOMPARE(falsa.inteiro(0), 313799);
        const QStringList l = linhas(logVenda());
        QCOMPARE(l.size(), 2);
        QCOMPARE(corpo(l[0]),
                 "[TX] EnviarDadosVenda(313799,12345678," + QString::fromUtf8(unido) + ");");
        QCOMPARE(corpo(l[1]), QStringLiteral("[RX] 9|06001|0000|Erro||"));
        QCOMPARE(CorDaLinha(logVenda(), 0), QColor(0, 128, 0));
        QCOMPARE(CorDaLinha(logVenda(), 1), QColor(0, 0, 255));
        QCOMPARE(logVenda()->currentCharFormat().foreground().color(), QColor(0, 0, 0));
        QVERIFY(modais.isEmpty());
        QVERIFY(b->dialogos.caixas().isEmpty());
        QCOMPARE(vendas()->chaveVenda(), QString());
    }

    void vendaDeArquivoWindows1252TambemIntacta() {
        abrirVendas();
        b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo")
            ->setText(arquivo("venda1252.xml", "<xProd>Ma\xe7\xe3</xProd>\r\n"));
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        QCOMPARE(falsa.argumento(2), QByteArray("<xProd>Ma\xe7\xe3</xProd>"));
        QVERIFY(linhas(logVenda())[0].contains(QStringLiteral("Maçã")));
    }

    void cancelamentoDeArquivoTomaAPrimeiraAspa() {
        abrirVendas();
        marcarCancelamento();
        b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo")
            ->setText(arquivo("canc.xml",
                              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CFeCanc><infCFe "
                              "chCanc=\"" +
                                  Chave + "\"/></CFeCanc>\n"));
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        QCOMPARE(falsa.argumento(2), QByteArray("1.0"));
        QVERIFY(
            falsa.argumento(3).startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFeCanc>"));
        QCOMPARE(vendas()->chaveVenda(), QStringLiteral("1.0"));
        QVERIFY(corpo(linhas(logVenda())[0])
                    .startsWith("[TX] CancelarUltimaVenda(313799,12345678,1.0,<?xml "));
    }

    // A key the device's code page cannot hold still reaches it byte for byte.
    void chaveDeArquivoVaiComoOsBytes() {
        abrirVendas();
        marcarCancelamento();
        b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo")
            ->setText(
                arquivo("canc_utf8.xml", "<CFeCanc><infCFe chCanc=\"CFe\xc5\x82\"/></CFeCanc>"));
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        QCOMPARE(falsa.argumento(2), QByteArray("CFe\xc5\x82"));
    }

    void mensagensDoArquivo() {
        abrirVendas();
        auto* caminho = b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo");
        const int antes = falsa.chamadas();
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("Informe um XML de venda!"));
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        for (const QString& ilegivel :
             {pasta.filePath("nao-existe.xml"), QStringLiteral("/dev/zero"), pasta.path()}) {
            caminho->setText(ilegivel);
            clicar(Janela::TesteVendaCanc, "BtEnviar");
            QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("Erro na abertura do Arquivo!"));
            QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        }
        caminho->setText(arquivo("x.xml", "<a/>"));
        auto* venda = b->controle<QRadioButton>(Janela::TesteVendaCanc, "RdbXMLVenda");
        venda->setAutoExclusive(false);
        venda->setChecked(false);
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Informe se o XML é de Venda ou Cancelamento!"));
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.caixas().size(), 5);
        QCOMPARE(b->dialogos.ultima().titulo, Titulo);
        QCOMPARE(falsa.chamadas(), antes);
        QVERIFY(logVenda()->document()->isEmpty());
    }

    // Larger than the device could ever take: refused before any call, the
    // file not even read into the log.
    void documentoGrandeDemaisRecusado() {
        abrirVendas();
        const QString caminho = arquivo("grande.xml", QByteArray(LimiteDocumento + 1, 'x'));
        b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo")->setText(caminho);
        const int antes = falsa.chamadas();
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        QCOMPARE(falsa.chamadas(), antes);
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("O arquivo %1 tem 2097153 bytes, mais do que o limite de 2097152 "
                                "bytes (o SAT recusa documentos acima de 1.500 KB): nada foi "
                                "enviado.")
                     .arg(QDir::toNativeSeparators(caminho)));
        QVERIFY(logVenda()->document()->isEmpty());
    }

    // The device gets the whole document and RespostaSAT the whole reply; the
    // log a screenful of each, saying so.
    void documentoLongoSoUmaTelaNoLog() {
        abrirVendas();
        const QByteArray doc = "<CFe>" + QByteArray(1000000, 'x') + "</CFe>";
        const QByteArray resposta = "9|06000|0000|Emitido||" + QByteArray(10000, 'R') + '|';
        b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo")
            ->setText(arquivo("longo.xml", doc));
        falsa.responder(resposta);
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        QCOMPARE(falsa.argumento(2), doc);
        QCOMPARE(b->ctx().estado.RespostaSAT(), QString::fromLatin1(resposta));
        const QStringList l = linhas(logVenda());
        QCOMPARE(l.size(), 2);
        const QString cortado = QStringLiteral("... (%1 caracteres; mostrados os primeiros 4000)");
        QCOMPARE(corpo(l[0]), "[TX] EnviarDadosVenda(313799,12345678," + doc.left(4000) +
                                  cortado.arg(doc.size()) + ");");
        QCOMPARE(corpo(l[1]), "[RX] " + resposta.left(4000) + cortado.arg(resposta.size()));
    }

    void escolherArquivo() {
        abrirVendas();
        auto* caminho = b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo");
        clicar(Janela::TesteVendaCanc, "BtLocalArquivo");
        QVERIFY(caminho->text().isEmpty());
        QVERIFY(b->dialogos.caixas().isEmpty());
        b->dialogos.responderArquivo("/tmp/venda.xml");
        clicar(Janela::TesteVendaCanc, "BtLocalArquivo");
        QCOMPARE(caminho->text(), QStringLiteral("/tmp/venda.xml"));
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("XML carregado com sucesso!"));
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        const auto d = b->dialogos.dialogosArquivo().constLast();
        QCOMPARE(d.titulo, QStringLiteral("Carregar Xml..."));
        QCOMPARE(d.pasta, QDir::currentPath());
        QCOMPARE(d.filtro, QStringLiteral("Arquivo xml (*.xml)"));
        QCOMPARE(d.extensao, QStringLiteral("xml"));
    }

    void vendaPadraoDepoisCancelamento() {
        abrirVendas();
        falsa.responder(VendaAceita);
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao", "BtEnviar");
        QCOMPARE(modais, QStringList{"TOOL SAT Tivoro - Teste de venda e cancelamento"});
        QCOMPARE(parametrosJanela()->windowTitle(),
                 QStringLiteral("TOOL SAT Tivoro - Teste de venda e cancelamento"));
        QCOMPARE(falsa.argumento(2), vendaPadrao());
        QCOMPARE(vendas()->chaveVenda(), QString::fromLatin1(Chave));

        marcarCancelamento();
        falsa.responder("313800|07000|0000|Cancelado||");
        for (int vez = 0; vez < 2; ++vez) {
            clicar(Janela::TesteVendaCanc, "BtXMLPadrao");
            QCOMPARE(falsa.argumento(2), Chave);
            QCOMPARE(falsa.argumento(3), CancelamentoPadrao);
        }
        QCOMPARE(modais.size(), 1);
        const QStringList l = linhas(logVenda());
        QCOMPARE(l.size(), 6);
        QCOMPARE(corpo(l[2]), "[TX] CancelarUltimaVenda(8610483,12345678," +
                                  QString::fromLatin1(Chave) + ',' +
                                  QString::fromLatin1(CancelamentoPadrao) + ");");
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void vendaRecusadaEsqueceAChave() {
        abrirVendas();
        falsa.responder(VendaAceita);
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao", "BtEnviar");
        QCOMPARE(vendas()->chaveVenda(), QString::fromLatin1(Chave));
        falsa.responder("313801|06010|1999|Rejeitado||");
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao", "BtEnviar");
        QCOMPARE(vendas()->chaveVenda(), QString());
        marcarCancelamento();
        const int antes = falsa.chamadas();
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao");
        QCOMPARE(falsa.chamadas(), antes);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Faça uma venda antes de fazer um cancelamento!"));
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
    }

    void parametrosNaoConfirmadosParamEmSilencio() {
        abrirVendas();
        const int antes = falsa.chamadas();
        // Before any use of the parameters window: nothing, no window.
        marcarCancelamento();
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao");
        QVERIFY(modais.isEmpty());
        // The window cancelled on a sale.
        b->controle<QRadioButton>(Janela::TesteVendaCanc, "RdbXMLVenda")->setChecked(true);
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao", "BtCancelar");
        QCOMPARE(modais.size(), 1);
        QCOMPARE(falsa.chamadas(), antes);
        QVERIFY(b->dialogos.caixas().isEmpty());
        QVERIFY(logVenda()->document()->isEmpty());
    }

    void cancelamentoUsaOsParametrosDoFimAFim() {
        // A confirmed end-to-end test leaves the parameters for the built-in
        // cancellation; a remembered key comes from a file cancellation.
        clicar(Janela::Principal, "BtTestFimAFim", "BtEnviar");
        abrirVendas();
        marcarCancelamento();
        b->controle<QLineEdit>(Janela::TesteVendaCanc, "EdLocalArquivo")
            ->setText(arquivo("c.xml", "<CFeCanc><infCFe chCanc=\"a&quot;b\"/></CFeCanc>"));
        clicar(Janela::TesteVendaCanc, "BtEnviar");
        clicar(Janela::TesteVendaCanc, "BtXMLPadrao");
        QVERIFY(modais.size() == 1);
        QCOMPARE(falsa.argumento(2), QByteArray("a&quot;b"));
        QVERIFY(falsa.argumento(3).startsWith("<CFeCanc><infCFe chCanc=\"a&amp;quot;b\">"));
    }

    void abrirEFecharVendas() {
        abrirVendas();
        QWidget* janela = b->janela(Janela::TesteVendaCanc);
        QVERIFY(!(janela->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(janela->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(janela->minimumSize() != janela->maximumSize());
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
        logVenda()->setPlainText("velho");
        marcarCancelamento();
        QVERIFY(b->clicar(Janela::TesteVendaCanc, "BtLimpar"));
        QVERIFY(logVenda()->document()->isEmpty());
        logVenda()->setPlainText("velho");
        const int antes = falsa.chamadas();
        QVERIFY(b->clicar(Janela::TesteVendaCanc, "BtCancelar"));
        QCOMPARE(falsa.chamadas() - antes, 1);
        QCOMPARE(falsa.inteiro(0), SessaoStatus);
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        abrirVendas();
        QVERIFY(logVenda()->document()->isEmpty());
        QVERIFY(b->controle<QRadioButton>(Janela::TesteVendaCanc, "RdbXMLVenda")->isChecked());
    }
};

QTEST_MAIN(TstTransacoes)
#include "tst_transacoes.moc"
