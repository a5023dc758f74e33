#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <atomic>
#include <csignal>
#include <thread>

#include "device/DllSat.h"
#include "device/VersaoArquivo.h"
#include "emulator/Controle.h"
#include "emulator/Dispositivo.h"
#include "emulator/Documentos.h"
#include "emulator/Regras.h"
#include "emulator/Resposta.h"
#include "emulator/Xml.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/CanalNoProcesso.h"
#include "tests/apoio/DispositivoEmulado.h"
#include "tests/apoio/FifoTeste.h"

using emulador::Controle;
using emulador::Estado;

namespace {

const QString Codigo = QStringLiteral("12345678");
const QString CnpjContribuinte = QStringLiteral("12345678000195");
const QString CnpjSH = QStringLiteral("98765432000198");
const QString Dev = QStringLiteral("SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT");
const QByteArray RedeDhcp = "<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan></config>";

QStringList campos(const QString& r) {
    return r.split('|');
}
QString codigoDe(const QString& r) {
    return campos(r).value(1);
}

QByteArray venda(const QString& sh = CnpjSH, const QString& sign = Dev,
                 const QString& pagamento = QStringLiteral("12.00"),
                 const QString& qCom = QStringLiteral("2.0000")) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?><CFe><infCFe versaoDadosEnt=\"0.07\">"
               "<ide><CNPJ>%1</CNPJ><signAC>%2</signAC><numeroCaixa>001</numeroCaixa></ide>"
               "<emit><CNPJ>12345678000195</CNPJ><IE>111222333444</IE>"
               "<indRatISSQN>N</indRatISSQN></emit><dest/><det nItem=\"1\"><prod><cProd>01</cProd>"
               "<xProd>Produto ç</xProd><NCM>85447030</NCM><CFOP>5001</CFOP><uCom>un</uCom>"
               "<qCom>%4</qCom><vUnCom>0.10</vUnCom><indRegra>A</indRegra></prod><imposto/>"
               "</det><det nItem=\"2\"><prod><cProd>02</cProd><xProd>Produto 2</xProd>"
               "<qCom>3.0000</qCom><vUnCom>1.333</vUnCom><indRegra>T</indRegra>"
               "<vDesc>0.50</vDesc></prod></det><total/><pgto><MP><cMP>01</cMP>"
               "<vMP>%3</vMP></MP></pgto></infCFe></CFe>")
        .arg(sh, sign, pagamento, qCom)
        .toUtf8();
}

QByteArray cancelamento(const QString& chave, const QString& sign = Dev) {
    return QStringLiteral(
               "<CFeCanc><infCFe chCanc=\"%1\"><ide><CNPJ>%2</CNPJ><signAC>%3</signAC>"
               "<numeroCaixa>001</numeroCaixa></ide><emit/><dest></dest><total/>"
               "<infAdic/></infCFe></CFeCanc>")
        .arg(chave, CnpjSH, sign)
        .toUtf8();
}

// Files of this process grow no larger than this while it lives, as on a full
// disk: a write past it is cut short or fails.
class DiscoCheio {
  public:
    explicit DiscoCheio(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_antes);
        m_sinal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{bytes, m_antes.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~DiscoCheio() {
        ::setrlimit(RLIMIT_FSIZE, &m_antes);
        std::signal(SIGXFSZ, m_sinal);
    }
    DiscoCheio(const DiscoCheio&) = delete;
    DiscoCheio& operator=(const DiscoCheio&) = delete;

  private:
    rlimit m_antes{};
    void (*m_sinal)(int) = nullptr;
};

void verificarChave(const QString& chave) {
    QVERIFY2(chave.size() == 47 && chave.startsWith(QLatin1String("CFe")), qPrintable(chave));
    QVERIFY2(emulador::chaveValida(stexto(chave.mid(3))), qPrintable(chave));
}

}  // namespace

// The emulated device through the tool's own binding, each test on a device of
// its own (a fresh state folder).
class TstEmulador : public QObject {
    Q_OBJECT
    std::unique_ptr<DispositivoEmulado> controle;
    std::unique_ptr<DllSat> dll;

    void ativar() {
        QCOMPARE(codigoDe(dll->AtivarSAT(1, 1, Codigo, CnpjContribuinte, 35)), QString("04000"));
    }
    void associar() {
        controle->alterar([](Estado& e) { e.reinicioAposMs = 0; });
        QCOMPARE(codigoDe(dll->AssociarAssinatura(2, Codigo, CnpjSH + CnpjContribuinte, Dev)),
                 QString("13000"));
    }
    QString vender(const QByteArray& doc = venda()) {
        return dll->EnviarDadosVenda(3, Codigo, doc);
    }
    int rodarSatemu(const QStringList& args, QByteArray* saida = nullptr) {
        QProcess p;
        p.start(CaminhoSatemu(), args);
        if (!p.waitForFinished(30000)) return -1;
        if (saida) *saida = p.readAllStandardOutput();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QString pasta() const { return qtexto(controle->pasta()); }
    // A state folder the emulator makes itself, with the journal on.
    QString pastaComDiario() {
        const QString propria = pasta() + "/nova/sat";
        qputenv("SAT_EMULADOR_DIR", propria.toUtf8());
        Controle(stexto(propria)).alterar([](Estado& e) { e.diario = true; });
        return propria;
    }

  private Q_SLOTS:
    void init() {
        controle = std::make_unique<DispositivoEmulado>();
        // In this process: the tests move the state folder between calls.
        dll = carregarNoProcesso(CaminhoEmulador());
    }
    void cleanup() {
        dll.reset();
        controle.reset();
    }

    void pastaDoEstado() {
        qputenv("SAT_EMULADOR_DIR", "/x/y");
        QCOMPARE(qtexto(Controle::pastaPadrao()), QString("/x/y"));
        qunsetenv("SAT_EMULADOR_DIR");
        qputenv("XDG_STATE_HOME", "/estado");
        QCOMPARE(qtexto(Controle::pastaPadrao()), QString("/estado/sat-emulador"));
        qunsetenv("XDG_STATE_HOME");
        QCOMPARE(qtexto(Controle::pastaPadrao()), QDir::homePath() + "/.local/state/sat-emulador");
    }

    void dispositivoNovoAtendeQualquerCodigo() {
        QCOMPARE(dll->ConsultarSAT(7), QStringLiteral("7|08000|SAT em operação||"));
        const Estado e = controle->estado();
        QVERIFY(QRegularExpression("^[0-9]{9}$").match(qtexto(e.serie)).hasMatch());
        QVERIFY(!e.ativado);
        for (const QString& codigo : {QString(), QString("qualquer")}) {
            const QStringList f = campos(dll->ConsultarStatusOperacional(1234589, codigo));
            QCOMPARE(f.size(), 28);
            QCOMPARE(f[0], QString("1234589"));
            QCOMPARE(f[1], QString("10000"));
            QCOMPARE(f[5], qtexto(e.serie));
            QCOMPARE(f[6], QString("DHCP"));
            for (int i : {7, 9, 10, 11, 12})
                QVERIFY2(QRegularExpression("^\\d{3}\\.\\d{3}\\.\\d{3}\\.\\d{3}$")
                             .match(f[i])
                             .hasMatch(),
                         qPrintable(f[i]));
            QCOMPARE(f[18], QString("01.00.00"));
            QCOMPARE(f[19], QString("00.07"));
            QCOMPARE(f[20], QString());
            // The certificate of the day, valid for five years.
            const QDate emissao = QDate::fromString(f[25], "yyyyMMdd");
            QVERIFY2(emissao.isValid() && qAbs(emissao.daysTo(QDate::currentDate())) <= 1,
                     qPrintable(f[25]));
            QCOMPARE(f[26], emissao.addYears(5).toString("yyyyMMdd"));
            QCOMPARE(f[27], QString("0"));
        }
        // The serial number stays with the device.
        QCOMPARE(controle->estado().serie, e.serie);
        controle->novo();
        QVERIFY(controle->estado().serie != e.serie);
    }

    void ativacao() {
        QCOMPARE(codigoDe(dll->AtivarSAT(1, 1, Codigo, "12345678000190", 35)), QString("04002"));
        QCOMPARE(codigoDe(dll->AtivarSAT(1, 1, Codigo, CnpjContribuinte, 99)), QString("04002"));
        QCOMPARE(codigoDe(dll->AtivarSAT(1, 1, "1234567", CnpjContribuinte, 35)), QString("04099"));
        QVERIFY(!controle->estado().ativado);
        const QStringList f = campos(dll->AtivarSAT(5, 1, Codigo, CnpjContribuinte, 33));
        QCOMPARE(f.size(), 6);
        QCOMPARE(f[1], QString("04000"));
        QVERIFY(QByteArray::fromBase64(f[5].toLatin1())
                    .startsWith("-----BEGIN CERTIFICATE REQUEST-----\n"));
        const Estado e = controle->estado();
        QVERIFY(e.ativado);
        QCOMPARE(qtexto(e.codigoAtivacao), Codigo);
        QCOMPARE(qtexto(e.cnpjContribuinte), CnpjContribuinte);
        QCOMPARE(e.uf, 33);
        QCOMPARE(codigoDe(dll->AtivarSAT(1, 1, "outrocodigo", CnpjContribuinte, 35)),
                 QString("04003"));
        QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, "87654321")), QString("10001"));
        QCOMPARE(dll->ConsultarStatusOperacional(1, "87654321"),
                 QStringLiteral("1|10001|Código de ativação inválido||"));
        QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, Codigo)), QString("10000"));
        // The code is compared as it is: blanks count.
        QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, " " + Codigo)), QString("10001"));
    }

    void codigoErradoEmTodaParte() {
        controle->ativado(stexto(Codigo), stexto(CnpjContribuinte), 35, stexto(Dev));
        const QString x = QStringLiteral("errado00");
        const QStringList r{
            dll->ConsultarStatusOperacional(1, x),
            dll->ConsultarNumeroSessao(1, x, 1),
            dll->AssociarAssinatura(1, x, CnpjSH + CnpjContribuinte, Dev),
            dll->TesteFimAFim(1, x, venda()),
            dll->EnviarDadosVenda(1, x, venda()),
            dll->CancelarUltimaVenda(1, x, "CFe1", cancelamento("CFe1")),
            dll->ConfigurarInterfaceDeRede(1, x, "<config/>"),
            dll->TrocarCodigoDeAtivacao(1, x, 1, "abcdefgh", "abcdefgh"),
            dll->ExtrairLogs(1, x),
            dll->AtualizarSoftwareSAT(1, x),
            dll->BloquearSAT(1, x),
            dll->DesbloquearSAT(1, x),
        };
        const QStringList esperados{"10001", "11001", "13001", "09001", "06001", "07001",
                                    "12001", "18001", "15001", "14001", "16001", "17001"};
        for (int i = 0; i < r.size(); ++i) QCOMPARE(codigoDe(r[i]), esperados[i]);
        const Estado e = controle->estado();
        QCOMPARE(qtexto(e.codigoAtivacao), Codigo);
        QCOMPARE(e.versaoSoftware, "01.00.00");
        QVERIFY(!e.bloqueado);
    }

    void naoAtivadoRecusaOQuePedeAtivacao() {
        QCOMPARE(codigoDe(vender()), QString("06002"));
        QCOMPARE(codigoDe(dll->TesteFimAFim(1, Codigo, venda())), QString("09002"));
        QCOMPARE(codigoDe(dll->ConsultarNumeroSessao(1, Codigo, 1)), QString("11002"));
        QCOMPARE(codigoDe(dll->BloquearSAT(1, Codigo)), QString("16001"));
        QCOMPARE(codigoDe(dll->ExtrairLogs(1, "")), QString("15000"));
    }

    void associacao() {
        ativar();
        controle->alterar([](Estado& e) { e.reinicioAposMs = 600000; });
        const QString par = CnpjSH + CnpjContribuinte;
        QCOMPARE(codigoDe(dll->AssociarAssinatura(1, Codigo, CnpjSH, Dev)), QString("13004"));
        QCOMPARE(codigoDe(dll->AssociarAssinatura(1, Codigo, CnpjSH + "11222333000181", Dev)),
                 QString("13007"));
        QCOMPARE(codigoDe(dll->AssociarAssinatura(1, Codigo, par, "abc")), QString("13003"));
        QCOMPARE(codigoDe(dll->AssociarAssinatura(1, Codigo, par, QString(343, 'A') + "#")),
                 QString("13003"));
        QVERIFY(controle->estado().assinatura.empty());
        const QString assinatura = QString(342, 'A') + "==";
        QCOMPARE(dll->AssociarAssinatura(9, Codigo, par, assinatura),
                 QString("9|13000|0000|Assinatura do AC registrada||"));
        const Estado e = controle->estado();
        QCOMPARE(qtexto(e.assinatura), assinatura);
        QCOMPARE(qtexto(e.cnpjSoftwareHouse), CnpjSH);
        // The device restarts after the association: off its port until it is back.
        QCOMPARE(dll->ConsultarSAT(1),
                 QStringLiteral("PORTA SERIAL NãO ESTá PRONTA, TENTE NOVAMENTE"));
        controle->conectar(true);
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08000"));
        QCOMPARE(codigoDe(dll->AssociarAssinatura(1, Codigo, par, Dev)), QString("13000"));
    }

    void vendaECancelamento() {
        ativar();
        QCOMPARE(codigoDe(vender()), QString("06003"));
        associar();
        QCOMPARE(vender(venda(CnpjSH, "outra")),
                 QStringLiteral("3|06004|0000|Vinculação do AC não confere||"));
        QCOMPARE(codigoDe(vender(venda("11222333000181"))), QString("06004"));
        QCOMPARE(campos(vender("<CFe><infCFe>")).mid(1, 2), QStringList({"06010", "1999"}));
        QCOMPARE(campos(vender(venda(CnpjSH, Dev, "1.00"))).mid(1, 2),
                 QStringList({"06010", "1408"}));
        QCOMPARE(campos(vender(venda(CnpjSH, Dev, "12.00", "-1"))).mid(1, 2),
                 QStringList({"06010", "1464"}));
        QCOMPARE(controle->estado().numeroCFe, 0);

        const QStringList f = campos(vender());
        QCOMPARE(f.size(), 12);
        QCOMPARE(f.mid(1, 3),
                 QStringList({"06000", "0000", "Emitido com sucesso + conteúdo notas"}));
        const QString chave = f[8];
        verificarChave(chave);
        const Estado e = controle->estado();
        QCOMPARE(chave.mid(3, 2), QString("35"));
        QCOMPARE(chave.mid(9, 14), CnpjContribuinte);
        QCOMPARE(chave.mid(23, 2), QString("59"));
        QCOMPARE(chave.mid(25, 9), qtexto(e.serie));
        QCOMPARE(chave.mid(34, 6), QString("000001"));
        // 2 x 0.10 rounded, plus 3 x 1.333 truncated less 0.50.
        QCOMPARE(f[9], QString("3.69"));
        QCOMPARE(f[11].size(), 344);
        QCOMPARE(f[7].size(), 14);
        const QByteArray xml = QByteArray::fromBase64(f[6].toLatin1());
        const auto cfe = emulador::lerXml(xml.toStdString());
        QVERIFY(cfe);
        QCOMPARE(qtexto(cfe->filho("infCFe")->atributo("Id")), chave);
        QCOMPARE(cfe->valor("infCFe/total/vCFe"), "3.69");
        QCOMPARE(cfe->valor("infCFe/pgto/vTroco"), "8.31");
        QVERIFY(xml.contains("Produto \xc3\xa7"));
        QCOMPARE(qtexto(e.ultimaChave), chave);
        QCOMPARE(campos(dll->ConsultarStatusOperacional(1, Codigo))[20], chave.mid(3));

        QCOMPARE(codigoDe(dll->CancelarUltimaVenda(4, Codigo, chave, cancelamento(chave, "x"))),
                 QString("07007"));
        // Another check digit: a key that is never valid. A changed digit of
        // the body may leave it valid when its check digit is 0.
        QString outra = chave;
        outra[46] = outra[46] == '1' ? '2' : '1';
        QCOMPARE(campos(dll->CancelarUltimaVenda(4, Codigo, outra, cancelamento(outra))).mid(1, 2),
                 QStringList({"07007", "1270"}));
        const QStringList c =
            campos(dll->CancelarUltimaVenda(4, Codigo, chave, cancelamento(chave)));
        QCOMPARE(c.size(), 12);
        QCOMPARE(c[1], QString("07000"));
        verificarChave(c[8]);
        QVERIFY(c[8] != chave);
        QCOMPARE(c[8].mid(34, 6), QString("000002"));
        QCOMPARE(c[9], QString("3.69"));
        const auto canc = emulador::lerXml(QByteArray::fromBase64(c[6].toLatin1()).toStdString());
        QVERIFY(canc);
        QCOMPARE(qtexto(canc->filho("infCFe")->atributo("chCanc")), chave);
        QVERIFY(controle->estado().ultimaChave.empty());
        // The same sale twice: already cancelled.
        QCOMPARE(campos(dll->CancelarUltimaVenda(4, Codigo, chave, cancelamento(chave))).mid(1, 2),
                 QStringList({"07007", "1218"}));
    }

    // A cancellation names the sale's consumer again.
    void cancelamentoComOConsumidorDaVenda() {
        ativar();
        associar();
        const QString cnpj = QStringLiteral("<dest><CNPJ>11222333000181</CNPJ></dest>");
        QString chave = campos(vender(venda().replace("<dest/>", cnpj.toUtf8())))[8];
        QCOMPARE(campos(dll->CancelarUltimaVenda(4, Codigo, chave, cancelamento(chave))).mid(1, 2),
                 QStringList({"07007", "1232"}));
        const QByteArray comCnpj = cancelamento(chave).replace("<dest></dest>", cnpj.toUtf8());
        QCOMPARE(codigoDe(dll->CancelarUltimaVenda(4, Codigo, chave, comCnpj)), QString("07000"));
        chave =
            campos(vender(venda().replace("<dest/>", "<dest><CPF>52998224725</CPF></dest>")))[8];
        QCOMPARE(campos(dll->CancelarUltimaVenda(4, Codigo, chave, cancelamento(chave))).mid(1, 2),
                 QStringList({"07007", "1233"}));
    }

    void cancelamentoSoDaUltimaEEmTrintaMinutos() {
        ativar();
        associar();
        const QString primeira = campos(vender())[8];
        const QString segunda = campos(vender())[8];
        QCOMPARE(codigoDe(dll->CancelarUltimaVenda(4, Codigo, primeira, cancelamento(primeira))),
                 QString("07002"));
        controle->alterar([](Estado& e) { e.ultimaVendaMs -= 31 * 60 * 1000; });
        QCOMPARE(
            campos(dll->CancelarUltimaVenda(4, Codigo, segunda, cancelamento(segunda))).mid(1, 2),
            QStringList({"07007", "1210"}));
    }

    void testeFimAFimPedeSoAtivacao() {
        ativar();
        const QStringList f = campos(dll->TesteFimAFim(8, Codigo, venda("00000000000000", "0")));
        QCOMPARE(f.size(), 9);
        QCOMPARE(f[1], QString("09000"));
        QCOMPARE(f[7], QString("000000"));
        verificarChave(f[8]);
        QVERIFY(QByteArray::fromBase64(f[5].toLatin1()).startsWith("<CFe><infCFe Id=\"CFe"));
        QCOMPARE(codigoDe(dll->TesteFimAFim(8, Codigo, "nada")), QString("09099"));
        QCOMPARE(controle->estado().numeroCFe, 0);
    }

    static QByteArray rede(const QByteArray& ip) {
        return "<config><tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>" + ip +
               "</lanIP><lanMask>255.255.255.0</lanMask><lanGW>10.0.12.1</lanGW></config>";
    }

    void redeNoStatus() {
        ativar();
        const QByteArray fixo =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><tipoInter>ETHE</tipoInter>"
            "<tipoLan>IPFIX</tipoLan><lanIP>10.0.12.5</lanIP><lanMask>255.255.255.0"
            "</lanMask><lanGW>10.0.12.1</lanGW><lanDNS1>8.8.4.4</lanDNS1><proxy>1</proxy>"
            "<proxy_ip>10.0.0.9</proxy_ip><proxy_porta>3128</proxy_porta></config>";
        QCOMPARE(dll->ConfigurarInterfaceDeRede(3, Codigo, fixo),
                 QString("3|12000|Rede configurada com sucesso||"));
        QStringList f = campos(dll->ConsultarStatusOperacional(1, Codigo));
        QCOMPARE(f.mid(6, 7),
                 QStringList({"IPFIX", "010.000.012.005", f[8], "255.255.255.000",
                              "010.000.012.001", "008.008.004.004", "000.000.000.000"}));
        for (const QByteArray& ruim :
             {QByteArray("<config><tipoInter>ETHE</tipoInter>"),
              QByteArray("<config><tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan>"
                         "<lanIP>10.0.0.300</lanIP><lanMask>255.0.0.0</lanMask>"
                         "<lanGW>10.0.0.1</lanGW></config>"),
              QByteArray("<config><tipoInter>ETHE</tipoInter><tipoLan>XPTO</tipoLan></config>"),
              rede("192.168.1  .50 "), rede("999.1.1.1"), rede(""), rede("10.0.0"),
              QByteArray("<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>1"
                         "</proxy></config>"),
              QByteArray()})
            QCOMPARE(codigoDe(dll->ConfigurarInterfaceDeRede(3, Codigo, ruim)), QString("12002"));
        QCOMPARE(campos(dll->ConsultarStatusOperacional(1, Codigo))[7], QString("010.000.012.005"));
        QCOMPARE(codigoDe(dll->ConfigurarInterfaceDeRede(
                     3, Codigo,
                     "<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>"
                     "</config>")),
                 QString("12000"));
        f = campos(dll->ConsultarStatusOperacional(1, Codigo));
        QCOMPARE(f[6], QString("DHCP"));
        QVERIFY(f[7] != "010.000.012.005");
    }

    void extracaoDoLog() {
        controle->alterar([](Estado& e) { e.tamanhoLog = 1 << 20; });
        const QStringList f = campos(dll->ExtrairLogs(6, Codigo));
        QCOMPARE(f.size(), 6);
        QCOMPARE(f[1], QString("15000"));
        QCOMPARE(f[2], QStringLiteral("Transferência completa"));
        const QByteArray log = QByteArray::fromBase64(f[5].toLatin1());
        QCOMPARE(log.size(), 1 << 20);
        QVERIFY(
            QRegularExpression("^\\d{14}\\|SAT\\|info\\|").match(QString(log.left(64))).hasMatch());
        QCOMPARE(campos(dll->ExtrairLogs(7, Codigo))[5].size(), f[5].size());
        // Every operation leaves a line.
        ativar();
        QCOMPARE(controle->estado().tamanhoLog, qint64((1 << 20) + emulador::TamanhoLinhaLog));
        controle->alterar([](Estado& e) { e.tamanhoLog = 0; });
        QCOMPARE(campos(dll->ExtrairLogs(7, Codigo))[5], QString());
    }

    // The log ends when its last line was written, by the clock.
    void logDatadoPeloRelogio() {
        QCOMPARE(rodarSatemu({"log", "6400"}), 0);
        const QByteArray log =
            QByteArray::fromBase64(campos(dll->ExtrairLogs(1, Codigo))[5].toLatin1());
        QCOMPARE(log.size(), 6400);
        const auto data = [](const QByteArray& linha) {
            return QDateTime::fromString(QString::fromLatin1(linha.left(14)), "yyyyMMddHHmmss");
        };
        const QDateTime ultima = data(log.right(emulador::TamanhoLinhaLog));
        QVERIFY2(qAbs(ultima.secsTo(QDateTime::currentDateTime())) < 60, log.right(64).constData());
        QCOMPARE(data(log.left(emulador::TamanhoLinhaLog)).secsTo(ultima), 99);
    }

    void atualizacaoSobeAVersaoEReinicia() {
        ativar();
        controle->alterar([](Estado& e) {
            e.reinicioAposMs = 600000;
            e.versaoSoftware = "01.00.99";
        });
        QCOMPARE(dll->AtualizarSoftwareSAT(5, Codigo),
                 QString("5|14000|Software atualizado com sucesso||"));
        QCOMPARE(dll->ExtrairLogs(1, Codigo), DllSat::deWin1252(emulador::PortaNaoPronta));
        controle->conectar(true);
        QCOMPARE(campos(dll->ConsultarStatusOperacional(1, Codigo))[18], QString("01.01.00"));
    }

    void bloqueio() {
        ativar();
        associar();
        QCOMPARE(dll->BloquearSAT(1, Codigo),
                 QString("1|16000|Equipamento SAT bloqueado com sucesso||"));
        QCOMPARE(codigoDe(dll->BloquearSAT(1, Codigo)), QString("16002"));
        QCOMPARE(campos(dll->ConsultarStatusOperacional(1, Codigo))[27], QString("2"));
        QCOMPARE(codigoDe(vender()), QString("06006"));
        QCOMPARE(dll->DesbloquearSAT(1, Codigo),
                 QString("1|17000|Equipamento SAT desbloqueado com sucesso||"));
        QCOMPARE(codigoDe(dll->DesbloquearSAT(1, Codigo)), QString("17005"));
        QCOMPARE(codigoDe(vender()), QString("06000"));
    }

    void trocaDeCodigo() {
        ativar();
        QCOMPARE(codigoDe(dll->TrocarCodigoDeAtivacao(1, Codigo, 1, "novocodigo", "novocodig0")),
                 QString("18099"));
        QCOMPARE(codigoDe(dll->TrocarCodigoDeAtivacao(1, Codigo, 1, "curto", "curto")),
                 QString("18099"));
        QCOMPARE(dll->TrocarCodigoDeAtivacao(1, Codigo, 1, "novocodigo", "novocodigo"),
                 QStringLiteral("1|18000|Código de ativação alterado com sucesso||"));
        QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, Codigo)), QString("10001"));
        QCOMPARE(codigoDe(dll->TrocarCodigoDeAtivacao(1, "novocodigo", 2, Codigo, Codigo)),
                 QString("18002"));
        const QString emergencia = qtexto(controle->estado().codigoEmergencia);
        QVERIFY(!emergencia.isEmpty());
        QCOMPARE(codigoDe(dll->TrocarCodigoDeAtivacao(1, emergencia, 2, Codigo, Codigo)),
                 QString("18000"));
        QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, Codigo)), QString("10000"));
    }

    void foraDaPortaOcupadoEReiniciando() {
        controle->ativado(stexto(Codigo));
        const QString fora = QStringLiteral("PORTA SERIAL NãO ESTá PRONTA, TENTE NOVAMENTE");
        controle->conectar(false);
        QCOMPARE(dll->ConsultarSAT(1), fora);
        QCOMPARE(dll->ConsultarStatusOperacional(1, Codigo), fora);
        QCOMPARE(dll->AtivarSAT(1, 1, Codigo, CnpjContribuinte, 35), fora);
        QCOMPARE(dll->EnviarDadosVenda(1, Codigo, venda()), fora);
        QCOMPARE(dll->DesbloquearSAT(1, Codigo), fora);
        controle->conectar(true);
        controle->ocupar(true);
        QCOMPARE(dll->ConsultarSAT(4), QString("4|08098|SAT em processamento. Tente novamente.||"));
        QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, Codigo)), QString("10098"));
        QCOMPARE(campos(dll->EnviarDadosVenda(1, Codigo, venda())).mid(1, 2),
                 QStringList({"06098", "0000"}));
        QCOMPARE(codigoDe(dll->BloquearSAT(1, Codigo)), QString("16098"));
        QVERIFY(!controle->estado().bloqueado);
        controle->ocupar(false);
        controle->reiniciar(600000);
        QCOMPARE(dll->ConsultarSAT(1), fora);
        controle->conectar(true);
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08000"));
    }

    void proximoDispositivo() {
        controle->ativado(stexto(Codigo));
        const std::string antes = controle->estado().serie;
        controle->proximo(600000);
        QCOMPARE(dll->ConsultarSAT(1), DllSat::deWin1252(emulador::PortaNaoPronta));
        controle->conectar(true);
        const Estado e = controle->estado();
        QVERIFY(e.serie != antes);
        QVERIFY(!e.ativado);
        QCOMPARE(campos(dll->ConsultarStatusOperacional(1, ""))[5], qtexto(e.serie));
    }

    void consultaDeSessao() {
        ativar();
        const QString venda = dll->ConsultarStatusOperacional(4321, Codigo);
        QCOMPARE(dll->ConsultarNumeroSessao(5, Codigo, 4321), venda);
        QCOMPARE(dll->ConsultarNumeroSessao(5, Codigo, 4322),
                 QStringLiteral("5|11003|Sessão não existe||"));
    }

    void estadoCorrompido() {
        QFile f(qtexto(controle->arquivoEstado()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{\"serie\": 12");
        f.close();
        try {
            controle->estado();
            QFAIL("sem erro");
        } catch (const std::runtime_error& e) {
            QVERIFY2(QString(e.what()).contains(qtexto(controle->arquivoEstado())), e.what());
        }
        const QString r = dll->ConsultarSAT(3);
        QVERIFY2(r.startsWith("3|08099|Erro desconhecido") && r.contains("estado.json"),
                 qPrintable(r));
        QCOMPARE(codigoDe(dll->EnviarDadosVenda(1, Codigo, venda())), QString("06099"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("{\"serie\": 12"));
        f.close();
        // A value of another type is no state either.
        controle->fabrica();
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray json = f.readAll().replace("\"ativado\": false", "\"ativado\": \"sim\"");
        f.resize(0);
        f.write(json);
        f.close();
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08099"));
        QCOMPARE(rodarSatemu({"estado"}), 1);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(json)
                    .replace("\"ativado\": \"sim\"", "\"ativado\": false")
                    .replace("\"uf\": 0", "\"uf\": 1e300"));
        f.close();
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08099"));
    }

    // Values no device has make a corrupt state, not a device that misbehaves;
    // a file far larger than any state is not even read.
    void valoresImpossiveisNoEstado() {
        const QString arquivo = qtexto(controle->arquivoEstado());
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray json = f.readAll();
        f.close();
        const QByteArray grande = QByteArray(2 << 20, ' ') + json;
        for (const QByteArray& errado :
             {QByteArray(json).replace("\"numeroCFe\": 0", "\"numeroCFe\": -5"),
              QByteArray(json).replace("\"tamanhoLog\": 0", "\"tamanhoLog\": 1000000000000000"),
              grande}) {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(errado);
            f.close();
            const QString r = dll->ConsultarSAT(3);
            QVERIFY2(r.startsWith("3|08099|") && r.contains("corrompido"), qPrintable(r));
        }
    }

    // A writer killed after it removed the old state and before it renamed the
    // new one left the new one whole: it is the state.
    void estadoDeixadoPeloRenomeInterrompido() {
        controle->ativado(stexto(Codigo));
        const std::string antes = controle->estado().serie;
        QVERIFY(QFile::rename(qtexto(controle->arquivoEstado()),
                              qtexto(controle->arquivoEstado() + ".novo")));
        QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, Codigo)), QString("10000"));
        QCOMPARE(controle->estado().serie, antes);
        QVERIFY(QFile::exists(qtexto(controle->arquivoEstado())));
    }

    // The only copy of the state is never lost to a write that fails, be it
    // the one an older writer killed between its two steps left.
    void estadoSobreviveAGravacaoQueFalha() {
        controle->ativado(stexto(Codigo));
        const std::string antes = controle->estado().serie;
        {
            const DiscoCheio cheio(16);
            QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                     controle->alterar([](Estado& e) { e.numeroCFe = 5; }));
        }
        QCOMPARE(controle->estado().serie, antes);
        QVERIFY(QFile::rename(qtexto(controle->arquivoEstado()),
                              qtexto(controle->arquivoEstado() + ".novo")));
        {
            const DiscoCheio cheio(16);
            dll->ConsultarSAT(1);
            QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                     controle->alterar([](Estado& e) { e.numeroCFe = 5; }));
        }
        const Estado e = controle->estado();
        QCOMPARE(e.serie, antes);
        QVERIFY(e.ativado);
        QCOMPARE(e.numeroCFe, 0);
    }

    void outroProcessoMudaODispositivo() {
        QVERIFY(!CaminhoSatemu().isEmpty());
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08000"));
        QCOMPARE(rodarSatemu({"desconectar"}), 0);
        QCOMPARE(dll->ConsultarSAT(1), DllSat::deWin1252(emulador::PortaNaoPronta));
        QCOMPARE(rodarSatemu({"conectar"}), 0);
        QCOMPARE(rodarSatemu({"ativado", "87654321", CnpjContribuinte, "35"}), 0);
        QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, "87654321")), QString("10000"));
        QCOMPARE(rodarSatemu({"ocupado", "on"}), 0);
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08098"));
        QCOMPARE(rodarSatemu({"ocupado", "off"}), 0);
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08000"));
        QCOMPARE(rodarSatemu({"ocupado"}), 0);
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08098"));
        QCOMPARE(rodarSatemu({"ocupado", "off"}), 0);
        QCOMPARE(rodarSatemu({"log", "100"}), 0);
        QCOMPARE(
            QByteArray::fromBase64(campos(dll->ExtrairLogs(1, "87654321"))[5].toLatin1()).size(),
            100);
        QByteArray json;
        QCOMPARE(rodarSatemu({"estado"}, &json), 0);
        QCOMPARE(emulador::deJson(json.toStdString()).serie, controle->estado().serie);
        QCOMPARE(emulador::deJson(json.toStdString()).codigoAtivacao, "87654321");

        QCOMPARE(rodarSatemu({"tempo-reinicio", "1.5"}), 0);
        QCOMPARE(rodarSatemu({"latencia", "ExtrairLogs", "7"}), 0);
        QCOMPARE(rodarSatemu({"ocupado", "600"}), 0);
        Estado e = controle->estado();
        QCOMPARE(e.reinicioAposMs, 1500);
        QCOMPARE(e.latenciaPorFuncao.at("ExtrairLogs"), 7);
        QCOMPARE(e.latenciaDe("ConsultarSAT"), 0);
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08098"));
        QCOMPARE(rodarSatemu({"proximo", "0"}), 0);
        e = controle->estado();
        QVERIFY(e.serie != emulador::deJson(json.toStdString()).serie);
        QVERIFY(!e.ativado);
        QCOMPARE(e.reinicioAposMs, 1500);
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08000"));
    }

    void satemuRecusaEntradaInvalida_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nada") << QStringList();
        QTest::newRow("desconhecido") << QStringList{"voar"};
        QTest::newRow("latencia negativa") << QStringList{"latencia", "-5"};
        QTest::newRow("latencia de funcao desconhecida") << QStringList{"latencia", "Voar", "5"};
        QTest::newRow("ocupado talvez") << QStringList{"ocupado", "talvez"};
        QTest::newRow("diario sim") << QStringList{"diario", "sim"};
        QTest::newRow("ativado cnpj invalido")
            << QStringList{"ativado", "12345678", "12345678000190", "35"};
        QTest::newRow("ativado sem uf") << QStringList{"ativado", "12345678", CnpjContribuinte};
        QTest::newRow("log texto") << QStringList{"log", "muito"};
        QTest::newRow("estado com argumento") << QStringList{"estado", "x"};
    }
    void satemuRecusaEntradaInvalida() {
        QFETCH(QStringList, args);
        const Estado antes = controle->estado();
        QCOMPARE(rodarSatemu(args), 2);
        QCOMPARE(emulador::paraJson(controle->estado()), emulador::paraJson(antes));
    }

    void doisProcessosAlteramAoMesmoTempo() {
        QProcess a, b;
        a.start(CaminhoSatemu(), {"log", "5000"});
        b.start(CaminhoSatemu(), {"diario", "on"});
        for (int i = 0; i < 100; ++i) controle->alterar([](Estado& e) { ++e.numeroCFe; });
        QVERIFY(a.waitForFinished(30000) && b.waitForFinished(30000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        const Estado e = controle->estado();
        QCOMPARE(e.numeroCFe, 100);
        QCOMPARE(e.tamanhoLog, qint64(5000));
        QVERIFY(e.diario);
    }

    void diario() {
        controle->alterar([](Estado& e) { e.diario = true; });
        dll->ConsultarSAT(31);
        dll->ConfigurarInterfaceDeRede(32, "", "<config>\n<x/>\n</config>");
        const auto linhas = controle->linhasDiario();
        QCOMPARE(linhas.size(), 2u);
        QVERIFY2(qtexto(linhas[0]).endsWith(
                     QStringLiteral("ConsultarSAT(31) -> 31|08000|SAT em operação||")),
                 linhas[0].c_str());
        QVERIFY2(qtexto(linhas[1]).contains(
                     "ConfigurarInterfaceDeRede(32, , <config>\\n<x/>\\n</config>) -> 32|12002"),
                 linhas[1].c_str());
    }

    // The journal keeps its size: past it, it starts afresh beside the last one.
    void diarioRenovado() {
        controle->alterar([](Estado& e) { e.diario = true; });
        QFile f(qtexto(controle->arquivoDiario()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray linha = QByteArray(99, 'x') + '\n';
        for (qint64 i = 0; i < emulador::LimiteDiario / linha.size(); ++i) f.write(linha);
        f.close();
        dll->ConsultarSAT(1);
        QVERIFY(QFile::exists(f.fileName() + ".1"));
        QCOMPARE(controle->linhasDiario().size(), 1u);
    }

    // A line cut short by a full disk does not run into the next one.
    void diarioSoComLinhasInteiras() {
        controle->alterar([](Estado& e) { e.diario = true; });
        dll->ConsultarSAT(1);
        {
            const DiscoCheio cheio(QFileInfo(qtexto(controle->arquivoDiario())).size() + 20);
            dll->ConsultarSAT(2);
        }
        dll->ConsultarSAT(3);
        const auto linhas = controle->linhasDiario();
        QCOMPARE(linhas.size(), 2u);
        const QRegularExpression inteira(QStringLiteral(
            "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} ConsultarSAT\\(\\d\\) -> "
            "\\d\\|08000\\|SAT em operação\\|\\|$"));
        for (const std::string& l : linhas)
            QVERIFY2(inteira.match(qtexto(l)).hasMatch(), l.c_str());
    }

    void chamadasDeVariasThreads() {
        using Fn = const char* (*)(int);
        void* h = dlopen(qPrintable(CaminhoEmulador()), RTLD_NOW);
        QVERIFY(h);
        auto consultar = reinterpret_cast<Fn>(dlsym(h, "ConsultarSAT"));
        controle->latencia(20);
        const char* minha = consultar(11);
        std::atomic<int> ocupadas{0};
        std::thread outra([&] {
            for (int i = 0; i < 5; ++i)
                if (QByteArray(consultar(22)) != "22|08000|SAT em opera\xe7\xe3o||") ++ocupadas;
        });
        for (int i = 0; i < 5; ++i)
            if (QByteArray(consultar(33)) != "33|08000|SAT em opera\xe7\xe3o||") ++ocupadas;
        outra.join();
        QCOMPARE(ocupadas.load(), 0);
        // This thread's reply is its own: the other thread's calls left it alone.
        minha = consultar(11);
        std::thread([&] { consultar(44); }).join();
        QCOMPARE(QByteArray(minha), QByteArray("11|08000|SAT em opera\xe7\xe3o||"));
        dlclose(h);
    }

    // Null for every text, as callers pass an empty one: each function answers
    // in its layout, on a factory-new device and on one in use.
    void ponteirosNulos() {
        void* h = dlopen(qPrintable(CaminhoEmulador()), RTLD_NOW);
        QVERIFY(h);
        auto f = [h](const char* nome) { return dlsym(h, nome); };
        using T = const char*;
        using Tx1 = T (*)(int, T);
        using Tx2 = T (*)(int, T, T);
        using Tx3 = T (*)(int, T, T, T);
        auto chamarTodas = [&](const QByteArray& codigo) {
            const T c = codigo.isEmpty() ? nullptr : codigo.constData();
            QList<QByteArray> r{
                reinterpret_cast<Tx1>(f("ConsultarStatusOperacional"))(1, c),
                reinterpret_cast<T (*)(int, T, int)>(f("ConsultarNumeroSessao"))(2, c, 987654),
                reinterpret_cast<T (*)(int, int, T, T, int)>(f("AtivarSAT"))(3, 1, c, nullptr, 35),
                reinterpret_cast<Tx3>(f("AssociarAssinatura"))(4, c, nullptr, nullptr),
                reinterpret_cast<Tx2>(f("TesteFimAFim"))(5, c, nullptr),
                reinterpret_cast<Tx2>(f("EnviarDadosVenda"))(6, c, nullptr),
                reinterpret_cast<Tx3>(f("CancelarUltimaVenda"))(7, c, nullptr, nullptr),
                reinterpret_cast<Tx2>(f("ConfigurarInterfaceDeRede"))(8, c, nullptr),
                reinterpret_cast<T (*)(int, T, int, T, T)>(f("TrocarCodigoDeAtivacao"))(
                    9, c, 1, nullptr, nullptr),
                reinterpret_cast<T (*)(int, T, int, T, T)>(f("TrocarCodigoDeAtivacao"))(
                    10, c, 2, nullptr, nullptr),
                reinterpret_cast<Tx1>(f("ExtrairLogs"))(11, c),
                reinterpret_cast<Tx1>(f("BloquearSAT"))(12, c),
                reinterpret_cast<Tx1>(f("DesbloquearSAT"))(13, c),
            };
            QStringList codigos;
            for (int i = 0; i < r.size(); ++i) {
                const QList<QByteArray> partes = r[i].split('|');
                if (partes.value(0) != QByteArray::number(i + 1))
                    return QStringList{QString::fromLatin1(r[i])};
                QByteArray retorno = partes.value(1);
                // The functions with a detail code carry it in field 2.
                if (partes.size() == 6 && retorno != "15000") retorno += "/" + partes[2];
                codigos << QString::fromLatin1(retorno);
            }
            return codigos;
        };
        QCOMPARE(chamarTodas({}),
                 QStringList({"10000", "11002", "04099", "13001/0000", "09002", "06002/0000",
                              "07001/0000", "12002", "18001", "18002", "15000", "16001", "17001"}));
        ativar();
        associar();
        QCOMPARE(chamarTodas(Codigo.toLatin1()),
                 QStringList({"10000", "11003", "04003", "13004/1224", "09099", "06010/1999",
                              "07007/1999", "12002", "18099", "18002", "15000", "16000", "17000"}));
        dlclose(h);
    }

    // Documents nested without end and bytes that are no UTF-8: refused in the
    // function's layout, never a crash.
    void documentosHostis() {
        ativar();
        associar();
        auto fundo = [](const QByteArray& raiz, int niveis) -> QByteArray {
            QByteArray b = '<' + raiz + '>';
            b.reserve(niveis * 7 + 2 * raiz.size() + 5);
            for (int i = 0; i < niveis; ++i) b += "<a>";
            for (int i = 0; i < niveis; ++i) b += "</a>";
            return b + "</" + raiz + '>';
        };
        // A sale as deep as its size limit lets it be; the others have no limit.
        const QByteArray funda = venda().replace("<total/>", fundo("total", 210000));
        QVERIFY(funda.size() < 1500 * 1024);
        QCOMPARE(campos(vender(funda)).mid(1, 2), QStringList({"06010", "1999"}));
        QCOMPARE(codigoDe(dll->TesteFimAFim(1, Codigo, fundo("CFe", 1000000))), QString("09099"));
        QCOMPARE(codigoDe(dll->ConfigurarInterfaceDeRede(1, Codigo, fundo("config", 1000000))),
                 QString("12002"));
        const QString chave = campos(vender())[8];
        QCOMPARE(
            campos(dll->CancelarUltimaVenda(1, Codigo, chave, fundo("CFeCanc", 1000000))).mid(1, 2),
            QStringList({"07007", "1999"}));

        QCOMPARE(campos(vender(venda().replace("Produto \xc3\xa7", "Produto \xe7"))).mid(1, 2),
                 QStringList({"06010", "1999"}));
    }

    // Texts that reach a reply never move its fields: a consumer's number, a
    // state folder's name.
    void camposNoLugar() {
        ativar();
        associar();
        QStringList f = campos(vender(venda().replace("<dest/>", "<dest><CPF>1|2</CPF></dest>")));
        QCOMPARE(f.size(), 6);
        QCOMPARE(f.mid(1, 2), QStringList({"06010", "1237"}));
        QCOMPARE(campos(vender(venda().replace("<dest/>", "<dest><CPF>52998224726</CPF></dest>")))
                     .mid(1, 2),
                 QStringList({"06010", "1237"}));
        f = campos(vender(venda().replace("<dest/>", "<dest><CPF>52998224725</CPF></dest>")));
        QCOMPARE(f.size(), 12);
        QCOMPARE(f[10], QString("52998224725"));

        const QString estranha = pasta() + "/a|b";
        QVERIFY(QDir().mkpath(estranha));
        QFile corrompido(estranha + "/estado.json");
        QVERIFY(corrompido.open(QIODevice::WriteOnly));
        corrompido.write("{");
        corrompido.close();
        qputenv("SAT_EMULADOR_DIR", estranha.toUtf8());
        f = campos(dll->ConsultarSAT(3));
        QCOMPARE(f.size(), 5);
        QCOMPARE(f[1], QString("08099"));
        QVERIFY2(f[2].contains("estado.json"), qPrintable(f[2]));
    }

    // Amounts past the device's fields are refused, not computed into nonsense.
    void valoresForaDosCampos() {
        ativar();
        associar();
        QByteArray enorme = venda();
        enorme.replace("<vUnCom>0.10</vUnCom>", "<vUnCom>1e300</vUnCom>")
            .replace("<vUnCom>1.333</vUnCom>", "<vUnCom>1e300</vUnCom>");
        QCOMPARE(campos(vender(enorme)).mid(1, 2), QStringList({"06010", "1465"}));
        QCOMPARE(
            campos(vender(venda(CnpjSH, Dev, "12.00", "99999999999.0000")
                              .replace("<vUnCom>0.10</vUnCom>", "<vUnCom>99999999999.99</vUnCom>")))
                .mid(1, 2),
            QStringList({"06010", "1999"}));
        QCOMPARE(campos(vender(venda(CnpjSH, Dev, "1e300"))).mid(1, 2),
                 QStringList({"06010", "1528"}));
        QCOMPARE(controle->estado().numeroCFe, 0);
    }

    // Integrators load the library into programs with a Qt of their own, or none.
    void bibliotecaSemQt() {
        QFile f(CaminhoEmulador());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray elf = f.readAll();
        const auto* cabecalho = reinterpret_cast<const Elf64_Ehdr*>(elf.constData());
        const auto* secoes =
            reinterpret_cast<const Elf64_Shdr*>(elf.constData() + cabecalho->e_shoff);
        QStringList necessarias;
        for (int i = 0; i < cabecalho->e_shnum; ++i) {
            if (secoes[i].sh_type != SHT_DYNAMIC) continue;
            const char* nomes = elf.constData() + secoes[secoes[i].sh_link].sh_offset;
            const auto* d =
                reinterpret_cast<const Elf64_Dyn*>(elf.constData() + secoes[i].sh_offset);
            for (; d->d_tag != DT_NULL; ++d)
                if (d->d_tag == DT_NEEDED)
                    necessarias << QString::fromLatin1(nomes + d->d_un.d_val);
        }
        QVERIFY(necessarias.contains("libc.so.6"));
        QVERIFY2(necessarias.filter("Qt", Qt::CaseInsensitive).isEmpty(),
                 qPrintable(necessarias.join(' ')));
    }

    // Codes typed with the characters Windows-1252 has past Latin-1.
    void codigoEmWindows1252() {
        for (const QString& codigo :
             {QStringLiteral("abc\u20ac1234"), QStringLiteral("\u0152\u201cabc\u201d12")}) {
            QCOMPARE(rodarSatemu({"ativado", codigo}), 0);
            QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, codigo)), QString("10000"));
            QCOMPARE(codigoDe(dll->ConsultarStatusOperacional(1, "abc1234")), QString("10001"));
        }
    }

    void emitenteDeOutroContribuinte() {
        ativar();
        associar();
        const QStringList f = campos(
            vender(venda().replace("<emit><CNPJ>12345678000195", "<emit><CNPJ>11222333000181")));
        QCOMPARE(f.mid(1, 3),
                 QStringList(
                     {"06010", "1203", QStringLiteral("Emitente não autorizado para uso do SAT")}));
        QCOMPARE(controle->estado().numeroCFe, 0);
    }

    // The codes and signatures are the user's alone.
    void estadoPrivado() {
        const QString propria = pastaComDiario();
        QCOMPARE(codigoDe(dll->ConsultarSAT(1)), QString("08000"));
        const auto modo = [&](const char* nome) {
            struct stat s {};
            return ::stat(qPrintable(propria + nome), &s) == 0 ? s.st_mode & 0777 : 0;
        };
        QCOMPARE(modo(""), 0700u);
        for (const char* arquivo : {"/estado.json", "/diario.txt", "/estado.lock"})
            QCOMPARE(modo(arquivo), 0600u);
    }

    // Links planted in the folder lead nowhere; a folder others may write to
    // is refused.
    void linksNaoSeguidos() {
        const QString propria = pastaComDiario();
        QFile vitima(pasta() + "/vitima");
        QVERIFY(vitima.open(QIODevice::WriteOnly));
        vitima.write("intacta");
        vitima.close();
        for (const char* arquivo : {"/estado.json.novo", "/diario.txt"}) {
            QFile::remove(propria + arquivo);
            QVERIFY(QFile::link(vitima.fileName(), propria + arquivo));
        }
        dll->AtivarSAT(1, 1, Codigo, CnpjContribuinte, 35);
        QVERIFY(vitima.open(QIODevice::ReadOnly));
        QCOMPARE(vitima.readAll(), QByteArray("intacta"));

        QVERIFY(
            QFile::setPermissions(propria, QFileInfo(propria).permissions() | QFile::WriteOther));
        const QString r = dll->ConsultarSAT(2);
        QVERIFY2(r.startsWith("2|08099|") && r.contains("outros usuários"), qPrintable(r));
    }

    // A pipe in the folder is refused at once, never waited on: the caller
    // would keep the device from every other one.
    void pipesRecusados() {
        const QString propria = pastaComDiario();
        for (const char* arquivo : {"/estado.json.novo", "/diario.txt"}) {
            QFile::remove(propria + arquivo);
            const FifoTeste fifo(propria + arquivo);
            QCOMPARE(codigoDe(dll->ConfigurarInterfaceDeRede(1, "", RedeDhcp)), QString("12000"));
            QVERIFY2(!fifo.precisouLiberar(), arquivo);
        }
        QFile::remove(propria + "/estado.json");
        const FifoTeste fifo(propria + "/estado.json");
        const QString r = dll->ConsultarSAT(2);
        QVERIFY(!fifo.precisouLiberar());
        QVERIFY2(r.startsWith("2|08099|") && r.contains("não é um arquivo comum"), qPrintable(r));
    }

    // A file with a name elsewhere is not the device's: it is neither written
    // through nor believed.
    void linksFisicosRecusados() {
        const QString propria = pastaComDiario();
        QFile vitima(pasta() + "/vitima");
        QVERIFY(vitima.open(QIODevice::WriteOnly));
        vitima.write("intacta");
        vitima.close();
        QVERIFY(::chmod(qPrintable(vitima.fileName()), 0604) == 0);
        for (const char* arquivo : {"/estado.json.novo", "/diario.txt"}) {
            QFile::remove(propria + arquivo);
            QVERIFY(::link(qPrintable(vitima.fileName()), qPrintable(propria + arquivo)) == 0);
        }
        dll->AtivarSAT(1, 1, Codigo, CnpjContribuinte, 35);
        QVERIFY(vitima.open(QIODevice::ReadOnly));
        QCOMPARE(vitima.readAll(), QByteArray("intacta"));
        struct stat modo {};
        QVERIFY(::stat(qPrintable(vitima.fileName()), &modo) == 0);
        QCOMPARE(modo.st_mode & 0777, 0604u);
        QVERIFY(::link(qPrintable(propria + "/estado.json"), qPrintable(pasta() + "/copia")) == 0);
        const QString r = dll->ConsultarSAT(2);
        QVERIFY2(r.startsWith("2|08099|") && r.contains("link físico"), qPrintable(r));
    }

    // A folder of another user, or one another user could swap for their own,
    // is refused as one others may write to is.
    void pastasQueOutrosControlam() {
        const QString propria = pastaComDiario();
        const QString acima = pasta() + "/nova";
        QVERIFY(QFile::setPermissions(acima, QFileDevice::Permissions(0x7777)));
        QString r = dll->ConsultarSAT(1);
        QVERIFY2(r.startsWith("1|08099|") && r.contains("acima"), qPrintable(r));
        QVERIFY(::chmod(qPrintable(acima), 01777) == 0);
        QCOMPARE(codigoDe(dll->ConsultarSAT(2)), QString("08000"));
        if (::chown(qPrintable(propria), 65534, 65534) != 0) QSKIP("sem como dar a pasta a outro");
        r = dll->ConsultarSAT(3);
        QVERIFY2(r.startsWith("3|08099|") && r.contains("outro usuário"), qPrintable(r));
    }

    void satemuVersaoESerie() {
        QByteArray saida;
        QCOMPARE(rodarSatemu({"--version"}, &saida), 0);
        QCOMPARE(saida, "satemu " + VersaoArquivo(dll->caminho()).toLatin1() + "\n");
        QCOMPARE(rodarSatemu({"novo", "--serie", "900000001"}), 0);
        QCOMPARE(controle->estado().serie, "900000001");
        QCOMPARE(rodarSatemu({"novo", "--serie", "12"}), 2);
    }

    // Past the standard's size, every document is refused before it is read.
    void documentosAlemDoLimite() {
        ativar();
        associar();
        const QByteArray cfe(emulador::LimiteCFe, ' ');
        QCOMPARE(campos(vender(venda() + cfe)).mid(1, 2), QStringList({"06005", "0000"}));
        QCOMPARE(codigoDe(dll->TesteFimAFim(1, Codigo, venda() + cfe)), QString("09099"));
        const QString chave = campos(vender())[8];
        QCOMPARE(
            campos(dll->CancelarUltimaVenda(1, Codigo, chave, cancelamento(chave) + cfe)).mid(1, 2),
            QStringList({"07007", "1999"}));
        const QByteArray rede =
            "<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan></config>";
        QCOMPARE(codigoDe(dll->ConfigurarInterfaceDeRede(
                     1, Codigo, rede + QByteArray(emulador::LimiteRede, ' '))),
                 QString("12002"));
        QCOMPARE(codigoDe(dll->ConfigurarInterfaceDeRede(1, Codigo, rede)), QString("12000"));
    }

    // A caller stopped while it holds the device: the others are told it is
    // busy, as a device tells them while it works, instead of waiting for good.
    void dispositivoPresoAtendeOcupado() {
        controle->estado();
        const int trava = ::open(qPrintable(pasta() + "/estado.lock"), O_RDWR);
        QVERIFY(trava >= 0 && ::flock(trava, LOCK_EX) == 0);
        std::atomic<bool> pronta{false};
        QString venda, consulta;
        std::thread outra([&] {
            consulta = dll->ConsultarSAT(1);
            venda = dll->EnviarDadosVenda(2, Codigo, "<CFe/>");
            pronta = true;
        });
        for (int i = 0; i < 100 && !pronta; ++i) QTest::qWait(100);
        const bool atendida = pronta;
        ::close(trava);
        outra.join();
        QVERIFY(atendida);
        QCOMPARE(consulta, QString("1|08098|SAT em processamento. Tente novamente.||"));
        QCOMPARE(campos(venda).mid(1, 2), QStringList({"06098", "0000"}));
        QCOMPARE(codigoDe(dll->ConsultarSAT(3)), QString("08000"));
    }

    // Unplugged during a call, or swapped for the next one, the device never
    // answers it, however long it would have taken.
    void desconectadoDuranteAChamada() {
        controle->latencia(8000);
        for (const QStringList& comando :
             {QStringList{"desconectar"}, QStringList{"proximo", "0"}}) {
            controle->conectar(true);
            QString r;
            std::thread chamada([&] { r = dll->ExtrairLogs(1, Codigo); });
            QTest::qWait(300);
            const int saida = rodarSatemu(comando);
            chamada.join();
            QCOMPARE(saida, 0);
            QCOMPARE(r, DllSat::deWin1252(emulador::PortaNaoPronta));
        }
    }

    // A log of hundreds of MiB is made with the device released: it can be
    // unplugged meanwhile, and the extraction stops there.
    void desconectadoDuranteExtracaoLonga() {
        controle->alterar([](Estado& e) { e.tamanhoLog = emulador::LimiteLog / 4; });
        QString r;
        std::thread chamada([&] { r = dll->ExtrairLogs(1, Codigo); });
        QTest::qWait(300);
        const int saida = rodarSatemu({"desconectar"});
        chamada.join();
        QCOMPARE(saida, 0);
        QCOMPARE(r, DllSat::deWin1252(emulador::PortaNaoPronta));
    }

    // On request a function misbehaves, its own fault before that of every
    // function, until told otherwise; satemu estado shows it.
    void falhasAPedido() {
        void* h = dlopen(qPrintable(CaminhoEmulador()), RTLD_NOW);
        QVERIFY(h);
        auto consultar = reinterpret_cast<const char* (*)(int)>(dlsym(h, "ConsultarSAT"));
        auto status = reinterpret_cast<const char* (*)(int, const char*)>(
            dlsym(h, "ConsultarStatusOperacional"));
        QCOMPARE(rodarSatemu({"falha", "ConsultarSAT", "nula"}), 0);
        QVERIFY(!consultar(1));
        QCOMPARE(QByteArray(status(2, "")).left(8), QByteArray("2|10000|"));
        QCOMPARE(rodarSatemu({"falha", "todas", "vazia"}), 0);
        QVERIFY(!consultar(1));
        QCOMPARE(QByteArray(status(2, "")), QByteArray());
        QCOMPARE(rodarSatemu({"falha", "ConsultarStatusOperacional", "inundar", "3"}), 0);
        QCOMPARE(qstrlen(status(3, "")), 3u << 20);
        QByteArray json;
        QCOMPARE(rodarSatemu({"estado"}, &json), 0);
        QVERIFY2(json.contains("\"ConsultarSAT\": \"nula\"") &&
                     json.contains("\"ConsultarStatusOperacional\": \"inundar\"") &&
                     json.contains("\"ConsultarStatusOperacional\": 3"),
                 json.constData());
        QCOMPARE(rodarSatemu({"falha", "ConsultarSAT", "nenhuma"}), 0);
        QCOMPARE(QByteArray(consultar(4)), QByteArray());
        QCOMPARE(rodarSatemu({"falha", "todas", "nenhuma"}), 0);
        QCOMPARE(QByteArray(consultar(5)).left(8), QByteArray("5|08000|"));
        QVERIFY(controle->estado().falhas.empty());
        QCOMPARE(rodarSatemu({"falha", "ConsultarSAT", "voar"}), 2);
        QCOMPARE(rodarSatemu({"falha", "Voar", "nula"}), 2);
        dlclose(h);
    }

    // The faults that end or hold the caller, in a child process: how it ended.
    void falhasQueDerrubamOChamador() {
        const auto chamarEmFilho = [] {
            const pid_t filho = ::fork();
            if (filho == 0) {
                // The signal's own end, not a sanitizer's report.
                std::signal(SIGSEGV, SIG_DFL);
                void* h = dlopen(qPrintable(CaminhoEmulador()), RTLD_NOW);
                reinterpret_cast<const char* (*)(int)>(dlsym(h, "ConsultarSAT"))(1);
                ::_exit(0);
            }
            return filho;
        };
        const auto fim = [&](const char* modo) {
            controle->falha("ConsultarSAT", modo);
            int status = 0;
            ::waitpid(chamarEmFilho(), &status, 0);
            return status;
        };
        int s = fim("abortar");
        QVERIFY(WIFSIGNALED(s) && WTERMSIG(s) == SIGABRT);
        s = fim("sinal");
        QVERIFY(WIFSIGNALED(s) && WTERMSIG(s) == SIGSEGV);
        s = fim("sair");
        QVERIFY(WIFEXITED(s) && WEXITSTATUS(s) == 3);
        // Held until the fault ends, then answered.
        controle->falha("ConsultarSAT", "travar");
        const pid_t filho = chamarEmFilho();
        QTest::qWait(300);
        QCOMPARE(::waitpid(filho, &s, WNOHANG), 0);
        controle->falha("ConsultarSAT", "nenhuma");
        QCOMPARE(::waitpid(filho, &s, 0), filho);
        QVERIFY(WIFEXITED(s) && WEXITSTATUS(s) == 0);
    }

    void versaoDaBiblioteca() {
        QCOMPARE(EmpresaArquivo(dll->caminho()),
                 QString("Tivoro Telecomunicacoes e Informatica S/A"));
        QCOMPARE(VersaoArquivo(dll->caminho()), QString("1.0.2.15"));
    }
};

QTEST_GUILESS_MAIN(TstEmulador)
#include "tst_emulador.moc"
