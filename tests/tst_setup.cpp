#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "setup/SetupAtivacao.h"
#include "setup/TFormSetupAutom.h"
#include "tests/apoio/TesteJanelas.h"
#include "tests/setup/Roteiro.h"
#include "ui/CampoMascara.h"
#include "ui/Controles.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;
using Etapa = EstadoSessao::Etapa;
namespace r = respostas;

static bool operator==(const Etapa& a, const Etapa& b) {
    return a.numero == b.numero && a.texto == b.texto;
}
static char* toString(const Etapa& e) {
    return QTest::toString(QString::number(e.numero) + ", " + e.texto);
}

namespace {
const QString CnpjContr = QStringLiteral("11222333000181");
const QString CnpjSH = QStringLiteral("16716114000172");
const QString Codigo = QStringLiteral("12345678");
const QString Assinatura = QString(344, QLatin1Char('A'));
const QByteArray Recusa = "1|04001|Erro na ativa\xe7\xe3o|||";

Etapa etapa(int n, const char* texto) {
    return {n, QString::fromLatin1(texto)};
}

struct Linha {
    QString corpo;
    QColor cor;
};
}  // namespace

// The bench cycle against a scripted stand-in device: the worker run on the
// test's own thread (every pause recorded, nothing else running), then the
// window with its worker and animation on their threads.
class TstSetup : public TesteFalso {
    Q_OBJECT
    std::unique_ptr<Roteiro> roteiro;
    // Holds a call of the device until the test lets it go.
    QSemaphore m_liberar;

    TFormSetupAutom* janela() {
        return static_cast<TFormSetupAutom*>(b->janela(Janela::SetupAutom));
    }
    template <typename T>
    T* controle(const char* nome) {
        return b->controle<T>(Janela::SetupAutom, nome);
    }
    EstadoSessao& estado() { return b->ctx().estado; }
    void preencher() {
        controle<QLineEdit>("MskEdCNPJContr")->setText(CnpjContr);
        controle<QLineEdit>("MskEdCNPJSwHouse")->setText(CnpjSH);
        controle<QLineEdit>("EdCodAtivacao")->setText(Codigo);
        controle<QPlainTextEdit>("MemoSignac")->setPlainText(Assinatura);
    }
    // The worker on this thread, from the start of a run to its end.
    void rodarAqui() {
        const int execucao = estado().iniciarExecucaoSetup();
        estado().publicarEtapa(execucao, 1, QStringLiteral("SAT CONECTADO"));
        SetupAtivacao(b->ctx(), *janela(), execucao).executar();
    }
    QList<Linha> linhas() {
        QList<Linha> resultado;
        const QTextDocument* doc = controle<QPlainTextEdit>("RichEdit1")->document();
        for (QTextBlock bloco = doc->begin(); bloco.isValid(); bloco = bloco.next()) {
            const QString texto = bloco.text();
            const QColor cor = bloco.begin().fragment().charFormat().foreground().color();
            resultado.append({texto.mid(texto.indexOf(QLatin1String("] ")) + 2), cor});
        }
        return resultado;
    }
    QStringList corpos() {
        QStringList c;
        for (const Linha& l : linhas()) c << l.corpo;
        return c;
    }
    QStringList imagensVisiveis() {
        QStringList nomes;
        for (QLabel* l : controle<QGroupBox>("GroupBox2")->findChildren<QLabel*>())
            if (l->objectName().startsWith(QLatin1String("Img")) && !l->isHidden())
                nomes << l->objectName();
        nomes.sort();
        return nomes;
    }
    // The visible images, the blinking step's blue or yellow counted as one.
    QStringList imagensSemPiscar(const QString& piscando) {
        QStringList nomes = imagensVisiveis();
        const int antes = nomes.size();
        nomes.removeAll(piscando + "Azul");
        nomes.removeAll(piscando + "Amarelo");
        if (nomes.size() == antes - 1) nomes << piscando + "*";
        nomes.sort();
        return nomes;
    }
    // The step's blue or yellow image is shown: the animation follows it.
    bool piscando(const QString& passo) {
        return lerNaGui<bool>(janela(), [this, passo] {
            for (const char* cor : {"Azul", "Amarelo"})
                if (!janela()->findChild<QLabel*>(passo + cor)->isHidden()) return true;
            return false;
        });
    }
    // Holds the device at that call until the panel blinks on the step: the
    // scaled-down clock would otherwise outrun the animation's half-periods.
    void segurarAtePiscar(const QString& funcao, int n, const QString& passo) {
        roteiro->quando(funcao, n, [this, passo] {
            QDeadlineTimer limite(10000);
            while (!piscando(passo) && !limite.hasExpired()) QThread::msleep(1);
        });
    }
    void acompanharCiclo() {
        segurarAtePiscar("AtivarSAT", 1, "ImgAtivandoSAT");
        segurarAtePiscar("AssociarAssinatura", 1, "ImgAssociandoAssinatura");
        // The first ConsultarSAT is the window's own check.
        segurarAtePiscar("ConsultarSAT", 2, "ImgReiniciandoSAT");
        segurarAtePiscar("TesteFimAFim", 1, "ImgTFimaFIM");
        segurarAtePiscar("ConsultarSAT", 3, "ImgProximoSAT");
    }
    void abrir() {
        janela()->show();
        QVERIFY(janela()->isVisible());
    }
    void executar() {
        preencher();
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
    }

    void preparar() override {
        m_liberar.acquire(m_liberar.available());
        roteiro = std::make_unique<Roteiro>(DLLSAT_TIVORO, &b->ctx().estado);
        b->ctx().inicial().setCodigoAtivacao(QStringLiteral("codigo antigo"));
    }
    void encerrar() override {
        m_liberar.release(10);
        if (janela()->isVisible()) janela()->close();
        estado().pararExecucaoSetup();
        // The script goes after the last worker that may be inside it.
        QTRY_COMPARE_WITH_TIMEOUT(Trabalhador::vivos(), 0, 10000);
        roteiro.reset();
    }

  private Q_SLOTS:
    // Two devices on the bench: everything the first cycle does, in order, and
    // the second device's refusal.
    void doisDispositivosEmSequencia() {
        roteiro->definir("ConsultarSAT", {r::SemSat, r::Conectado, r::Conectado, r::SemSat,
                                          r::SemSat, r::Timeout, r::Conectado});
        roteiro->definir("ConsultarStatusOperacional", {r::status("900004020")});
        roteiro->definir("AtivarSAT", {r::Ativado, Recusa});
        preencher();
        controle<QComboBox>("CBoxUF")->setCurrentIndex(18);  // RJ
        b->ctx().aleatorio.reiniciar();
        rodarAqui();

        GeradorAleatorio g;
        const int s1 = g.sessaoNova(), sAssoc = g.sessaoAleatoria(), sTeste = g.sessaoAleatoria(),
                  sRemocao = g.sessaoAleatoria(), sInsercao = g.sessaoAleatoria(),
                  s2 = g.sessaoAleatoria();
        const QList<Roteiro::Chamada> c = roteiro->chamadas();
        QCOMPARE(roteiro->funcoes(),
                 QStringList({"AtivarSAT", "AssociarAssinatura", "ConsultarSAT", "ConsultarSAT",
                              "TesteFimAFim", "ConsultarSAT", "ConsultarSAT", "ConsultarSAT",
                              "ConsultarSAT", "ConsultarSAT", "ConsultarStatusOperacional",
                              "AtivarSAT"}));
        const QList<int> sessoes{s1,       sAssoc,    sAssoc,    sAssoc,    sTeste, sRemocao,
                                 sRemocao, sInsercao, sInsercao, sInsercao, s2,     s2};
        for (int i = 0; i < c.size(); ++i) QCOMPARE(c[i].sessao, sessoes[i]);
        QCOMPARE(c[0].textos.mid(1, 2),
                 QList<QByteArray>({Codigo.toLatin1(), CnpjContr.toLatin1()}));
        QCOMPARE(c[0].uf, 33);
        QCOMPARE(c[1].textos.mid(0, 3),
                 QList<QByteArray>(
                     {Codigo.toLatin1(), (CnpjSH + CnpjContr).toLatin1(), Assinatura.toLatin1()}));
        const QByteArray cupom = c[4].textos[1];
        QCOMPARE(cupom.size(), 1182);
        QVERIFY(
            cupom.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?><CFe><infCFe "
                             "versaoDadosEnt=\"0.07\"><ide><CNPJ>00000000000000</CNPJ>"));
        const QByteArray assinaturaZero =
            "<signAC>" + QByteArray(344, '0') + "</signAC><numeroCaixa>001<";
        QVERIFY(cupom.contains(assinaturaZero));
        QVERIFY(cupom.endsWith("<vMP>12.00</vMP></MP></pgto></infCFe></CFe>"));
        QVERIFY(c[10].textos[0].isNull());

        // The pair each call saw: the published steps, in order.
        const QList<Etapa> etapas{
            etapa(1, "SAT CONECTADO"), etapa(2, "SAT ATIVO"),      etapa(3, "SAT ASSINADO"),
            etapa(3, "SAT ASSINADO"),  etapa(4, "SAT REINICIADO"), etapa(5, "SAT TESTADO"),
            etapa(5, "SAT TESTADO"),   etapa(5, "SAT TESTADO"),    etapa(5, "SAT TESTADO"),
            etapa(5, "SAT TESTADO"),   etapa(1, "SAT PCONECTADO"), etapa(1, "SAT PCONECTADO")};
        for (int i = 0; i < c.size(); ++i) QCOMPARE(c[i].etapa, etapas[i]);
        QCOMPARE(estado().EtapaSetup(), etapa(2, "ERRO"));

        QCOMPARE(b->relogio.pausas(), QList<int>({500, 60000, 500, 2000, 5000, 20000, 500, 2000,
                                                  200, 2000, 200, 5000, 5000, 500, 500}));

        const QString sc = QString::number(s1), sa = QString::number(sAssoc),
                      st = QString::number(sTeste), s2c = QString::number(s2);
        const QList<QPair<QString, QColor>> esperadas{
            {"[TX] AtivarSAT(" + sc + ',' + Codigo + ',' + CnpjContr + ",33)", CorTX},
            {"[RX] " + QString::fromLatin1(r::Ativado), CorRX},
            {"[TX] Associando assinatura...", CorTX},
            {"[TX] AssociarAssinatura(" + sa + ',' + Codigo + ',' + CnpjSH + CnpjContr + ',' +
                 Assinatura + ')',
             CorTX},
            {"[RX] " + QString::fromLatin1(r::Associado), CorRX},
            {"[TX] Iniciando teste fim a fim...", CorTX},
            {"[TX] TesteFimAFim(" + st + ',' + Codigo + ',' + QString::fromLatin1(cupom) + ')',
             CorTX},
            {"[RX] " + QString::fromLatin1(r::Testado), CorRX},
            {"DESCONECTE E CONECTE OUTRO SAT PARA CONTINUAR, OU CLIQUE EM CANCELAR PARA SAIR!",
             CorRX},
            {"[TX] SAT CONECTADO...", CorRX},
            {"[TX] AtivarSAT(" + s2c + ',' + Codigo + ',' + CnpjContr + ",33)", CorTX},
            {"[RX] " + DllSat::deWin1252(Recusa), CorRX}};
        const QList<Linha> log = linhas();
        QCOMPARE(log.size(), esperadas.size());
        for (int i = 0; i < log.size(); ++i) {
            QCOMPARE(log[i].corpo, esperadas[i].first);
            QCOMPARE(log[i].cor, esperadas[i].second);
        }

        QCOMPARE(controle<QLabel>("LbConectado")->text(),
                 QStringLiteral("SAT CONECTADO NS:900004020"));
        QCOMPARE(estado().CampoB(), QStringLiteral("900004020"));
        QCOMPARE(b->ctx().CodigoAtivacao(), Codigo);
        QVERIFY(b->controle<QPushButton>(Janela::Principal, "BtTestFimAFim")->isEnabled());
        QVERIFY(b->controle<QPushButton>(Janela::Principal, "BtAssociarAssinatura")->isEnabled());
        QVERIFY(controle<QPushButton>("BtExecutar")->isEnabled());
        QCOMPARE(estado().RespostaSAT(), DllSat::deWin1252(Recusa));
        QCOMPARE(estado().CampoA(), QStringLiteral("04001"));
    }

    void ativacaoRecusadaNaoMudaOCodigo() {
        roteiro->definir("AtivarSAT", {r::SemSat});
        preencher();
        controle<QPushButton>("BtExecutar")->setEnabled(false);
        rodarAqui();
        QCOMPARE(roteiro->funcoes(), QStringList({"AtivarSAT"}));
        QCOMPARE(estado().EtapaSetup(), etapa(2, "ERRO"));
        QVERIFY(controle<QPushButton>("BtExecutar")->isEnabled());
        QCOMPARE(b->ctx().CodigoAtivacao(), QStringLiteral("codigo antigo"));
        QCOMPARE(b->relogio.pausas(), QList<int>({500}));
    }

    void associacaoRecusada() {
        roteiro->definir("AssociarAssinatura", {"1|13001|Erro||"});
        preencher();
        controle<QPushButton>("BtExecutar")->setEnabled(false);
        rodarAqui();
        QCOMPARE(roteiro->funcoes(), QStringList({"AtivarSAT", "AssociarAssinatura"}));
        QCOMPARE(estado().EtapaSetup(), etapa(3, "ERRO"));
        QVERIFY(!controle<QPushButton>("BtExecutar")->isEnabled());
        QCOMPARE(corpos().constLast(), QStringLiteral("[RX] 1|13001|Erro||"));
    }

    // A failed test is logged and the next device awaited all the same, from
    // the test's own session number and without the short pause.
    void testeFalhoAguardaOProximo() {
        roteiro->definir("TesteFimAFim", {"1|09001|Erro no teste|||"});
        roteiro->definir("ConsultarSAT",
                         {r::Conectado, r::Conectado, r::SemSat, r::SemSat, r::Conectado});
        // A status reply with too few fields: the cycle goes on all the same.
        roteiro->definir("ConsultarStatusOperacional", {"1|10000|"});
        roteiro->definir("AtivarSAT", {r::Ativado, Recusa});
        preencher();
        rodarAqui();
        const QList<Roteiro::Chamada> c = roteiro->chamadas();
        QCOMPARE(c[3].funcao, QStringLiteral("TesteFimAFim"));
        for (int i = 4; i <= 5; ++i) QCOMPARE(c[i].sessao, c[3].sessao);
        QCOMPARE(c[4].etapa, etapa(5, "ERRO TESTE"));
        QCOMPARE(b->relogio.pausas().mid(6), QList<int>({2000, 2000, 2000, 5000, 500, 500}));
        const QStringList log = corpos();
        QCOMPARE(log[log.size() - 4],
                 QStringLiteral("OCORREU UM ERRO NO TESTE FIM A FIM, CLIQUE EM CANCELAR E "
                                "VERIFIQUE O ERRO, OU CONECTE OUTRO SAT PARA CONTINUAR!"));
        QCOMPARE(linhas()[log.size() - 4].cor, CorRX);
        QCOMPARE(controle<QLabel>("LbConectado")->text(), QStringLiteral("SAT CONECTADO NS:"));
        QCOMPARE(estado().EtapaSetup(), etapa(2, "ERRO"));
    }

    // A stop noticed at the checks only: what still runs after it, and the end.
    void paradaEmCadaEspera_data() {
        QTest::addColumn<QString>("funcao");
        QTest::addColumn<int>("n");
        QTest::addColumn<QStringList>("chamadas");
        QTest::addColumn<int>("etapaFinal");
        QTest::addColumn<QString>("textoFinal");
        const QString c = "ConsultarSAT";
        QTest::newRow("pausa de 60 s")
            << "AtivarSAT" << 1 << QStringList{"AtivarSAT", "AssociarAssinatura", c} << 0
            << "CANCELADO";
        QTest::newRow("reinicio") << c << 1 << QStringList{"AtivarSAT", "AssociarAssinatura", c}
                                  << 0 << "CANCELADO";
        QTest::newRow("teste") << "TesteFimAFim" << 1
                               << QStringList{"AtivarSAT", "AssociarAssinatura", c, "TesteFimAFim",
                                              c}
                               << 5 << "CANCELADO";
        QTest::newRow("remocao") << c << 3 << QStringList{"AtivarSAT", "AssociarAssinatura",
                                                          c,           "TesteFimAFim",
                                                          c,           c}
                                 << 5 << "CANCELADO";
        QTest::newRow("insercao") << c << 5 << QStringList{"AtivarSAT", "AssociarAssinatura",
                                                           c,           "TesteFimAFim",
                                                           c,           c,
                                                           c,           c}
                                  << 5 << "CANCELADO";
    }
    void paradaEmCadaEspera() {
        QFETCH(QString, funcao);
        QFETCH(int, n);
        QFETCH(QStringList, chamadas);
        QFETCH(int, etapaFinal);
        QFETCH(QString, textoFinal);
        // After the test the device stays on its port, then none is plugged
        // in: only the stop ends these waits.
        roteiro->definir("ConsultarSAT", {r::Conectado, r::Conectado, r::Conectado, r::SemSat});
        roteiro->quando(funcao, n, [this] {
            estado().pararExecucaoSetup();
            // The window shown again puts the shared flag back to 1.
            estado().setModoAtivacao(1);
        });
        preencher();
        rodarAqui();
        QCOMPARE(roteiro->funcoes(), chamadas);
        QCOMPARE(estado().EtapaSetup(), (Etapa{etapaFinal, textoFinal}));
    }

    // A newer run supersedes the older one at once: no call, no log line and
    // no published pair of the older run after that.
    void execucaoSubstituidaTerminaCalada() {
        roteiro->quando("AssociarAssinatura", 1, [this] {
            estado().pararExecucaoSetup();
            const int nova = estado().iniciarExecucaoSetup();
            estado().publicarEtapa(nova, 1, QStringLiteral("SAT CONECTADO"));
        });
        preencher();
        rodarAqui();
        QCOMPARE(roteiro->funcoes(), QStringList({"AtivarSAT", "AssociarAssinatura"}));
        QCOMPARE(estado().EtapaSetup(), etapa(1, "SAT CONECTADO"));
        QCOMPARE(corpos().constLast().left(24), QStringLiteral("[TX] AssociarAssinatura("));
    }

    // Every use reads the window anew; a text that is no state gives 35.
    void camposLidosACadaUso() {
        roteiro->definir("AtivarSAT", {r::Ativado, Recusa});
        roteiro->definir("ConsultarSAT", {r::Conectado, r::SemSat, r::Conectado});
        roteiro->quando("AssociarAssinatura", 1, [this] {
            controle<QLineEdit>("EdCodAtivacao")->setText(QStringLiteral("87654321"));
            controle<QComboBox>("CBoxUF")->setEditText(QStringLiteral("XX"));
            controle<QLineEdit>("MskEdCNPJContr")->setText(QStringLiteral("99888777000166"));
        });
        preencher();
        // Typed in small letters, the state is still chosen.
        controle<QComboBox>("CBoxUF")->lineEdit()->selectAll();
        QTest::keyClicks(controle<QComboBox>("CBoxUF")->lineEdit(), QStringLiteral("rj"));
        rodarAqui();
        const QList<Roteiro::Chamada> c = roteiro->chamadas();
        QCOMPARE(c.first().textos[1], Codigo.toLatin1());
        QCOMPARE(c.first().uf, 33);
        QCOMPARE(c[1].textos[0], Codigo.toLatin1());
        QCOMPARE(c[3].funcao, QStringLiteral("TesteFimAFim"));
        QCOMPARE(c[3].textos[0], QByteArray("87654321"));
        QCOMPARE(c.constLast().funcao, QStringLiteral("AtivarSAT"));
        QCOMPARE(c.constLast().textos.mid(1, 2), QList<QByteArray>({"87654321", "99888777000166"}));
        QCOMPARE(c.constLast().uf, 35);
        QCOMPARE(b->ctx().CodigoAtivacao(), Codigo);
    }

    void mostrarConsultaOStatus_data() {
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QColor>("cor");
        QTest::newRow("10000") << r::status("900004019")
                               << QStringLiteral("SAT CONECTADO NS:900004019") << CorTX;
        QTest::newRow("10001") << QByteArray(
                                      "1|10001|C\xf3"
                                      "digo de ativa\xe7\xe3o inv\xe1lido||")
                               << QStringLiteral("SAT JÁ ATIVADO! NÃO PROSSIGA NESTE PROCESSO!")
                               << CorOliva;
        QTest::newRow("sem sat") << r::SemSat
                                 << QStringLiteral("PORTA SERIAL NÃO ESTÁ PRONTA, TENTE NOVAMENTE")
                                 << CorVermelha;
        QTest::newRow("outra") << QByteArray("1|10098|Ocupado||") << TextoPortaNaoPronta << CorTX;
    }
    void mostrarConsultaOStatus() {
        QFETCH(QByteArray, resposta);
        QFETCH(QString, texto);
        QFETCH(QColor, cor);
        roteiro->definir("ConsultarStatusOperacional", {resposta});
        controle<QLineEdit>("MskEdCNPJContr")->setText(CnpjContr);
        controle<QLineEdit>("EdCertificado")->setText(QStringLiteral("/tmp/c.pfx"));
        controle<QPlainTextEdit>("MemoSignac")->setPlainText(QStringLiteral("antiga"));
        controle<QPlainTextEdit>("RichEdit1")->setPlainText(QStringLiteral("linha"));
        controle<QComboBox>("CBoxUF")->setCurrentIndex(0);
        estado().setModoAtivacao(0);
        abrir();
        const Roteiro::Chamada c = roteiro->chamadas().constLast();
        QCOMPARE(c.funcao, QStringLiteral("ConsultarStatusOperacional"));
        QCOMPARE(c.textos[0], QByteArray("codigo antigo"));
        QCOMPARE(controle<QLabel>("LbConectado")->text(), texto);
        QCOMPARE(controle<QLabel>("LbConectado")->palette().color(QPalette::WindowText), cor);
        QCOMPARE(estado().CampoB(), ExtraiCampo(DllSat::deWin1252(resposta), 5));
        QCOMPARE(controle<QComboBox>("CBoxUF")->currentText(), QStringLiteral("SP"));
        QVERIFY(controle<QPlainTextEdit>("MemoSignac")->toPlainText().isEmpty());
        QVERIFY(controle<QPlainTextEdit>("RichEdit1")->toPlainText().isEmpty());
        QCOMPARE(valorCNPJ(controle<QLineEdit>("MskEdCNPJContr")), CnpjContr);
        QCOMPARE(controle<QLineEdit>("EdCertificado")->text(), QStringLiteral("/tmp/c.pfx"));
        QCOMPARE(estado().ModoAtivacao(), 1);
        QVERIFY(controle<QRadioButton>("RdbAcSatSefaz")->isChecked());
        QVERIFY(!controle<QGroupBox>("GroupBox1")->isEnabled());
        QVERIFY(imagensVisiveis().isEmpty());
        QVERIFY(!janela()->expandida());
    }

    // The serial number stands further right than the two longer texts.
    void linhaDeStatusDeslocada() {
        roteiro->definir("ConsultarStatusOperacional", {r::SemSat});
        abrir();
        QTRY_VERIFY(controle<QLabel>("LbStatusSAT")->x() < 40);
        const int xTexto = controle<QLabel>("LbStatusSAT")->x();
        janela()->close();
        roteiro->definir("ConsultarStatusOperacional", {r::status("1")});
        abrir();
        QTRY_VERIFY(controle<QLabel>("LbStatusSAT")->x() > xTexto + 50);
    }

    void executarRecusa_data() {
        QTest::addColumn<QString>("contribuinte");
        QTest::addColumn<QString>("softwareHouse");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("assinatura");
        QTest::addColumn<QByteArray>("consulta");
        QTest::addColumn<int>("icone");
        QTest::addColumn<QString>("texto");
        const int erro = int(Icone::Erro), info = int(Icone::Informacao);
        QTest::newRow("sem contribuinte") << "" << CnpjSH << Codigo << "x" << r::Conectado << erro
                                          << "Informe o CNPJ do contribuinte";
        QTest::newRow("sem software house") << CnpjContr << "" << Codigo << "x" << r::Conectado
                                            << erro << "Informe o CNPJ da Software House";
        QTest::newRow("codigo de 7") << CnpjContr << CnpjSH << " 1234567 "
                                     << "x" << r::Conectado << info
                                     << QStringLiteral(
                                            "Favor Informar código de "
                                            "ativação válido!");
        QTest::newRow("sem certificado") << CnpjContr << CnpjSH << Codigo << " \n " << r::Conectado
                                         << info << "Favor informar um certificado e Senha!";
        QTest::newRow("sat desconectado")
            << CnpjContr << CnpjSH << Codigo << "x" << r::SemSat << erro
            << QStringLiteral(
                   "SAT não conectado! Conecte o SAT e clique novamente em "
                   "Executar!");
    }
    void executarRecusa() {
        QFETCH(QString, contribuinte);
        QFETCH(QString, softwareHouse);
        QFETCH(QString, codigo);
        QFETCH(QString, assinatura);
        QFETCH(QByteArray, consulta);
        QFETCH(int, icone);
        QFETCH(QString, texto);
        abrir();
        roteiro->definir("ConsultarSAT", {consulta});
        controle<QLineEdit>("MskEdCNPJContr")->setText(contribuinte);
        controle<QLineEdit>("MskEdCNPJSwHouse")->setText(softwareHouse);
        controle<QLineEdit>("EdCodAtivacao")->setText(codigo);
        controle<QPlainTextEdit>("MemoSignac")->setPlainText(assinatura);
        controle<QLineEdit>("EdCertificado")->setText(QStringLiteral("   "));
        controle<QLineEdit>("Edit1")->setText(QStringLiteral("senha"));
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(int(b->dialogos.ultima().icone), icone);
        QCOMPARE(b->dialogos.ultima().texto, texto);
        QCOMPARE(Trabalhador::vivos(), 0);
        QVERIFY(controle<QPushButton>("BtExecutar")->isEnabled());
        QVERIFY(!janela()->expandida());
    }

    // A code of 8 after trimming is enough; the run starts expanded, with the
    // two black lines, the first pair published and the panel blinking.
    void executarIniciaOPainel() {
        roteiro->definir("AtivarSAT", {Recusa});
        abrir();
        preencher();
        controle<QLineEdit>("EdCodAtivacao")->setText(QStringLiteral(" 12345678 "));
        controle<QLineEdit>("EdCertificado")->clear();
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
        QVERIFY(b->dialogos.caixas().isEmpty());
        QVERIFY(janela()->expandida());
        QVERIFY(!controle<QPushButton>("BtExecutar")->isEnabled() ||
                estado().EtapaSetup().numero == 2);
        QCOMPARE(corpos().mid(0, 2),
                 QStringList({"[TX] SAT CONECTADO...",
                              "[TX] ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE..."}));
        QCOMPARE(linhas().first().cor, CorPreta);
        QTRY_COMPARE(estado().EtapaSetup(), etapa(2, "ERRO"));
        QTRY_VERIFY(controle<QPushButton>("BtExecutar")->isEnabled());
        // The panel follows the animation's thread, which a loaded machine may hold up.
        QTRY_COMPARE_WITH_TIMEOUT(imagensVisiveis(),
                                  QStringList({"ImgAtivandoSATErro", "ImgSATConectadoOK"}), 20000);
        QVERIFY(janela()->expandida());
    }

    // The panel's pictures for each way a device's cycle ends.
    void painelNoFimDoCiclo_data() {
        QTest::addColumn<QString>("funcao");
        QTest::addColumn<QByteArray>("resposta");
        QTest::addColumn<QString>("piscando");
        QTest::addColumn<QStringList>("imagens");
        QTest::newRow("ativacao recusada")
            << "AtivarSAT" << Recusa << ""
            << QStringList{"ImgAtivandoSATErro", "ImgSATConectadoOK"};
        QTest::newRow("associacao recusada")
            << "AssociarAssinatura" << QByteArray("1|13001|Erro||") << ""
            << QStringList{"ImgAssociandoAssinaturaErro", "ImgAtivandoSATOK", "ImgSATConectadoOK"};
        QTest::newRow("teste falho")
            << "TesteFimAFim" << QByteArray("1|09001|Erro||") << "ImgProximoSAT"
            << QStringList{"ImgAssociandoAssinaturaOk", "ImgAtivandoSATOK",  "ImgProximoSAT*",
                           "ImgReiniciandoSATOk",       "ImgSATConectadoOK", "ImgTFimaFIMErro"};
        QTest::newRow("teste passou")
            << "TesteFimAFim" << r::Testado << "ImgProximoSAT"
            << QStringList{"ImgAssociandoAssinaturaOk", "ImgAtivandoSATOK",  "ImgProximoSAT*",
                           "ImgReiniciandoSATOk",       "ImgSATConectadoOK", "ImgTFimaFIMOk"};
    }
    void painelNoFimDoCiclo() {
        QFETCH(QString, funcao);
        QFETCH(QByteArray, resposta);
        QFETCH(QString, piscando);
        QFETCH(QStringList, imagens);
        roteiro->definir(funcao, {resposta});
        acompanharCiclo();
        abrir();
        executar();
        QTRY_COMPARE_WITH_TIMEOUT(imagensSemPiscar(piscando), imagens, 10000);
    }

    // A cancel during the restart wait: association done, restart in error,
    // and the next device's panel never shows.
    void painelCanceladoNoReinicio() {
        roteiro->definir("ConsultarSAT", {r::Conectado, r::SemSat});
        acompanharCiclo();
        roteiro->quando("ConsultarSAT", 2, [this] { estado().pararExecucaoSetup(); });
        abrir();
        executar();
        QTRY_COMPARE(estado().EtapaSetup(), etapa(0, "CANCELADO"));
        QTRY_COMPARE(imagensVisiveis(),
                     QStringList({"ImgAssociandoAssinaturaOk", "ImgAtivandoSATOK",
                                  "ImgReiniciandoSATErro", "ImgSATConectadoOK"}));
    }

    // The next device: the panel is cleared and starts again on it.
    void proximoSatLimpaOPainel() {
        roteiro->definir("ConsultarSAT", {r::Conectado, r::Conectado, r::SemSat, r::Conectado});
        acompanharCiclo();
        roteiro->quando("AtivarSAT", 2, [this] { m_liberar.acquire(); });
        abrir();
        executar();
        QTRY_COMPARE_WITH_TIMEOUT(estado().EtapaSetup(), etapa(1, "SAT PCONECTADO"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(imagensSemPiscar("ImgAtivandoSAT"),
                                  QStringList({"ImgAtivandoSAT*", "ImgSATConectadoOK"}), 10000);
    }

    // Cancel: the window hidden, the main window shown, the worker ended at its
    // next check, the animation within one pause, the compact layout back.
    void cancelarDuranteAEsperaDoProximo() {
        roteiro->definir("ConsultarSAT", {r::Conectado, r::Conectado, r::Conectado});
        abrir();
        executar();
        QTRY_COMPARE(estado().EtapaSetup(), etapa(5, "SAT TESTADO"));
        QTRY_COMPARE(Trabalhador::vivos(), 2);
        QVERIFY(b->clicar(Janela::SetupAutom, "BtCancelar"));
        const int pausasNoPedido = b->relogio.pausas().size();
        QVERIFY(!janela()->isVisible());
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QVERIFY(!janela()->expandida());
        QVERIFY(controle<QPushButton>("BtExecutar")->isEnabled());
        QCOMPARE(estado().ModoAtivacao(), 0);
        // The worker may be inside its poll at that moment: the device is busy.
        QVERIFY2(estado().StatusConexao() == StatusConectado ||
                     estado().StatusConexao() == StatusEmProcessamento,
                 qPrintable(estado().StatusConexao()));
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCOMPARE(estado().EtapaSetup(), etapa(5, "CANCELADO"));
        // The worker polls once more at most; the animation pauses once more at most.
        QVERIFY(b->relogio.pausas().size() - pausasNoPedido <= 2);
    }

    // A busy device (the window's own query inside the library) is still on
    // the port: the bench keeps waiting for the next one.
    void dispositivoOcupadoNaoEhTrocado() {
        roteiro->definir("ConsultarSAT", {r::Conectado});
        abrir();
        executar();
        QTRY_COMPARE(estado().EtapaSetup(), etapa(5, "SAT TESTADO"));
        roteiro->definir("ConsultarSAT", {"1|08098|SAT em processamento. Tente novamente.||"});
        const auto consultas = [this] { return roteiro->funcoes().count("ConsultarSAT"); };
        const int antes = consultas();
        QTRY_VERIFY(consultas() >= antes + 3);
        QCOMPARE(estado().EtapaSetup(), etapa(5, "SAT TESTADO"));
        QVERIFY(b->clicar(Janela::SetupAutom, "BtCancelar"));
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QCOMPARE(estado().EtapaSetup(), etapa(5, "CANCELADO"));
    }

    void animacaoParaEmMeioSegundo() {
        roteiro->definir("AtivarSAT", {Recusa});
        abrir();
        executar();
        QTRY_COMPARE(estado().EtapaSetup(), etapa(2, "ERRO"));
        QTRY_COMPARE(Trabalhador::vivos(), 1);
        QTest::qWait(20);
        janela()->close();
        const int pausasNoPedido = b->relogio.pausas().size();
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        const QList<int> depois = b->relogio.pausas().mid(pausasNoPedido);
        QVERIFY(depois.size() <= 1);
        for (int ms : depois) QVERIFY(ms <= 500);
        // Closed by the title bar: hidden, still expanded, main window shown.
        QVERIFY(janela()->expandida());
        QVERIFY(b->janela(Janela::Principal)->isVisible());
    }

    // A second run after a refused activation stops the first animation.
    void segundaExecucaoParaAPrimeiraAnimacao() {
        roteiro->definir("AtivarSAT", {Recusa});
        abrir();
        executar();
        QTRY_COMPARE(Trabalhador::vivos(), 1);
        QTRY_VERIFY(controle<QPushButton>("BtExecutar")->isEnabled());
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
        QTRY_COMPARE(estado().EtapaSetup(), etapa(2, "ERRO"));
        QTRY_COMPARE(Trabalhador::vivos(), 1);
    }

    // A second run after a refused activation starts on a clean panel: the
    // first run's error picture would lie on top of the new run's.
    void segundaExecucaoComecaComOPainelLimpo() {
        roteiro->definir("AtivarSAT", {Recusa, r::Ativado});
        roteiro->definir("AssociarAssinatura", {"1|13001|Erro||"});
        segurarAtePiscar("AtivarSAT", 1, "ImgAtivandoSAT");
        segurarAtePiscar("AtivarSAT", 2, "ImgAtivandoSAT");
        segurarAtePiscar("AssociarAssinatura", 1, "ImgAssociandoAssinatura");
        abrir();
        executar();
        QTRY_COMPARE_WITH_TIMEOUT(imagensVisiveis(),
                                  QStringList({"ImgAtivandoSATErro", "ImgSATConectadoOK"}), 10000);
        QTRY_VERIFY(controle<QPushButton>("BtExecutar")->isEnabled());
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
        QTRY_COMPARE_WITH_TIMEOUT(estado().EtapaSetup(), etapa(3, "ERRO"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(
            imagensVisiveis(),
            QStringList({"ImgAssociandoAssinaturaErro", "ImgAtivandoSATOK", "ImgSATConectadoOK"}),
            10000);
    }

    // A cancelled worker held inside a call keeps the device busy: a new run
    // is refused until it returns, and then starts afresh.
    void semSobreposicaoDeExecucoes() {
        QSemaphore dentro;
        roteiro->quando("AtivarSAT", 1, [&] {
            dentro.release();
            m_liberar.acquire();
        });
        roteiro->definir("AtivarSAT", {r::Ativado, Recusa});
        abrir();
        executar();
        QTRY_COMPARE(dentro.available(), 1);
        QVERIFY(b->clicar(Janela::SetupAutom, "BtCancelar"));
        abrir();
        executar();
        QCOMPARE(
            b->dialogos.ultima().texto,
            QStringLiteral("SAT não conectado! Conecte o SAT e clique novamente em Executar!"));
        QCOMPARE(ExtraiCampo(estado().RespostaSAT(), 1), QStringLiteral("08098"));
        m_liberar.release();
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        executar();
        QTRY_COMPARE(estado().EtapaSetup(), etapa(2, "ERRO"));
    }

    // The signature made from the certificate goes into the memo freed of
    // blanks; a device that does not answer then gets the not-connected box,
    // and the next click uses the memo as it stands.
    void assinaturaGeradaDoCertificado() {
        const QString openssl = QStandardPaths::findExecutable("openssl");
        if (openssl.isEmpty()) QSKIP("openssl is needed to make the test certificate");
        QTemporaryDir certificados;
        QProcess p;
        p.setWorkingDirectory(certificados.path());
        p.start(openssl, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "c.key",
                          "-out", "c.crt", "-subj", "/CN=Software House Teste", "-days", "2"});
        QVERIFY(p.waitForFinished(120000) && p.exitCode() == 0);
        p.start(openssl, {"pkcs12", "-export", "-in", "c.crt", "-inkey", "c.key", "-out", "c.pfx",
                          "-passout", "pass:senha certa"});
        QVERIFY(p.waitForFinished(120000) && p.exitCode() == 0);

        roteiro->definir("ConsultarSAT", {r::SemSat});
        abrir();
        preencher();
        controle<QPlainTextEdit>("MemoSignac")->clear();
        controle<QLineEdit>("EdCertificado")->setText(certificados.filePath("c.pfx"));
        controle<QLineEdit>("Edit1")->setText(QStringLiteral("senha errada"));
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
        QCOMPARE(b->dialogos.ultima().texto, QStringLiteral("Senha invalida!"));
        QVERIFY(controle<QPlainTextEdit>("MemoSignac")->toPlainText().isEmpty());
        QVERIFY(!roteiro->funcoes().contains("ConsultarSAT"));

        controle<QLineEdit>("Edit1")->setText(QStringLiteral("senha certa"));
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
        const QString assinatura = controle<QPlainTextEdit>("MemoSignac")->toPlainText();
        QCOMPARE(assinatura.size(), 344);
        QVERIFY(!assinatura.contains(QLatin1Char(' ')));
        QCOMPARE(b->dialogos.caixas().size(), 2);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(
            b->dialogos.ultima().texto,
            QStringLiteral("SAT não conectado! Conecte o SAT e clique novamente em Executar!"));
        QCOMPARE(Trabalhador::vivos(), 0);

        roteiro->definir("ConsultarSAT", {r::Conectado});
        controle<QLineEdit>("EdCertificado")->clear();
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
        QCOMPARE(b->dialogos.caixas().size(), 2);
        QVERIFY(janela()->expandida());
    }

    void ordemDeTabulacao() {
        abrir();
        QWidget* w = controle<QLineEdit>("MskEdCNPJContr");
        QStringList ordem;
        for (int i = 0; i < 12; ++i, w = w->nextInFocusChain()) {
            // The list's own edit part has no name of its own.
            while (w->focusPolicy() == Qt::NoFocus || w->objectName().isEmpty())
                w = w->nextInFocusChain();
            ordem << w->objectName();
        }
        QCOMPARE(ordem, QStringList({"MskEdCNPJContr", "MskEdCNPJSwHouse", "EdCodAtivacao",
                                     "CBoxUF", "MemoSignac", "BtExecutar", "BtCancelar",
                                     "RichEdit1", "RdbAcSatSefaz", "RdbICPBrasil",
                                     "RdbRenovarICPBrasil", "EdCertificado"}));
    }
};

QTEST_MAIN(TstSetup)
#include "tst_setup.moc"
