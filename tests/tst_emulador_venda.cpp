#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <initializer_list>

#include "emulator/CFe.h"
#include "emulator/Controle.h"
#include "emulator/Dispositivo.h"
#include "emulator/Documentos.h"
#include "emulator/Texto.h"
#include "emulator/Venda.h"
#include "emulator/Xml.h"

using emulador::Venda;

namespace {

// Two items, one rounded (A) and one truncated (T) with a discount.
const std::string Base =
    "<CFe><infCFe versaoDadosEnt=\"0.07\"><ide><CNPJ>98765432000198</CNPJ><signAC>s</signAC>"
    "</ide><emit><CNPJ>12345678000195</CNPJ><IE>111</IE></emit><dest/>"
    "<det nItem=\"1\"><prod><qCom>2.0000</qCom><vUnCom>0.105</vUnCom><indRegra>A</indRegra>"
    "</prod></det><det nItem=\"2\"><prod><qCom>3.0000</qCom><vUnCom>1.333</vUnCom>"
    "<indRegra>T</indRegra><vDesc>0.50</vDesc><vOutro>0.02</vOutro></prod></det><total/>"
    "<pgto><MP><cMP>01</cMP><vMP>10.00</vMP></MP><MP><cMP>03</cMP><vMP>2.00</vMP></MP></pgto>"
    "</infCFe></CFe>";

// The process's locale for as long as it lives: the first of these names the
// system knows (POSIX's, then Windows' C runtime's).
class Localidade {
  public:
    explicit Localidade(std::initializer_list<const char*> nomes)
        : m_antes(std::setlocale(LC_ALL, nullptr)) {
        for (const char* nome : nomes)
            if ((m_tomou = std::setlocale(LC_ALL, nome) != nullptr)) break;
    }
    ~Localidade() { std::setlocale(LC_ALL, m_antes.c_str()); }
    Localidade(const Localidade&) = delete;
    Localidade& operator=(const Localidade&) = delete;
    bool tomou() const { return m_tomou; }

  private:
    std::string m_antes;
    bool m_tomou = false;
};

std::string declarado(const char* codificacao) {
    return std::string("<?xml version=\"1.0\" encoding=\"") + codificacao + "\"?>" + Base;
}

Venda calculada(const std::string& xml, std::optional<emulador::No>& doc) {
    doc = emulador::lerXml(xml);
    return doc ? emulador::calcular(*doc) : emulador::malformada();
}

}  // namespace

// The sale computation and the access key, straight, without a device.
class TstEmuladorVenda : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void totais() {
        std::optional<emulador::No> doc;
        const Venda v = calculada(Base, doc);
        QCOMPARE(v.cccc, 0);
        QCOMPARE(v.itens.size(), std::size_t(2));
        QCOMPARE(v.itens[0].vProd, std::int64_t(21));   // 0.21: rounded
        QCOMPARE(v.itens[1].vProd, std::int64_t(399));  // 3.99: truncated
        QCOMPARE(v.itens[1].vItem, std::int64_t(351));
        QCOMPARE(v.total, std::int64_t(372));
        QCOMPARE(v.pago, std::int64_t(1200));
        QCOMPARE(emulador::valor(v.total), "3.72");
        QCOMPARE(emulador::valor(5), "0.05");
    }

    // Amounts are read the same in a Brazilian locale, whose decimal mark is
    // the comma.
    void vendaEmLocalidadeBrasileira() {
        const QTemporaryDir pasta;
        const std::string sinal = "SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT";
        emulador::Controle(pasta.path().toStdString())
            .ativado("12345678", "12345678000195", 35, sinal);
        std::string xml = Base;
        xml.replace(xml.find("<signAC>s"), 9, "<signAC>" + sinal);
        const Localidade brasileira({"pt_BR.UTF-8", "Portuguese_Brazil.1252"});
        QVERIFY(brasileira.tomou());
        QCOMPARE(*std::localeconv()->decimal_point, ',');
        const std::string r = emulador::Dispositivo(pasta.path().toStdString())
                                  .EnviarDadosVenda(1, "12345678", xml.c_str());
        QCOMPARE(QString::fromStdString(r).section('|', 1, 2), QString("06000|0000"));
    }

    // Documents are UTF-8: one declared in another encoding is refused as a
    // content error.
    void documentoEmOutraCodificacao() {
        std::optional<emulador::No> doc;
        for (const char* codificacao : {"UTF-8", "utf-8"})
            QCOMPARE(calculada(declarado(codificacao), doc).cccc, 0);
        QCOMPARE(calculada(declarado("ISO-8859-1"), doc).cccc, 1999);
        QVERIFY(!doc);
    }

    void codigosDeRecusa_data() {
        QTest::addColumn<QString>("de");
        QTest::addColumn<QString>("para");
        QTest::addColumn<int>("cccc");
        QTest::newRow("valida") << ""
                                << "" << 0;
        QTest::newRow("software house") << "98765432000198"
                                        << "98765432000199" << 1224;
        QTest::newRow("emitente") << "12345678000195"
                                  << "1234567800019" << 1207;
        QTest::newRow("sem IE") << "<IE>111</IE>"
                                << "" << 1229;
        QTest::newRow("cpf") << "<dest/>"
                             << "<dest><CPF>52998224726</CPF></dest>" << 1237;
        QTest::newRow("itens fora de ordem") << "nItem=\"2\""
                                             << "nItem=\"3\"" << 1019;
        QTest::newRow("quantidade") << "<qCom>2.0000"
                                    << "<qCom>0" << 1464;
        QTest::newRow("valor unitario") << "<vUnCom>0.105"
                                        << "<vUnCom>1e300" << 1465;
        QTest::newRow("regra") << "<indRegra>A"
                               << "<indRegra>X" << 1467;
        QTest::newRow("desconto") << "<vDesc>0.50"
                                  << "<vDesc>-1" << 1468;
        QTest::newRow("negativo") << "<vDesc>0.50"
                                  << "<vDesc>9.00" << 1998;
        QTest::newRow("meio") << "<cMP>03"
                              << "<cMP>07" << 1527;
        QTest::newRow("pago menos") << "<vMP>10.00"
                                    << "<vMP>1.00" << 1408;
        QTest::newRow("sem itens") << "<det nItem=\"1\">"
                                   << "<x nItem=\"1\">" << 1019;
        QTest::newRow("outra raiz") << "<CFe>"
                                    << "<CFeCanc>" << 1999;
    }
    void codigosDeRecusa() {
        QFETCH(QString, de);
        QFETCH(QString, para);
        QFETCH(int, cccc);
        std::string xml = Base;
        if (!de.isEmpty()) {
            xml.replace(xml.find(de.toStdString()), de.size(), para.toStdString());
            if (de == "<CFe>") xml.replace(xml.rfind("</CFe>"), 6, "</CFeCanc>");
            if (de.startsWith("<det")) xml.replace(xml.find("</det>"), 6, "</x>");
        }
        std::optional<emulador::No> doc;
        QCOMPARE(calculada(xml, doc).cccc, cccc);
    }

    void chaveDeAcesso() {
        const std::int64_t ms = 1700000000000;
        const std::string chave =
            emulador::novaChave(35, "12345678000195", "900004019", 1234567, ms, 42);
        QCOMPARE(chave.size(), std::size_t(44));
        QCOMPARE(chave.substr(0, 6), "35" + emulador::dataHora(ms, "%y%m"));
        QCOMPARE(chave.substr(6, 14), "12345678000195");
        QCOMPARE(chave.substr(20, 2), "59");
        QCOMPARE(chave.substr(22, 9), "900004019");
        QCOMPARE(chave.substr(31, 6), "234567");
        QCOMPARE(chave.substr(37, 6), "000042");
        QVERIFY(emulador::chaveValida(chave));
        QCOMPARE(emulador::digitoChave("3515070872321800018659900004019000021513340"), 8);
        QVERIFY(!emulador::chaveValida("35150708723218000186599000040190000215133409"));
    }
};

QTEST_GUILESS_MAIN(TstEmuladorVenda)
#include "tst_emulador_venda.moc"
