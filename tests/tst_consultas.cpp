#include <sys/resource.h>

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>
#include <csignal>

#include "core/Trabalhador.h"
#include "operations/TFormConsultas.h"
#include "tests/apoio/Ambiente.h"
#include "tests/apoio/FifoTeste.h"
#include "tests/apoio/RegistroHabilitacao.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/DialogosQt.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

namespace {
const QByteArray RespostaSat = "313799|08000|SAT em opera\xe7\xe3o||";

// An ExtrairLogs reply carrying these log bytes.
QByteArray respostaComLog(const QByteArray& log) {
    return "313799|15000|Transfer\xeancia completa|||" + log.toBase64();
}

// The override cursor's shape seen from inside the library call.
int s_cursorNaChamada = -1;
const char* verCursor(const char*, const int*, const char* const*) {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    s_cursorNaChamada = cursor ? cursor->shape() : -1;
    return RespostaSat.constData();
}

QString textoDoBloco(QPlainTextEdit* log, int n) {
    return log->document()->findBlockByNumber(n).text();
}
QByteArray conteudo(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

// The queries window against a stand-in library whose replies the test sets.
class TstConsultas : public TesteFalso {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> pasta;

    TFormConsultas& janela() { return *static_cast<TFormConsultas*>(b->janela(Janela::Consultas)); }
    QPlainTextEdit* log() { return janela().log(); }
    template <typename T>
    T* controle(const char* nome) {
        return b->controle<T>(Janela::Consultas, nome);
    }
    bool clicar(const char* botao) { return b->clicar(Janela::Consultas, botao); }
    QString caminho(const QString& nome) { return pasta->filePath(nome); }

    // Extraction until the worker has ended and handed its last changes over.
    void extrair() {
        QVERIFY(clicar("BtExtrairLogs"));
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        // Its changes were all handed over before it ended.
        QCoreApplication::processEvents();
        QVERIFY(controle<QPushButton>("BtExtrairLogs")->isEnabled());
    }
    void salvarEm(const QString& arquivo) {
        b->dialogos.responderArquivo(arquivo);
        QVERIFY(clicar("BtSalvarLog"));
    }

    void preparar() override {
        pasta = std::make_unique<QTemporaryDir>();
        falsa.responder(RespostaSat);
        b->ctx().setCodigoAtivacao("12345678");
        b->janela(Janela::Principal)->show();
        QVERIFY(b->clicar(Janela::Principal, "BtConsultas"));
        QVERIFY(janela().isVisible());
        b->ctx().aleatorio.reiniciar();
    }

  private Q_SLOTS:
    void tresConsultasNoFimDoLog() {
        QCOMPARE(log()->toPlainText(), QString());
        QVERIFY(clicar("BtConsultarSat"));
        QCOMPARE(falsa.inteiro(0), 313799);
        const QByteArray status = "8610483|10000|Resposta com Sucesso|||900004019|DHCP|";
        falsa.responder(status);
        QVERIFY(clicar("BtConsultarStatusOp"));
        QCOMPARE(falsa.inteiro(0), 8610483);
        QCOMPARE(falsa.argumento(1), QByteArray("12345678"));
        // Wherever the user left the caret, the lines go at the end.
        QTextCursor inicio = log()->textCursor();
        inicio.movePosition(QTextCursor::Start);
        log()->setTextCursor(inicio);
        falsa.responder("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE");
        controle<QLineEdit>("EdNumeroSessao")->setText("42");
        QVERIFY(clicar("BtConsultarNumSes"));
        QCOMPARE(falsa.inteiro(0), 2025809);
        QCOMPARE(falsa.argumento(1), QByteArray("12345678"));
        QCOMPARE(falsa.inteiro(2), 42);

        const QStringList linhas = log()->toPlainText().split('\n');
        QCOMPARE(linhas.size(), 6);
        QVERIFY(linhas[0].startsWith('['));
        QVERIFY(linhas[0].endsWith("] [TX] ConsultarSAT(313799)"));
        QVERIFY(linhas[1].endsWith("] [RX] " + DllSat::deWin1252(RespostaSat)));
        QVERIFY(linhas[2].endsWith("] [TX] ConsultarStatusOperacional(8610483)"));
        QVERIFY(linhas[3].endsWith("] [RX] " + DllSat::deWin1252(status)));
        QVERIFY(linhas[4].endsWith("] [TX] ConsultarNumeroSessao(2025809)"));
        QVERIFY(linhas[5].endsWith("] [RX] " + TextoPortaNaoPronta));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(CorDaLinha(log(), i), i % 2 ? QColor(0, 0, 255) : QColor(0, 128, 0));
        QCOMPARE(b->ctx().estado.RespostaSAT(), TextoPortaNaoPronta);
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void statusComCodigoVazioAindaConsulta() {
        b->ctx().setCodigoAtivacao(QString());
        QVERIFY(clicar("BtConsultarStatusOp"));
        QVERIFY(falsa.argumentoNulo(1));
        QCOMPARE(log()->document()->blockCount(), 2);
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void numeroDeSessaoRecusado() {
        b->ctx().setCodigoAtivacao(QString());
        controle<QLineEdit>("EdNumeroSessao")->setText(QString());
        const int antes = falsa.chamadas();
        QVERIFY(clicar("BtConsultarNumSes"));
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("SAT ainda não ativado!"));
        QCOMPARE(b->dialogos.ultima().titulo, QStringLiteral("Tivoro Tecnologia - SAT KT-470e"));

        b->ctx().setCodigoAtivacao("12345678");
        controle<QLineEdit>("EdNumeroSessao")->setText(" \t  ");
        QVERIFY(clicar("BtConsultarNumSes"));
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("Preencha o campo numero de sessão!"));
        QCOMPARE(b->dialogos.caixas().size(), 2);
        QCOMPARE(falsa.chamadas(), antes);
        QVERIFY(log()->document()->isEmpty());

        // The refused queries took one draw each (the first, 0, and 313799);
        // the next query's draw is the fourth of the run.
        controle<QLineEdit>("EdNumeroSessao")->setText("7");
        QVERIFY(clicar("BtConsultarNumSes"));
        QCOMPARE(falsa.inteiro(0), 8610483);
    }

    void primeiroSorteioZeroEhRefeito() {
        controle<QLineEdit>("EdNumeroSessao")->setText("7");
        QVERIFY(clicar("BtConsultarNumSes"));
        QCOMPARE(falsa.inteiro(0), 313799);
        QVERIFY(log()->document()->findBlockByNumber(0).text().endsWith("(313799)"));
    }

    void numeroConvertido_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("numero");
        QTest::newRow("sete digitos") << "9999999" << 9999999;
        QTest::newRow("brancos antes") << "   12" << 12;
        QTest::newRow("sinal") << "-45" << -45;
        QTest::newRow("mais") << "+0" << 0;
    }
    void numeroConvertido() {
        QFETCH(QString, texto);
        QFETCH(int, numero);
        controle<QLineEdit>("EdNumeroSessao")->setText(texto);
        QVERIFY(clicar("BtConsultarNumSes"));
        QCOMPARE(falsa.inteiro(2), numero);
        QCOMPARE(log()->document()->blockCount(), 2);
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void numeroInvalidoDepoisDoTX_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("letra") << "12a";
        QTest::newRow("branco no meio") << "1 2";
        QTest::newRow("branco no fim") << "12 ";
        QTest::newRow("so sinal") << " -";
        QTest::newRow("hexadecimal") << "$FF";
    }
    void numeroInvalidoDepoisDoTX() {
        QFETCH(QString, texto);
        controle<QLineEdit>("EdNumeroSessao")->setText(texto);
        const int antes = falsa.chamadas();
        QVERIFY(clicar("BtConsultarNumSes"));
        QCOMPARE(falsa.chamadas(), antes);
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, "'" + texto + "' is not a valid integer value.");
        QCOMPARE(log()->document()->blockCount(), 1);
        QVERIFY(log()->toPlainText().endsWith("] [TX] ConsultarNumeroSessao(313799)"));
    }

    void campoAceitaSeteCaracteres() {
        controle<QLineEdit>("EdNumeroSessao")->clear();
        QTest::keyClicks(controle<QLineEdit>("EdNumeroSessao"), "123456789");
        QCOMPARE(controle<QLineEdit>("EdNumeroSessao")->text(), QStringLiteral("1234567"));
    }

    void limparEReabrir() {
        QVERIFY(clicar("BtConsultarSat"));
        QVERIFY(clicar("BtLimpar"));
        QVERIFY(log()->document()->isEmpty());
        QVERIFY(clicar("BtConsultarSat"));
        QVERIFY(log()->toPlainText().startsWith('['));
        controle<QLineEdit>("EdNumeroSessao")->setText("55");
        QVERIFY(clicar("BtCancelar"));
        QVERIFY(!janela().isVisible());
        QVERIFY(b->clicar(Janela::Principal, "BtConsultas"));
        QVERIFY(log()->document()->isEmpty());
        QCOMPARE(controle<QLineEdit>("EdNumeroSessao")->text(), QStringLiteral("55"));
        QTRY_VERIFY(controle<QPushButton>("BtConsultarSat")->hasFocus());
    }

    void fecharAtualizaStatusSemLog_data() {
        QTest::addColumn<bool>("pelaCaixa");
        QTest::newRow("Cancelar") << false;
        QTest::newRow("caixa de fechar") << true;
    }
    void fecharAtualizaStatusSemLog() {
        QFETCH(bool, pelaCaixa);
        QVERIFY(clicar("BtConsultarSat"));
        const QString antes = log()->toPlainText();
        b->ctx().estado.setStatusConexao(StatusConectado);
        falsa.responder("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE");
        if (pelaCaixa)
            janela().close();
        else
            QVERIFY(clicar("BtCancelar"));
        QCOMPARE(falsa.inteiro(0), SessaoStatus);
        QCOMPARE(b->ctx().estado.StatusConexao(), StatusDesconectado);
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->controle<QLabel>(Janela::Principal, "LbStatusCom")->text(), StatusDesconectado);
        QVERIFY(b->controle<QPlainTextEdit>(Janela::Principal, "RichEdit1")->document()->isEmpty());
        QCOMPARE(log()->toPlainText(), antes);
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void extracaoComCodigoVazio() {
        b->ctx().setCodigoAtivacao(QString());
        const QByteArray bytes = "linha 1\nlinha 2 \xc3\xa7\xc3\xa3o\r\nfim";
        falsa.responder(respostaComLog(bytes));
        RegistroHabilitacao registro;
        const QList<QWidget*> controles{controle<QPushButton>("BtConsultarSat"),
                                        controle<QPushButton>("BtConsultarStatusOp"),
                                        controle<QPushButton>("BtConsultarNumSes"),
                                        controle<QPushButton>("BtCancelar"),
                                        controle<QPushButton>("BtExtrairLogs"),
                                        controle<QPushButton>("BtSalvarLog"),
                                        controle<QPushButton>("BtLimpar"),
                                        controle<QLineEdit>("EdNumeroSessao"),
                                        janela().log()};
        QStringList esperado;
        for (QWidget* w : controles) {
            registro.vigiar(w);
            esperado << '-' + w->objectName();
        }
        for (QWidget* w : controles) esperado << '+' + w->objectName();
        QCOMPARE(janela().LogExtraido, 0);
        extrair();
        QCOMPARE(janela().LogExtraido, 1);
        QCOMPARE(registro.eventos, esperado);
        QCOMPARE(falsa.inteiro(0), 313799);
        QCOMPARE(falsa.argumento(1), QByteArray("24681357"));
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral("24681357"));
        QCOMPARE(b->ctx().inicial().RetornoLog(), DllSat::deWin1252(respostaComLog(bytes)));
        QCOMPARE(b->ctx().estado.CampoA(), QString());

        // TX line, no RX line, the log in black from a line of its own.
        QCOMPARE(log()->document()->blockCount(), 4);
        QVERIFY(textoDoBloco(log(), 0).endsWith("] [TX] ExtrairLogs(313799)"));
        QCOMPARE(CorDaLinha(log(), 0), QColor(0, 128, 0));
        QCOMPARE(textoDoBloco(log(), 1), QStringLiteral("linha 1"));
        QCOMPARE(textoDoBloco(log(), 2), QStringLiteral("linha 2 ção"));
        QCOMPARE(textoDoBloco(log(), 3), QStringLiteral("fim"));
        for (int i = 1; i < 4; ++i) QCOMPARE(CorDaLinha(log(), i), QColor(0, 0, 0));

        // The placeholder is now the code in use.
        controle<QLineEdit>("EdNumeroSessao")->setText("3");
        QVERIFY(clicar("BtConsultarNumSes"));
        QCOMPARE(falsa.argumento(1), QByteArray("24681357"));
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void extracaoSemLog_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<bool>("linhaRX");
        QTest::newRow("recusada") << QByteArray(
                                         "313799|15001|C\xf3"
                                         "digo de ativa\xe7\xe3o inv\xe1lido||")
                                  << true;
        QTest::newRow("nula") << QByteArray() << true;
        QTest::newRow("com quebras") << QByteArray("313799|15000|ok|||YWJj\nZGVm") << false;
        QTest::newRow("texto de erro")
            << QByteArray("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE") << true;
    }
    void extracaoSemLog() {
        QFETCH(QByteArray, resposta);
        QFETCH(bool, linhaRX);
        falsa.responder(resposta);
        extrair();
        QStringList esperado{"] [TX] ExtrairLogs(313799)"};
        // Either the reply, or the log the device gave, even when empty.
        esperado << (linhaRX ? "] [RX] (313799)" + DllSatFalsa::comoChega(resposta) : QString());
        const QStringList linhas = log()->toPlainText().split('\n');
        QCOMPARE(linhas.size(), esperado.size());
        for (int i = 0; i < linhas.size(); ++i)
            QVERIFY2(linhas[i].endsWith(esperado[i]), qPrintable(linhas[i]));
        if (linhaRX) QCOMPARE(CorDaLinha(log(), 1), QColor(0, 0, 255));
        QVERIFY(janela().log()->isEnabled());

        // A later save writes a bare line break.
        salvarEm(caminho("vazio.txt"));
        QCOMPARE(conteudo(caminho("vazio.txt")), QByteArray("\r\n"));
    }

    // The device unplugged after a good extraction: its reply shows, and the
    // good log is still the one saved.
    void extracaoQueFalhaGuardaOLogAnterior() {
        falsa.responder(respostaComLog("bom\n"));
        extrair();
        falsa.responder(DllSatFalsa::PortaNaoPronta);
        extrair();
        const QString ultima = log()->toPlainText().section('\n', -1);
        QVERIFY2(
            ultima.contains("[RX] (") &&
                ultima.endsWith(QStringLiteral(")PORTA SERIAL NãO ESTá PRONTA, TENTE NOVAMENTE")),
            qPrintable(ultima));
        salvarEm(caminho("bom.txt"));
        QCOMPARE(conteudo(caminho("bom.txt")), QByteArray("bom\r\n\r\n"));
    }

    // A library that never answers on the worker: past the limit the call
    // ends as TIMEOUT with a box, the window is usable, the next call works.
    void extracaoQueTravaTerminaNoLimite() {
        {
            const Ambiente a{{"DLLSAT_FALSO_FALHA", "ExtrairLogs:travar"},
                             {"SAT_TEMPO_LIMITE", "1"}};
            b = std::make_unique<Bancada>(DLLSAT_TIVORO);
            b->ctx().setCodigoAtivacao("24681357");
            janela().show();
            extrair();
        }
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QVERIFY(b->dialogos.ultima().texto.startsWith(
            QStringLiteral("A biblioteca do fabricante não respondeu a ExtrairLogs em 1 s")));
        QVERIFY(log()->toPlainText().endsWith(")TIMEOUT"));
        extrair();
        QVERIFY(log()->toPlainText().endsWith(QStringLiteral(")1|08000|SAT em operação||")));
    }

    void logGrandeInteiroEForaDoUtf8() {
        // Far beyond the 64K characters of the original control, shown in
        // several pieces, with both kinds of line end, and not UTF-8.
        QByteArray bytes;
        for (int i = 0; i < 60000; ++i)
            bytes += "registro " + QByteArray::number(i) + " caf\xe9" + (i % 3 ? "\n" : "\r\n");
        falsa.responder(respostaComLog(bytes));
        extrair();
        const QString esperado = DllSat::deWin1252(QByteArray(bytes).replace("\r\n", "\n"));
        QCOMPARE(log()->document()->blockCount(), 60002);
        QCOMPARE(log()->toPlainText().section('\n', 1), esperado);
        QVERIFY(esperado.contains(QStringLiteral("café")));
        // Saved as the bytes the device gave, only with Windows line ends.
        salvarEm(caminho("grande.txt"));
        QByteArray salvo = bytes;
        salvo.replace("\n", "\r\n");
        QCOMPARE(conteudo(caminho("grande.txt")), salvo + "\r\n");
    }

    void salvarAntesDeExtrair() {
        b->dialogos.responderArquivo(caminho("nao.txt"));
        QVERIFY(clicar("BtSalvarLog"));
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("Extraia o Log antes de salva-lo."));
        QVERIFY(b->dialogos.dialogosArquivo().isEmpty());
        QVERIFY(!QFile::exists(caminho("nao.txt")));
    }

    void salvarAcrescentaComQuebrasDoWindows() {
        const QByteArray bytes = "a\nb\r\nc\n";
        falsa.responder(respostaComLog(bytes));
        extrair();
        // The save reads the kept reply, not the view.
        QVERIFY(clicar("BtLimpar"));
        falsa.responder(RespostaSat);

        const QString arquivo = caminho("log.txt");
        {
            QFile f(arquivo);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("antes\r\n");
        }
        salvarEm(arquivo);
        const QList<PortaDialogos::Arquivo> dialogos = b->dialogos.dialogosArquivo();
        QCOMPARE(dialogos.size(), 1);
        QCOMPARE(dialogos[0].titulo, QStringLiteral("Salve o arquivo de log do SAT Tivoro"));
        QCOMPARE(dialogos[0].filtro, QStringLiteral("Text file (*.txt);;Word file (*.doc)"));
        QCOMPARE(dialogos[0].extensao, QStringLiteral("txt"));
        QCOMPARE(dialogos[0].pasta, QDir::currentPath());
        const QByteArray uma = "a\r\nb\r\r\nc\r\n\r\n";
        QCOMPARE(conteudo(arquivo), "antes\r\n" + uma);
        salvarEm(arquivo);
        QCOMPARE(conteudo(arquivo), "antes\r\n" + uma + uma);
        // A cancelled dialog writes nothing.
        QVERIFY(clicar("BtSalvarLog"));
        QCOMPARE(conteudo(arquivo), "antes\r\n" + uma + uma);
        QVERIFY(b->dialogos.caixas().isEmpty());
        QCOMPARE(b->ctx().estado.CampoA(), QString());
    }

    void dialogoRealNaoPerguntaSeSubstitui() {
        falsa.responder(respostaComLog("abc\n"));
        extrair();
        QVERIFY(clicar("BtSalvarLog"));
        const PortaDialogos::Arquivo pedido = b->dialogos.dialogosArquivo().value(0);
        // The real dialog with what the window asked for: the file is appended
        // to, so a question about replacing it would be wrong.
        bool pergunta = true;
        QString filtro;
        // Its icons come from names only: a file such as /proc/kmsg never
        // answers a read. This one's contents say PNG, its name nothing.
        const QFileInfo semNome(caminho("imagem"));
        QFile png(semNome.filePath());
        QVERIFY(png.open(QIODevice::WriteOnly));
        png.write(QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));
        png.close();
        QString tipo;
        QTimer vigia;
        QObject::connect(&vigia, &QTimer::timeout, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            vigia.stop();
            pergunta = !d->testOption(QFileDialog::DontConfirmOverwrite);
            filtro = d->selectedNameFilter();
            tipo = d->iconProvider()->type(semNome);
            d->reject();
        });
        vigia.start(10);
        DialogosQt reais;
        QCOMPARE(reais.salvarArquivo(pedido), QString());
        QVERIFY(!pergunta);
        QCOMPARE(filtro, QStringLiteral("Text file (*.txt)"));
        const QMimeType peloConteudo =
            QMimeDatabase().mimeTypeForFile(semNome, QMimeDatabase::MatchContent);
        QCOMPARE(peloConteudo.name(), QStringLiteral("image/png"));
        QVERIFY2(tipo != peloConteudo.comment(), qPrintable(tipo));
    }

    void salvarOndeNaoDa_data() {
        QTest::addColumn<QString>("destino");
        QTest::newRow("pasta inexistente") << "nao-existe/log.txt";
        QTest::newRow("uma pasta") << ".";
        QTest::newRow("disco cheio") << "/dev/full";
    }
    void salvarOndeNaoDa() {
        QFETCH(QString, destino);
        const QString arquivo = destino.startsWith('/') ? destino : caminho(destino);
        falsa.responder(respostaComLog("abc\n"));
        extrair();
        const QStringList antes =
            QDir(pasta->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        salvarEm(arquivo);
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QVERIFY2(b->dialogos.ultima().texto.contains(QDir::toNativeSeparators(arquivo)),
                 qPrintable(b->dialogos.ultima().texto));
        QCOMPARE(QDir(pasta->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), antes);
    }

    // A pipe with nobody at the other end held the window for good.
    void salvarNumaFifoNaoEspera() {
        falsa.responder(respostaComLog("abc\n"));
        extrair();
        const FifoTeste fifo(caminho("fifo"));
        salvarEm(fifo.caminho);
        QVERIFY(!fifo.precisouLiberar());
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Não foi possível abrir o arquivo %1: não é um "
                                "arquivo comum")
                     .arg(fifo.caminho));
    }

    // A disk that fills during the write, as a file size limit makes it: the
    // system's reason, not Qt's "Unknown error", and the file as it was.
    void discoCheioDizOMotivo() {
        falsa.responder(respostaComLog(QByteArray(64 * 1024, 'x')));
        extrair();
        const QString arquivo = caminho("log.txt");
        {
            QFile f(arquivo);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("antes\r\n");
        }
        rlimit antes{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &antes), 0);
        rlimit pequeno = antes;
        pequeno.rlim_cur = 16 * 1024;
        const auto sinal = ::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &pequeno), 0);
        salvarEm(arquivo);
        ::setrlimit(RLIMIT_FSIZE, &antes);
        ::signal(SIGXFSZ, sinal);
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                     .arg(arquivo, qt_error_string(EFBIG)));
        QCOMPARE(conteudo(arquivo), QByteArray("antes\r\n"));
    }

    void fecharDuranteAExtracao() {
        falsa.responder(respostaComLog("x"));
        falsa.demora(300);
        QVERIFY(clicar("BtExtrairLogs"));
        QTRY_VERIFY(!controle<QPushButton>("BtCancelar")->isEnabled());
        QVERIFY(!b->clicar(Janela::Consultas, "BtConsultarSat"));
        janela().close();
        QVERIFY(!janela().isVisible());
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QTRY_VERIFY(controle<QPushButton>("BtCancelar")->isEnabled());
    }

    void cursorOcupadoDuranteAChamada() {
        falsa.roteiro(verCursor);
        QVERIFY(clicar("BtConsultarSat"));
        falsa.roteiro(nullptr);
        QCOMPARE(s_cursorNaChamada, int(Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void reabrirEntreOsTrechosMostraOLogTodo() {
        QByteArray bytes;
        for (int i = 0; bytes.size() < 1500000; ++i)
            bytes += "evento " + QByteArray::number(i) + '\n';
        falsa.responder(respostaComLog(bytes));
        QVERIFY(clicar("BtExtrairLogs"));
        // Each turn of the loop takes in at most one piece.
        while (log()->document()->blockCount() < 3) QCoreApplication::processEvents();
        QVERIFY(Trabalhador::vivos() > 0);
        janela().close();
        QVERIFY(b->clicar(Janela::Principal, "BtConsultas"));
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(log()->toPlainText(), '\n' + QString::fromLatin1(bytes));
    }
};

QTEST_MAIN(TstConsultas)
#include "tst_consultas.moc"
