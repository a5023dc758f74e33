#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "shell/TFormCodAtivacao.h"
#include "shell/TFormPrincipal.h"
#include "tests/apoio/Ambiente.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/DialogosQt.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

namespace {
const QByteArray StatusOk =
    "1234589|10000|Resposta com Sucesso|||900004019|DHCP|010.000.000.108|30:40:03:19:19:40|"
    "255.255.255.000|010.000.000.001|010.000.000.001|010.000.000.001|CONECTADO|ALTO|4 GB|260 MB|"
    "20150912113321|01.00.00|00.07|||||20150912113039|20150708|20200708|0";

QColor corDe(QLabel* l) {
    return l->palette().color(QPalette::WindowText);
}
}  // namespace

// The start window, the main window and the shared helpers, against a
// stand-in library whose replies the test sets.
class TstInicial : public TesteFalso {
    Q_OBJECT

    QLineEdit* codigo() { return b->controle<QLineEdit>(Janela::CodAtivacao, "txtCodAtivacao"); }
    QLabel* status() { return b->controle<QLabel>(Janela::Principal, "LbStatusCom"); }
    QPlainTextEdit* log() { return b->controle<QPlainTextEdit>(Janela::Principal, "RichEdit1"); }
    QPushButton* botao(const char* nome) {
        return b->controle<QPushButton>(Janela::Principal, nome);
    }
    void entrar(const QString& texto) {
        codigo()->setText(texto);
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtIniciar"));
    }
    void abrirPrincipal() {
        falsa.responder(StatusOk);
        entrar("12345678");
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        // A maker's library carries no emulator mark.
        QVERIFY(!b->controle<QLabel>(Janela::Principal, "LbSatEmulado")
                     ->isVisibleTo(b->janela(Janela::Principal)));
    }

    void preparar() override { b->janela(Janela::CodAtivacao)->show(); }

  private Q_SLOTS:
    void extraiCampoEResto() {
        QCOMPARE(ExtraiCampo("123|08000|em operacao|", 2), QString("em operacao"));
        QCOMPARE(ExtraiCampo("123|08000|em operacao|", 3), QString());
        QCOMPARE(ExtraiCampo("a|b|c|", 0), QString("a"));
        QCOMPARE(ExtraiCampo("a|b|c", 2), QString());
        QCOMPARE(ExtraiCampo("|a|", 0), QString());
        QCOMPARE(ExtraiCampo("|a|", 1), QString("a"));
        QCOMPARE(ExtraiCampo("", 0), QString());
        QCOMPARE(ExtraiCampo("a|b|", -1), QString());
        QCOMPARE(ExtraiCampo(TextoPortaNaoPronta, 0), QString());
        QCOMPARE(ExtraiCampo("a\"b\"c", 1, '"'), QString("b"));
        QCOMPARE(ExtraiResto("1|2|3", 0), QString("1|2|3"));
        QCOMPARE(ExtraiResto("1|2|3", 5), QString("3"));
        QCOMPARE(ExtraiResto("a|b|c", 1), QString("b|c"));
        QCOMPARE(ExtraiResto("a|b|c", 2), QString("c"));
    }

    // A sequence cut at the end is not UTF-8: nothing of it may be dropped.
    void textoDeBytesEAparado() {
        QCOMPARE(textoDeBytes("a\xc3\xa7\xc3\xa3o"), QStringLiteral("ação"));
        QCOMPARE(textoDeBytes("a\xe7\xe3o"), QStringLiteral("ação"));
        QCOMPARE(textoDeBytes("ab\xc3"), QStringLiteral("abÃ"));
        QCOMPARE(aparado(QStringLiteral(" \t x y\r\n")), QStringLiteral("x y"));
    }

    void sessoesSeguemOGerador() {
        GeradorAleatorio g;
        QCOMPARE(g.sessaoAleatoria(), 0);
        QCOMPARE(g.sessaoAleatoria(), 313799);
        QCOMPARE(g.sessaoAleatoria(), 8610483);
        QCOMPARE(g.sessaoAleatoria(), 2025809);
        g.reiniciar();
        QCOMPARE(g.sessaoNova(), 313799);
        QCOMPARE(g.sessaoNova(), 8610483);
    }

    void codigoCurtoNaoChamaODispositivo_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("vazio") << "";
        QTest::newRow("7") << "1234567";
        QTest::newRow("7 com brancos") << "  1234567 \t";
    }
    void codigoCurtoNaoChamaODispositivo() {
        QFETCH(QString, texto);
        const int antes = falsa.chamadas();
        entrar(texto);
        QCOMPARE(falsa.chamadas(), antes);
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Favor Informar código de ativação válido!"));
        QCOMPARE(b->dialogos.ultima().titulo, QStringLiteral("Tivoro Tecnologia - SAT KT-470e"));
        QVERIFY(b->janela(Janela::CodAtivacao)->isVisible());
    }

    void codigoAceitoAbreOPrincipal() {
        falsa.responder(StatusOk);
        entrar("  12345678 ");
        // The device and the code in use get the text as typed.
        QCOMPARE(falsa.argumento(1), QByteArray("  12345678 "));
        QCOMPARE(falsa.inteiro(0), SessaoEntrada);
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral("  12345678 "));
        QVERIFY(b->dialogos.caixas().isEmpty());
        QVERIFY(!b->janela(Janela::CodAtivacao)->isVisible());
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->ctx().estado.ModoAtivacao(), 0);
        QCOMPARE(status()->text(), QStringLiteral("CONECTADO"));
        QCOMPARE(corDe(status()), QColor(0, 128, 0));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbSatVersao")->text(),
                 QStringLiteral("SAT - 01.00.00"));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbLayout")->text(),
                 QStringLiteral("LAYOUT - 00.07"));
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbSatDllVersao")->text(),
                 QStringLiteral("SAT .DLL -1.0.2.15"));
        QVERIFY(!botao("BtSetupAutomatico")->isEnabled());
        QVERIFY(!botao("BtAtivarSat")->isEnabled());
        QVERIFY(botao("BtAssociarAssinatura")->isEnabled());
        QVERIFY(log()->document()->isEmpty());
    }

    void outraRespostaFicaNoInicio_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::newRow("10001") << QByteArray(
            "1234589|10001|C\xf3"
            "digo de ativa\xe7\xe3o inv\xe1lido||");
        QTest::newRow("vazia") << QByteArray("");
        QTest::newRow("nula") << QByteArray();
        QTest::newRow("sem barra")
            << QByteArray("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE");
        QTest::newRow("1 MB") << QByteArray("1|10000") + QByteArray(1 << 20, 'x');
    }
    void outraRespostaFicaNoInicio() {
        QFETCH(QByteArray, resposta);
        falsa.responder(resposta);
        entrar("12345678");
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, DllSatFalsa::comoChega(resposta));
        QCOMPARE(b->ctx().estado.RespostaSAT(), DllSatFalsa::comoChega(resposta));
        QVERIFY(b->janela(Janela::CodAtivacao)->isVisible());
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->ctx().CodigoAtivacao(), QString());
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbLayout")->text(),
                 "LAYOUT - " + ExtraiCampo(DllSatFalsa::comoChega(resposta), 19));
    }

    // The maker's library crashing or hanging at "Entrar": the tool lives,
    // says what happened, keeps the typed code, and the next try works.
    void bibliotecaQueQuebraOuTravaNaEntrada_data() {
        QTest::addColumn<QByteArray>("falha");
        QTest::addColumn<QString>("caixa");
#ifdef Q_OS_WIN
        const QString queda = QStringLiteral("a exceção 0xC0000005");
#else
        const QString queda = QStringLiteral("o sinal 11");
#endif
        QTest::newRow("sinal") << QByteArray("sinal")
                               << "a biblioteca do fabricante terminou com " + queda + " em ";
        QTest::newRow("trava") << QByteArray("travar")
                               << "A biblioteca do fabricante não respondeu a ";
    }
    void bibliotecaQueQuebraOuTravaNaEntrada() {
        QFETCH(QByteArray, falha);
        QFETCH(QString, caixa);
        {
            const Ambiente a{{"DLLSAT_FALSO_FALHA", falha}, {"SAT_TEMPO_LIMITE", "1"}};
            b = std::make_unique<Bancada>(DLLSAT_TIVORO);
            b->janela(Janela::CodAtivacao)->show();
            entrar("12345678");
        }
        QVERIFY(!b->dialogos.caixas().isEmpty());
        QCOMPARE(b->dialogos.caixas().first().icone, Icone::Erro);
        QVERIFY2(b->dialogos.caixas().first().texto.startsWith(caixa),
                 qPrintable(b->dialogos.caixas().first().texto));
        QVERIFY(b->janela(Janela::CodAtivacao)->isVisible());
        QCOMPARE(codigo()->text(), QStringLiteral("12345678"));
        const Ambiente a{{"DLLSAT_FALSO_RESPOSTA", StatusOk}};
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtIniciar"));
        QVERIFY(b->janela(Janela::Principal)->isVisible());
    }

    void dllDeOutraEmpresaEhRecusada_data() {
        QTest::addColumn<QString>("dll");
        QTest::newRow("branco no fim") << QString(DLLSAT_OUTRA_EMPRESA);
        QTest::newRow("minusculas") << QString(DLLSAT_MINUSCULAS);
    }
    void dllDeOutraEmpresaEhRecusada() {
        QFETCH(QString, dll);
        b = std::make_unique<Bancada>(dll, Via::NoProcesso);
        b->janela(Janela::CodAtivacao)->show();
        b->ctx().estado.setModoAtivacao(1);
        entrar("12345678");
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        const QString texto = b->dialogos.ultima().texto;
        QVERIFY(texto.startsWith(
            QStringLiteral("A dllsat.dll não é a dll fornecida pela Tivoro!\n\n")));
        QVERIFY(texto.contains("Arquivo: " + QFileInfo(dll).absoluteFilePath()));
        QVERIFY(texto.contains("CompanyName"));
        QCOMPARE(b->ctx().estado.ModoAtivacao(), 0);
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtSatNaoAtivado"));
        QCOMPARE(b->dialogos.caixas().size(), 2);
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
        // Changing the code needs no check at all.
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtTrocarCodAtiv"));
        QCOMPARE(b->dialogos.caixas().size(), 2);
        QVERIFY(b->janela(Janela::TrocarCodigo)->isVisible());
        QCOMPARE(b->ctx().estado.ModoAtivacao(), 1);
    }

    // A maker's library as built, then with the section its maker adds.
    void dllSemVersaoDizOQueFaltaEAceitaASecaoAcrescentada() {
#ifdef Q_OS_WIN
        QSKIP("the section is the ELF equivalent of a version resource (tst_windows reads those)");
#endif
        b = std::make_unique<Bancada>(DLLSAT_SEM_SECAO, Via::NoProcesso);
        b->janela(Janela::CodAtivacao)->show();
        entrar("12345678");
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        const QString texto = b->dialogos.ultima().texto;
        QVERIFY(texto.contains(QString::number(ENODATA)));
        QVERIFY(texto.contains("Arquivo: " + QFileInfo(DLLSAT_SEM_SECAO).absoluteFilePath()));
        QVERIFY(texto.contains(QStringLiteral("sem a seção .versioninfo")));
        QVERIFY(texto.contains("Procurada, nesta ordem:"));
        QVERIFY(b->janela(Janela::CodAtivacao)->isVisible());

        QTemporaryDir pasta;
        const QString copia = pasta.filePath("libdllsat.so");
        QVERIFY(QFile::copy(DLLSAT_SEM_SECAO, copia));
        QFile versao(pasta.filePath("versao.txt"));
        QVERIFY(versao.open(QIODevice::WriteOnly));
        versao.write(
            "\\=1,0,2,15\n\\VarFileInfo\\Translation=0416 04E4\n"
            "\\StringFileInfo\\041604E4\\CompanyName=Tivoro Telecomunicacoes e "
            "Informatica S/A\n");
        versao.close();
        QCOMPARE(QProcess::execute("objcopy",
                                   {"--add-section", ".versioninfo=" + versao.fileName(),
                                    "--set-section-flags", ".versioninfo=noload,readonly", copia}),
                 0);
        b = std::make_unique<Bancada>(copia, Via::NoProcesso);
        b->janela(Janela::CodAtivacao)->show();
        DllSatFalsa(copia).responder(StatusOk);
        entrar("12345678");
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbSatDllVersao")->text(),
                 QStringLiteral("SAT .DLL -1.0.2.15"));
    }

    void modoDeAtivacao() {
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtSatNaoAtivado"));
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QVERIFY(!b->janela(Janela::CodAtivacao)->isVisible());
        QCOMPARE(status()->text(), QStringLiteral("EM ATIVAÇÃO"));
        QCOMPARE(corDe(status()), QColor(128, 128, 0));
        QCOMPARE(b->ctx().estado.ModoAtivacao(), 1);
        for (const char* nome : {"BtAssociarAssinatura", "BtTestFimAFim", "BtAtualizarSat",
                                 "BtTestesVCan", "BtBloquearSat", "BtDesbloquearSat"})
            QVERIFY2(!botao(nome)->isEnabled(), nome);
        for (const char* nome : {"BtSetupAutomatico", "BtConfRede", "BtAtivarSat", "BtConsultas",
                                 "BtTrocarCodAtiv", "BtConhecerSatTivoro"})
            QVERIFY2(botao(nome)->isEnabled(), nome);
    }

    void focoComecaEmFechar() {
        QTRY_VERIFY(b->controle<QPushButton>(Janela::CodAtivacao, "BtFechar")->hasFocus());
        QStringList ordem;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ordem << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(ordem, QStringList(
                            {"BtSatNaoAtivado", "txtCodAtivacao", "BtIniciar", "BtTrocarCodAtiv"}));
    }

    void statusPintadoEmSuaCor_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QColor>("cor");
        QTest::newRow("operacao") << QByteArray("1|08000|ok||") << "CONECTADO" << QColor(0, 128, 0);
        QTest::newRow("ocupado") << QByteArray("1|08098|ocupado||") << "EM PROCESSAMENTO"
                                 << QColor(128, 128, 0);
        QTest::newRow("desconectado")
            << QByteArray("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE") << "DESCONECTADO"
            << QColor(255, 0, 0);
        QTest::newRow("maiusculas")
            << QByteArray("PORTA SERIAL N\xc3O EST\xc1 PRONTA, TENTE NOVAMENTE") << "DESCONHECIDO"
            << QColor(128, 128, 0);
        QTest::newRow("vazia") << QByteArray() << "DESCONHECIDO" << QColor(128, 128, 0);
    }
    void statusPintadoEmSuaCor() {
        QFETCH(QByteArray, resposta);
        QFETCH(QString, texto);
        QFETCH(QColor, cor);
        abrirPrincipal();
        falsa.responder(resposta);
        AtualizaStatusConexao(b->ctx(), false);
        QCOMPARE(falsa.inteiro(0), SessaoStatus);
        QCOMPARE(b->ctx().estado.StatusConexao(), texto);
        QCOMPARE(status()->text(), QStringLiteral("CONECTADO"));
        AtualizaStatusConexao(b->ctx(), true);
        QCOMPARE(status()->text(), texto);
        QCOMPARE(corDe(status()), cor);
    }

    void statusVazioEmOliva() {
        b->ctx().estado.setStatusConexao(QString());
        b->janela(Janela::Principal)->show();
        QCOMPARE(status()->text(), QString());
        QCOMPARE(corDe(status()), QColor(128, 128, 0));
    }

    void limparEPrimeiraLinhaSemQuebra() {
        abrirPrincipal();
        EscreveLog(log(), CorTX, "[TX] um");
        EscreveLog(log(), CorRX, "[RX] dois");
        const QStringList linhas = log()->toPlainText().split('\n');
        QCOMPARE(linhas.size(), 2);
        QVERIFY(QRegularExpression(R"(^\[\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\] \[TX\] um$)")
                    .match(linhas[0])
                    .hasMatch());
        QVERIFY(linhas[1].endsWith("] [RX] dois"));
        QVERIFY(b->clicar(Janela::Principal, "BtLimpar"));
        QVERIFY(log()->document()->isEmpty());
        EscreveLog(log(), CorTX, "[TX] tres");
        QVERIFY(log()->toPlainText().startsWith('['));
        QTextCursor fim(log()->document());
        fim.movePosition(QTextCursor::End);
        QCOMPARE(fim.charFormat().foreground().color(), CorTX);
    }

    void linhaNaoApagaOSelecionado() {
        abrirPrincipal();
        EscreveLog(log(), CorTX, "[TX] um");
        log()->selectAll();
        EscreveLog(log(), CorRX, "[RX] dois");
        const QStringList linhas = log()->toPlainText().split('\n');
        QCOMPARE(linhas.size(), 2);
        QVERIFY(linhas[0].endsWith("] [TX] um"));
        QVERIFY(linhas[1].endsWith("] [RX] dois"));
    }

    void bloquearEDesbloquearComCodigoVazio() {
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtTrocarCodAtiv"));
        b->janela(Janela::TrocarCodigo)->hide();
        b->janela(Janela::Principal)->show();
        falsa.responder("313799|16000|Equipamento SAT bloqueado com sucesso||");
        QVERIFY(b->clicar(Janela::Principal, "BtBloquearSat"));
        QVERIFY(falsa.argumentoNulo(1));
        falsa.responder("8610483|17005|SAT j\xe1 desbloqueado||");
        QVERIFY(b->clicar(Janela::Principal, "BtDesbloquearSat"));
        const QStringList linhas = log()->toPlainText().split('\n');
        QCOMPARE(linhas.size(), 4);
        QVERIFY(linhas[0].endsWith("] [TX] BloquearSAT(313799,)"));
        QVERIFY(linhas[1].endsWith("] [RX] 313799|16000|Equipamento SAT bloqueado com sucesso||"));
        QVERIFY(linhas[2].endsWith("] [TX] DesbloquearSAT(8610483,)"));
        QVERIFY(linhas[3].endsWith(QStringLiteral("] [RX] 8610483|17005|SAT já desbloqueado||")));
        // The last call is the status refresh, whose reply paints the label.
        QCOMPARE(falsa.inteiro(0), SessaoStatus);
        QCOMPARE(status()->text(), QStringLiteral("DESCONHECIDO"));
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void respostaDeTrabalhadorNaOrdem() {
        abrirPrincipal();
        Trabalhador::iniciar([ctx = &b->ctx(), log = log()] {
            for (int i = 0; i < 50; ++i) EscreveLog(log, CorTX, QString::number(i));
            MostraResposta(*ctx, "");
        });
        QTRY_COMPARE(b->dialogos.caixas().size(), 1);
        QTRY_COMPARE(log()->document()->blockCount(), 50);
        for (int i = 0; i < 50; ++i)
            QVERIFY(
                log()->document()->findBlockByNumber(i).text().endsWith("] " + QString::number(i)));
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("Sessão: \r\nRetorno: \r\nResposta: "));
        QTRY_COMPARE(Trabalhador::vivos(), 0);
    }

    // A change aimed at a control that is gone before it runs is dropped.
    void entregaAControleQueSeFoi() {
        auto* alvo = new QLineEdit;
        QSemaphore entregue;
        std::atomic<bool> rodou{false};
        Trabalhador::iniciar([alvo, &entregue, &rodou] {
            naGui(alvo, [alvo, &rodou] {
                rodou = true;
                alvo->setText(QStringLiteral("tarde"));
            });
            entregue.release();
        });
        entregue.acquire();
        delete alvo;
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCoreApplication::processEvents();
        QVERIFY(!rodou);
    }

    void fecharEncerra_data() {
        QTest::addColumn<bool>("peloPrincipal");
        QTest::newRow("inicio") << false;
        QTest::newRow("FECHAR") << true;
    }
    void fecharEncerra() {
        QFETCH(bool, peloPrincipal);
        auto& inicial = *static_cast<TFormCodAtivacao*>(b->janela(Janela::CodAtivacao));
        QSignalSpy fim(&inicial, &TFormCodAtivacao::encerrar);
        if (peloPrincipal) {
            abrirPrincipal();
            QVERIFY(b->clicar(Janela::Principal, "BtFechar"));
        } else {
            QVERIFY(b->clicar(Janela::CodAtivacao, "BtFechar"));
        }
        QCOMPARE(fim.count(), 1);
    }

    // Every log and memo, in every window.
    void textos_data() {
        QTest::addColumn<Janela>("janela");
        QTest::addColumn<QString>("nome");
        for (Janela j : {Janela::Principal, Janela::Consultas, Janela::TesteVendaCanc,
                         Janela::AtivarSat, Janela::AssociarAssinatura, Janela::SetupAutom})
            QTest::addRow("log %d", int(j)) << j << "RichEdit1";
        for (Janela j : {Janela::AssociarAssinatura, Janela::SetupAutom, Janela::TesteFimaFim})
            QTest::addRow("memo %d", int(j)) << j << "MemoSignac";
    }
    void tabSaiDoTexto_data() {
        textos_data();
    }
    void tabSaiDoTexto() {
        QFETCH(Janela, janela);
        QFETCH(QString, nome);
        b->janela(janela)->show();
        b->janela(janela)->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b->janela(janela)));
        auto* texto = b->controle<QPlainTextEdit>(janela, qPrintable(nome));
        texto->setPlainText("abc");
        texto->setFocus();
        QVERIFY(texto->hasFocus());
        QTest::keyClick(texto, Qt::Key_Tab);
        QVERIFY(!texto->hasFocus());
        QCOMPARE(texto->toPlainText(), QStringLiteral("abc"));
    }

    // Another program pasting a copied log gets plain text, never HTML made
    // on the GUI thread.
    void copiaSoTextoSimples_data() {
        textos_data();
    }
    void copiaSoTextoSimples() {
        QFETCH(Janela, janela);
        QFETCH(QString, nome);
        auto* texto = b->controle<QPlainTextEdit>(janela, qPrintable(nome));
        texto->setPlainText("[TX] um\n[RX] dois");
        texto->selectAll();
        texto->copy();
        const QMimeData* copiado = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(copiado->formats(), QStringList{"text/plain"});
        QCOMPARE(copiado->text(), QStringLiteral("[TX] um\n[RX] dois"));
        QTextCursor parte(texto->document());
        parte.setPosition(12);
        parte.setPosition(5, QTextCursor::KeepAnchor);
        texto->setTextCursor(parte);
        texto->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("um\n[RX]"));
    }

    // A reply too long to lay out shows a screenful; copying its line, from
    // anywhere in it, gives the whole reply.
    void respostaCortadaCopiadaInteira() {
        const QString resposta = QString(LimiteTrechoLog, 'x') + QStringLiteral("|fim");
        chamadaComLog(b->ctx(), log(), QStringLiteral("Consulta"), [&] { return resposta; });
        QVERIFY(!log()->document()->lastBlock().text().endsWith(QStringLiteral("|fim")));
        QTextCursor linha(log()->document()->lastBlock());
        linha.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 3);
        linha.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        log()->setTextCursor(linha);
        log()->copy();
        QVERIFY(QGuiApplication::clipboard()->text().endsWith("] [RX] " + resposta));
    }

    // Typing and pasting stop at a 2048-bit key's signature; a 4096-bit
    // key's, put in by the program, stays whole.
    void memoDeAssinatura_data() {
        QTest::addColumn<Janela>("janela");
        for (Janela j : {Janela::AssociarAssinatura, Janela::SetupAutom, Janela::TesteFimaFim})
            QTest::addRow("%d", int(j)) << j;
    }
    void memoDeAssinatura() {
        QFETCH(Janela, janela);
        b->janela(janela)->show();
        auto* memo = b->controle<QPlainTextEdit>(janela, "MemoSignac");
        memo->clear();
        memo->setFocus();
        QTest::keyClicks(memo, QString(350, 'A'));
        QCOMPARE(memo->toPlainText().size(), 344);
        QTest::keyClick(memo, Qt::Key_Return);
        QCOMPARE(memo->toPlainText().size(), 344);
        memo->selectAll();
        QTest::keyClicks(memo, "B");
        QCOMPARE(memo->toPlainText(), QStringLiteral("B"));
        QGuiApplication::clipboard()->setText(QString(400, 'D'));
        memo->paste();
        QCOMPARE(memo->toPlainText().size(), 344);
        memo->setPlainText(QString(684, 'C'));
        QCOMPARE(memo->toPlainText().size(), 684);
    }

    void logFicaNaMargemEsquerda_data() {
        QTest::addColumn<Janela>("janela");
        for (Janela j : {Janela::Principal, Janela::TesteVendaCanc, Janela::AssociarAssinatura})
            QTest::addRow("%d", int(j)) << j;
    }
    void logFicaNaMargemEsquerda() {
        QFETCH(Janela, janela);
        b->janela(janela)->show();
        auto* log = b->controle<QPlainTextEdit>(janela, "RichEdit1");
        log->resize(300, log->height());
        EscreveLog(log, CorRX, "[RX] " + QString(2000, 'x'), {true, true});
        QCoreApplication::processEvents();
        QVERIFY(log->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(log->horizontalScrollBar()->value(), log->horizontalScrollBar()->minimum());
    }

    // Shows the text in the real box and looks at the box before pressing OK.
    void naCaixaReal(const QString& texto, const std::function<void(QWidget*)>& olhar) {
        QTimer vigia;
        QObject::connect(&vigia, &QTimer::timeout, [&] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d) return;
            vigia.stop();
            olhar(d);
            d->findChild<QPushButton*>()->click();
        });
        vigia.start(10);
        DialogosQt().erro(texto);
    }

    // A very long reply in the real box: it fits the screen and OK is in reach.
    void caixaCabeNaTela() {
        const QRect tela = QGuiApplication::primaryScreen()->availableGeometry();
        QRect caixa, ok;
        naCaixaReal(QString("palavra ").repeated(5000), [&](QWidget* d) {
            caixa = QRect(d->mapToGlobal(QPoint(0, 0)), d->size());
            auto* botao = d->findChild<QPushButton*>();
            if (botao->isVisible()) ok = QRect(botao->mapToGlobal(QPoint(0, 0)), botao->size());
        });
        QVERIFY2(tela.contains(caixa), qPrintable(QDebug::toString(caixa)));
        QVERIFY(!ok.isEmpty() && caixa.contains(ok));
    }

    // A reply of megabytes: the box shows its start and says how much is left.
    void caixaComRespostaEnorme() {
        QString mostrado;
        naCaixaReal("1|10000" + QString(4 << 20, 'x'), [&](QWidget* d) {
            for (QLabel* l : d->findChildren<QLabel*>()) mostrado += l->text();
        });
        QVERIFY(mostrado.startsWith("1|10000xxx"));
        QVERIFY2(mostrado.size() < 9000, qPrintable(QString::number(mostrado.size())));
        QVERIFY(mostrado.endsWith(QStringLiteral("[... mais 4.186.311 caracteres não mostrados]")));
    }

    // A message of a few lines, one longer than the box may be wide, shows
    // whole, wrapped at the box's bound: no scroll bar.
    void caixaDeVariasLinhasMostraTudo() {
        bool barra = true;
        naCaixaReal(QStringLiteral("O openssl não terminou de converter o certificado em 30 s: "
                                   "/tmp/tool-sat-tivoro-a1b2c3/certificado_convertido.pem\n"
                                   "O processo foi encerrado."),
                    [&](QWidget* d) {
                        auto* area = d->findChild<QScrollArea*>();
                        barra = area->horizontalScrollBar()->isVisible() ||
                                area->verticalScrollBar()->isVisible();
                    });
        QVERIFY(!barra);
    }

    // Qt's own dialogs speak Portuguese, with the translation the preparation
    // script installs.
    void dialogosDoQtEmPortugues() {
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"),
                 QStringLiteral("Procurar em:"));
    }

    // A close from the window manager leaves the start window, and the
    // program, as they are; "Fechar" still ends it.
    void inicioNaoFechaPeloGerenciadorDeJanelas() {
        auto* inicio = static_cast<TFormCodAtivacao*>(b->janela(Janela::CodAtivacao));
        inicio->show();
        QVERIFY(QTest::qWaitForWindowExposed(inicio));
        QSignalSpy encerrou(inicio, &TFormCodAtivacao::encerrar);
        QCloseEvent doGerenciador;
        QCoreApplication::sendEvent(inicio->windowHandle(), &doGerenciador);
        QVERIFY(inicio->isVisible());
        QCOMPARE(encerrou.count(), 0);
        QVERIFY(b->clicar(Janela::CodAtivacao, "BtFechar"));
        QCOMPARE(encerrou.count(), 1);
    }

    // Escape closes a window as it closes a box; not the two whose close ends
    // the program.
    void escFechaAJanela_data() {
        QTest::addColumn<Janela>("janela");
        QTest::addColumn<bool>("fecha");
        QTest::addRow("inicial") << Janela::CodAtivacao << false;
        QTest::addRow("principal") << Janela::Principal << false;
        for (Janela j : {Janela::ConfRede, Janela::TrocarCodigo, Janela::Consultas,
                         Janela::TesteVendaCanc, Janela::AssociarAssinatura, Janela::AtivarSat,
                         Janela::SetupAutom, Janela::ConhecendoSAT})
            QTest::addRow("%d", int(j)) << j << true;
    }
    void escFechaAJanela() {
        QFETCH(Janela, janela);
        QFETCH(bool, fecha);
        QWidget* w = b->janela(janela);
        b->ctx().mostrar(janela);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Escape);
        QCOMPARE(w->isVisible(), !fecha);
    }

    // Return in a window's last field presses its main button.
    void enterNoUltimoCampo_data() {
        QTest::addColumn<Janela>("janela");
        QTest::addColumn<QString>("escolha");  // a radio button to select first
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("botao");
        auto linha = [](Janela j, const char* escolha, const char* campo, const char* botao) {
            QTest::addRow("%s", campo) << j << escolha << campo << botao;
        };
        linha(Janela::CodAtivacao, "", "txtCodAtivacao", "BtIniciar");
        linha(Janela::TrocarCodigo, "", "EdConfNovoCod", "BtEnviar");
        linha(Janela::AtivarSat, "", "CBoxUF", "BtEnviar");
        linha(Janela::AssociarAssinatura, "", "Edit1", "Button1");
        linha(Janela::SetupAutom, "", "Edit1", "BtExecutar");
        linha(Janela::Consultas, "", "EdNumeroSessao", "BtConsultarNumSes");
        linha(Janela::TesteVendaCanc, "", "EdLocalArquivo", "BtEnviar");
        linha(Janela::ConfRede, "RdBIpFixo", "MaskEdDNSAlt", "BtEnviar");
        linha(Janela::ConfRede, "RdBProxyConfiguracao", "EdProxySenha", "BtEnviar");
    }
    void enterNoUltimoCampo() {
        QFETCH(Janela, janela);
        QFETCH(QString, escolha);
        QFETCH(QString, campo);
        QFETCH(QString, botao);
        b->ctx().mostrar(janela);
        if (!escolha.isEmpty()) QVERIFY(b->marcar(janela, qPrintable(escolha)));
        QSignalSpy clicado(b->controle<QPushButton>(janela, qPrintable(botao)),
                           &QPushButton::clicked);
        QWidget* alvo = b->controle<QWidget>(janela, qPrintable(campo));
        if (auto* lista = qobject_cast<QComboBox*>(alvo)) alvo = lista->lineEdit();
        alvo->setFocus();
        QTest::keyClick(alvo, Qt::Key_Return);
        QCOMPARE(clicado.count(), 1);
    }

    void janelasComSeusTitulos() {
        QCOMPARE(b->janela(Janela::CodAtivacao)->windowTitle(),
                 QStringLiteral("TOOL SAT Tivoro  - Tivoro Tecnologia"));
        QCOMPARE(b->janela(Janela::Principal)->windowTitle(), QStringLiteral("TOOL SAT Tivoro"));
        const Qt::WindowFlags botoes = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                       Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint;
        QVERIFY(!(b->janela(Janela::CodAtivacao)->windowFlags() & botoes));
        for (Janela j : {Janela::ConfRede, Janela::TrocarCodigo, Janela::Consultas,
                         Janela::TesteVendaCanc, Janela::AssociarAssinatura, Janela::AtivarSat,
                         Janela::SetupAutom, Janela::ConhecendoSAT, Janela::TesteFimaFim}) {
            QVERIFY(b->janela(j)->windowTitle().startsWith("TOOL SAT"));
            QVERIFY(!b->janela(j)->isVisible());
        }
    }
};

QTEST_MAIN(TstInicial)
#include "tst_inicial.moc"
