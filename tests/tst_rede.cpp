#include <QLineEdit>
#include <QRadioButton>
#include <QXmlStreamReader>
#include <QtTest>

#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/CampoMascara.h"
#include "ui/Contexto.h"
#include "ui/Sessao.h"

using Icone = PortaDialogos::Icone;

namespace {
const QByteArray StatusDHCP =
    "1|10000|Resposta com Sucesso|||900004019|DHCP|010.000.000.108|30:40:03:19:19:40|"
    "255.255.255.000|010.000.000.001|008.008.008.008|008.008.004.004|CONECTADO|ALTO|4 GB|260 MB|"
    "20150912113321|01.00.00|00.07|||||20150912113039|20150708|20200708|0";
const QByteArray StatusFixo =
    "1|10000|Resposta com Sucesso|||900004019|IPFIX|10.0.0.5|30:40:03:19:19:40|255.255.255.0|"
    "10.0.0.1|||CONECTADO|ALTO|4 GB|260 MB|20150912113321|01.00.00|00.07|||||20150912113039|"
    "20150708|20200708|0";
const QByteArray RespostaRede = "2|12000|Rede Configurada|0000||";
const QString Vazio = QStringLiteral("   .   .   .   ");
}  // namespace

// The network configuration window against a stand-in library that answers
// what the test sets and keeps the document it received.
class TstRede : public TesteFalso {
    Q_OBJECT

    QWidget* janela() { return b->janela(Janela::ConfRede); }
    QLineEdit* campo(const char* nome) { return b->controle<QLineEdit>(Janela::ConfRede, nome); }
    QRadioButton* radio(const char* nome) {
        return b->controle<QRadioButton>(Janela::ConfRede, nome);
    }
    void marcar(const char* nome) { QVERIFY(b->marcar(Janela::ConfRede, nome)); }
    void abrir(const QByteArray& status) {
        falsa.responder(status);
        QVERIFY(b->clicar(Janela::Principal, "BtConfRede"));
        QVERIFY(janela()->isVisible());
        falsa.responder(RespostaRede);
    }
    // What the device received from "Enviar".
    QByteArray enviar() {
        const int antes = falsa.chamadas();
        if (!b->clicar(Janela::ConfRede, "BtEnviar")) return "botao inacessivel";
        return falsa.chamadas() == antes ? QByteArray() : falsa.argumento(2);
    }
    void digitar(const char* nome, const QString& texto) {
        QLineEdit* c = campo(nome);
        c->setFocus();
        c->home(false);
        QTest::keyClicks(c, texto);
    }

    void preparar() override {
        falsa.responder(StatusDHCP);
        b->janela(Janela::Principal)->show();
    }

  private Q_SLOTS:
    void abreComDHCPDoDispositivo() {
        abrir(StatusDHCP);
        QVERIFY(!b->janela(Janela::Principal)->isVisible());
        QVERIFY(radio("RdBDHCP")->isChecked());
        QVERIFY(radio("RdBProxyNenhum")->isChecked());
        for (const char* nome :
             {"MaskEdIP", "MaskEdMascaraRede", "MaskEdGateway", "MaskEdDNSPrin", "MaskEdDNSAlt",
              "MaskEdProxyIP", "EdProxyPorta", "EdProxyUsuario", "EdProxySenha"})
            QVERIFY2(!campo(nome)->isEnabled(), nome);
        QCOMPARE(valorEndereco(campo("MaskEdIP")), QStringLiteral("010.000.000.108"));
        QCOMPARE(valorEndereco(campo("MaskEdMascaraRede")), QStringLiteral("255.255.255.000"));
        QCOMPARE(valorEndereco(campo("MaskEdGateway")), QStringLiteral("010.000.000.001"));
        QCOMPARE(valorEndereco(campo("MaskEdDNSPrin")), QStringLiteral("008.008.008.008"));
        QCOMPARE(valorEndereco(campo("MaskEdDNSAlt")), QStringLiteral("008.008.004.004"));
        // The status query: the code in use and one draw, kept even when it is 0.
        QCOMPARE(falsa.inteiro(0), 0);
        QCOMPARE(b->ctx().estado.CampoA(), QStringLiteral("008.008.004.004"));
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void abreComIpFixoEGruposCurtos() {
        abrir(StatusFixo);
        QVERIFY(radio("RdBIpFixo")->isChecked());
        QVERIFY(campo("MaskEdIP")->isEnabled());
        QCOMPARE(janela()->focusWidget(), campo("MaskEdIP"));
        QCOMPARE(campo("MaskEdIP")->cursorPosition(), 0);
        QCOMPARE(valorEndereco(campo("MaskEdIP")), QStringLiteral("10 .0  .0  .5  "));
        QCOMPARE(valorEndereco(campo("MaskEdMascaraRede")), QStringLiteral("255.255.255.0  "));
        QCOMPARE(valorEndereco(campo("MaskEdDNSPrin")), Vazio);
        QVERIFY(!campo("MaskEdProxyIP")->isEnabled());
    }

    void respostaDeErroEsvaziaOsCamposEProxyVoltaANenhum() {
        abrir(StatusDHCP);
        marcar("RdBProxyConfiguracao");
        campo("EdProxyPorta")->setText("3128");
        QVERIFY(b->clicar(Janela::ConfRede, "BtCancelar"));
        falsa.responder(
            "7|10001|C\xf3"
            "digo de ativa\xe7\xe3o inv\xe1lido||");
        QVERIFY(b->clicar(Janela::Principal, "BtConfRede"));
        QVERIFY(radio("RdBIpFixo")->isChecked());
        QVERIFY(radio("RdBProxyNenhum")->isChecked());
        QVERIFY(!campo("EdProxyPorta")->isEnabled());
        QCOMPARE(campo("EdProxyPorta")->text(), QStringLiteral("3128"));
        for (const char* nome :
             {"MaskEdIP", "MaskEdMascaraRede", "MaskEdGateway", "MaskEdDNSPrin", "MaskEdDNSAlt"}) {
            QCOMPARE(valorEndereco(campo(nome)), Vazio);
            QVERIFY(campo(nome)->isEnabled());
        }
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void radiosHabilitamEDesabilitam() {
        abrir(StatusDHCP);
        marcar("RdBIpFixo");
        QVERIFY(campo("MaskEdDNSAlt")->isEnabled());
        QCOMPARE(janela()->focusWidget(), campo("MaskEdIP"));
        marcar("RdBDHCP");
        QVERIFY(!campo("MaskEdGateway")->isEnabled());
        marcar("RdBProxyConfiguracao");
        for (const char* nome : {"MaskEdProxyIP", "EdProxyPorta", "EdProxyUsuario", "EdProxySenha"})
            QVERIFY2(campo(nome)->isEnabled(), nome);
        QCOMPARE(janela()->focusWidget(), campo("MaskEdProxyIP"));
        marcar("RdBProxyTransparente");
        QVERIFY(!campo("EdProxySenha")->isEnabled());
        marcar("RdBProxyConfiguracao");
        marcar("RdBProxyNenhum");
        QVERIFY(!campo("MaskEdProxyIP")->isEnabled());
        QCOMPARE(campo("EdProxyPorta")->maxLength(), 5);
    }

    void documentos_data() {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QString>("proxy");
        QTest::addColumn<QStringList>("rede");    // IP, mask, gateway, DNS1, DNS2
        QTest::addColumn<QStringList>("textos");  // proxy IP, port, user, password
        QTest::addColumn<QByteArray>("xml");
        const QStringList nenhum;
        QTest::newRow("DHCP sem proxy")
            << StatusDHCP << "RdBProxyNenhum" << nenhum << nenhum
            << QByteArray(
                   "<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan>"
                   "<proxy>0</proxy></config>");
        QTest::newRow("DHCP transparente")
            << StatusDHCP << "RdBProxyTransparente" << nenhum << nenhum
            << QByteArray(
                   "<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan>"
                   "<proxy>2</proxy></config>");
        QTest::newRow("DHCP proxy sem usuario descarta a senha")
            << StatusDHCP << "RdBProxyConfiguracao" << nenhum
            << QStringList{"192.168.1.1", "8080", "  ", "segredo"}
            << QByteArray(
                   "<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>1"
                   "</proxy><proxy_ip>192.168.1.1</proxy_ip><proxy_porta>8080"
                   "</proxy_porta></config>");
        QTest::newRow("DHCP proxy com usuario, porta com branco")
            << StatusDHCP << "RdBProxyConfiguracao" << nenhum
            << QStringList{"010.001.001.001", " 80", " ana ", "s e"}
            << QByteArray(
                   "<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>1"
                   "</proxy><proxy_ip>010.001.001.001</proxy_ip><proxy_porta> 80"
                   "</proxy_porta><proxy_user> ana </proxy_user><proxy_senha>s e"
                   "</proxy_senha></config>");
        QTest::newRow("fixo com dois DNS")
            << StatusDHCP << "RdBProxyNenhum"
            << QStringList{"192.168.000.010", "255.255.255.000", "192.168.000.001",
                           "008.008.008.008", "001.001.001.001"}
            << nenhum
            << QByteArray(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><tipoInter>ETHE"
                   "</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>192.168.000.010</lanIP>"
                   "<lanMask>255.255.255.000</lanMask><lanGW>192.168.000.001</lanGW>"
                   "<lanDNS1>008.008.008.008</lanDNS1><lanDNS2>001.001.001.001</lanDNS2>"
                   "<proxy>0</proxy></config>");
        QTest::newRow("fixo sem DNS, transparente")
            << StatusDHCP << "RdBProxyTransparente"
            << QStringList{"192.168.000.010", "255.255.255.000", "192.168.000.001", "", ""}
            << nenhum
            << QByteArray(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><tipoInter>ETHE"
                   "</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>192.168.000.010</lanIP>"
                   "<lanMask>255.255.255.000</lanMask><lanGW>192.168.000.001</lanGW>"
                   "<proxy>2</proxy></config>");
        QTest::newRow("fixo DNS alternativo sem principal, proxy com usuario")
            << StatusDHCP << "RdBProxyConfiguracao"
            << QStringList{"192.168.000.010", "255.255.255.000", "192.168.000.001", "",
                           "001.001.001.001"}
            << QStringList{"010.0.0.9", "3128", "u", "p"}
            << QByteArray(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><tipoInter>ETHE"
                   "</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>192.168.000.010</lanIP>"
                   "<lanMask>255.255.255.000</lanMask><lanGW>192.168.000.001</lanGW>"
                   "<proxy>1</proxy><proxy_ip>010.0.0.9</proxy_ip><proxy_porta>3128"
                   "</proxy_porta><proxy_user>u</proxy_user><proxy_senha>p</proxy_senha>"
                   "</config>");
    }
    void documentos() {
        QFETCH(QByteArray, status);
        QFETCH(QString, proxy);
        QFETCH(QStringList, rede);
        QFETCH(QStringList, textos);
        QFETCH(QByteArray, xml);
        abrir(status);
        if (!rede.isEmpty()) {
            marcar("RdBIpFixo");
            const char* nomes[] = {"MaskEdIP", "MaskEdMascaraRede", "MaskEdGateway",
                                   "MaskEdDNSPrin", "MaskEdDNSAlt"};
            for (int i = 0; i < 5; ++i) definirEndereco(campo(nomes[i]), rede[i]);
        }
        marcar(proxy.toLatin1().constData());
        if (!textos.isEmpty()) {
            definirEndereco(campo("MaskEdProxyIP"), textos[0]);
            campo("EdProxyPorta")->setText(textos[1]);
            campo("EdProxyUsuario")->setText(textos[2]);
            campo("EdProxySenha")->setText(textos[3]);
        }
        QCOMPARE(enviar(), xml);
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Informacao);
        QCOMPARE(b->dialogos.ultima().texto,
                 QStringLiteral("Sessão: 2\r\nRetorno: 12000\r\nResposta: Rede Configurada"));
        QCOMPARE(b->ctx().estado.RespostaSAT(), QString::fromLatin1(RespostaRede));
        // The window stays for a correction and a second try.
        QVERIFY(janela()->isVisible());
        QCOMPARE(enviar(), xml);
    }

    // The mask's empty places are not part of the address the device gets.
    void enderecoDigitadoVaiSemBrancos() {
        abrir(StatusDHCP);
        marcar("RdBIpFixo");
        for (const char* nome :
             {"MaskEdIP", "MaskEdMascaraRede", "MaskEdGateway", "MaskEdDNSPrin", "MaskEdDNSAlt"})
            campo(nome)->clear();
        digitar("MaskEdIP", "192.168.1.50");
        digitar("MaskEdMascaraRede", "255.255.255.0");
        digitar("MaskEdGateway", "192.168.1.1");
        QCOMPARE(enviar(), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><config>"
                                      "<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>"
                                      "192.168.1.50</lanIP><lanMask>255.255.255.0</lanMask>"
                                      "<lanGW>192.168.1.1</lanGW><proxy>0</proxy></config>"));
    }

    void textosDigitadosNaoQuebramODocumento() {
        abrir(StatusDHCP);
        marcar("RdBProxyConfiguracao");
        definirEndereco(campo("MaskEdProxyIP"), "10.0.0.1");
        campo("EdProxyPorta")->setText("8&<>0");
        campo("EdProxyUsuario")->setText("</proxy_senha><proxy>0</proxy>");
        campo("EdProxySenha")->setText("a<b&c\"d");
        const QByteArray xml = enviar();
        QVERIFY(xml.contains("<proxy_senha>a&lt;b&amp;c\"d</proxy_senha>"));
        QVERIFY(xml.contains("<proxy_porta>8&amp;&lt;&gt;0</proxy_porta>"));
        QXmlStreamReader leitor(xml);
        QStringList elementos, valores;
        while (!leitor.atEnd()) {
            leitor.readNext();
            if (!leitor.isStartElement()) continue;
            elementos << leitor.name().toString();
            if (leitor.name() != QLatin1String("config")) valores << leitor.readElementText();
        }
        QVERIFY2(!leitor.hasError(), qPrintable(leitor.errorString()));
        QCOMPARE(elementos, (QStringList{"config", "tipoInter", "tipoLan", "proxy", "proxy_ip",
                                         "proxy_porta", "proxy_user", "proxy_senha"}));
        QCOMPARE(valores.mid(4),
                 (QStringList{"8&<>0", "</proxy_senha><proxy>0</proxy>", "a<b&c\"d"}));
    }

    void acentosVaoEmUTF8() {
        abrir(StatusDHCP);
        marcar("RdBProxyConfiguracao");
        definirEndereco(campo("MaskEdProxyIP"), "10.0.0.1");
        campo("EdProxyPorta")->setText("80");
        campo("EdProxyUsuario")->setText(QStringLiteral("joão"));
        campo("EdProxySenha")->setText(QStringLiteral("aç"));
        const QByteArray xml = enviar();
        QVERIFY(xml.contains("<proxy_user>jo\xc3\xa3o</proxy_user><proxy_senha>a\xc3\xa7<"));
    }

    void validacao_data() {
        QTest::addColumn<bool>("fixo");
        QTest::addColumn<QStringList>("rede");    // IP, mask, gateway
        QTest::addColumn<QStringList>("textos");  // proxy IP, port, user, password; empty: none
        QTest::addColumn<QString>("mensagem");
        const QStringList completa{"1.1.1.1", "2.2.2.2", "3.3.3.3"};
        const QString ip = QStringLiteral("Informe o IP para a configuração!");
        const QString proxyIp = QStringLiteral("Informe o IP do Proxy para a configuração!");
        const QString porta = QStringLiteral("Informe a porta do Proxy para a configuração!");
        const QString senha = QStringLiteral("Informe a senha do Proxy para a configuração!");
        QTest::newRow("IP antes de tudo")
            << true << QStringList{"", "", ""} << QStringList{"", "", "", ""} << ip;
        QTest::newRow("mascara") << true << QStringList{"1.1.1.1", "", ""} << QStringList{}
                                 << QStringLiteral(
                                        "Informe a Mascara de sub-rede para a configuração!");
        QTest::newRow("gateway") << true << QStringList{"1.1.1.1", "2.2.2.2", ""} << QStringList{}
                                 << QStringLiteral("Informe o Gateway para a configuração!");
        QTest::newRow("IP do proxy antes da porta")
            << false << QStringList{} << QStringList{"", "", "u", ""} << proxyIp;
        QTest::newRow("porta de brancos")
            << false << QStringList{} << QStringList{"1.1.1.1", "   ", "", ""} << porta;
        QTest::newRow("usuario sem senha")
            << false << QStringList{} << QStringList{"1.1.1.1", "80", "u", " "} << senha;
        QTest::newRow("fixo, depois o proxy")
            << true << completa << QStringList{"1.1.1.1", "", "", ""} << porta;
    }
    void validacao() {
        QFETCH(bool, fixo);
        QFETCH(QStringList, rede);
        QFETCH(QStringList, textos);
        QFETCH(QString, mensagem);
        abrir(StatusDHCP);
        if (fixo) {
            marcar("RdBIpFixo");
            const char* nomes[] = {"MaskEdIP", "MaskEdMascaraRede", "MaskEdGateway"};
            for (int i = 0; i < 3; ++i) definirEndereco(campo(nomes[i]), rede[i]);
        }
        if (!textos.isEmpty()) {
            marcar("RdBProxyConfiguracao");
            definirEndereco(campo("MaskEdProxyIP"), textos[0]);
            campo("EdProxyPorta")->setText(textos[1]);
            campo("EdProxyUsuario")->setText(textos[2]);
            campo("EdProxySenha")->setText(textos[3]);
        }
        QCOMPARE(enviar(), QByteArray());
        QCOMPARE(b->dialogos.caixas().size(), 1);
        QCOMPARE(b->dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(b->dialogos.ultima().texto, mensagem);
        QCOMPARE(b->dialogos.ultima().titulo, QStringLiteral("Tivoro Tecnologia - SAT KT-470e"));
    }

    void cancelarAtualizaStatusDuasVezesEFecha() {
        abrir(StatusDHCP);
        falsa.responder("3|08000|SAT em opera\xe7\xe3o||");
        const int antes = falsa.chamadas();
        QVERIFY(b->clicar(Janela::ConfRede, "BtCancelar"));
        QCOMPARE(falsa.chamadas() - antes, 2);
        QCOMPARE(falsa.inteiro(0), SessaoStatus);
        QVERIFY(!janela()->isVisible());
        QVERIFY(b->janela(Janela::Principal)->isVisible());
        QCOMPARE(b->ctx().estado.StatusConexao(), StatusConectado);
        QVERIFY(b->dialogos.caixas().isEmpty());
    }

    void fecharAtualizaStatusUmaVez() {
        abrir(StatusDHCP);
        const int antes = falsa.chamadas();
        janela()->close();
        QCOMPARE(falsa.chamadas() - antes, 1);
        QVERIFY(b->janela(Janela::Principal)->isVisible());
    }
};

QTEST_MAIN(TstRede)
#include "tst_rede.moc"
