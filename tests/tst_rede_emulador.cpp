#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "tests/apoio/Bancada.h"
#include "tests/apoio/DispositivoEmulado.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/CampoMascara.h"
#include "ui/Contexto.h"

// The network configuration window against the emulated device, each test
// on a device of its own.
class TstRedeEmulador : public TesteEmulado {
    Q_OBJECT

    QLineEdit* campo(const char* nome) { return b->controle<QLineEdit>(Janela::ConfRede, nome); }
    QRadioButton* radio(const char* nome) {
        return b->controle<QRadioButton>(Janela::ConfRede, nome);
    }
    void marcar(const char* nome) { QVERIFY(b->marcar(Janela::ConfRede, nome)); }
    void abrir() {
        QVERIFY(b->clicar(Janela::Principal, "BtConfRede"));
        QVERIFY(b->janela(Janela::ConfRede)->isVisible());
    }
    QString retorno() {
        const QStringList linhas = b->dialogos.ultima().texto.split(QStringLiteral("\r\n"));
        return linhas.size() == 3 ? linhas[1] : QStringLiteral("sem caixa");
    }

    void preparar() override {
        dispositivo->ativado("12345678");
        b->abrirPrincipal("12345678");
    }

  private Q_SLOTS:
    void abreComADHCPDeFabrica() {
        abrir();
        QVERIFY(radio("RdBDHCP")->isChecked());
        QCOMPARE(valorEndereco(campo("MaskEdMascaraRede")), QStringLiteral("255.255.255.000"));
        QVERIFY(valorEndereco(campo("MaskEdIP")).startsWith(QStringLiteral("192.168.001.")));
    }

    void ipFixoAceitoEReabertoComOsNovosValores() {
        abrir();
        marcar("RdBIpFixo");
        definirEndereco(campo("MaskEdIP"), "192.168.010.020");
        definirEndereco(campo("MaskEdMascaraRede"), "255.255.255.000");
        definirEndereco(campo("MaskEdGateway"), "192.168.010.001");
        definirEndereco(campo("MaskEdDNSPrin"), "001.001.001.001");
        definirEndereco(campo("MaskEdDNSAlt"), "");
        marcar("RdBProxyTransparente");
        QVERIFY(b->clicar(Janela::ConfRede, "BtEnviar"));
        QCOMPARE(retorno(), QStringLiteral("Retorno: 12000"));
        QCOMPARE(qtexto(dispositivo->estado().redeXml),
                 QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><tipoInter>ETHE"
                                "</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>192.168.010.020</lanIP>"
                                "<lanMask>255.255.255.000</lanMask><lanGW>192.168.010.001</lanGW>"
                                "<lanDNS1>001.001.001.001</lanDNS1><proxy>2</proxy></config>"));

        QVERIFY(b->clicar(Janela::ConfRede, "BtCancelar"));
        abrir();
        QVERIFY(radio("RdBIpFixo")->isChecked());
        QVERIFY(radio("RdBProxyNenhum")->isChecked());
        QCOMPARE(valorEndereco(campo("MaskEdIP")), QStringLiteral("192.168.010.020"));
        QCOMPARE(valorEndereco(campo("MaskEdGateway")), QStringLiteral("192.168.010.001"));
        QCOMPARE(valorEndereco(campo("MaskEdDNSPrin")), QStringLiteral("001.001.001.001"));
    }

    void proxyComSenhaDeMarcacaoAceito() {
        abrir();
        marcar("RdBProxyConfiguracao");
        definirEndereco(campo("MaskEdProxyIP"), "010.000.000.001");
        campo("EdProxyPorta")->setText("3128");
        campo("EdProxyUsuario")->setText("ana");
        campo("EdProxySenha")->setText("a<b&c");
        QVERIFY(b->clicar(Janela::ConfRede, "BtEnviar"));
        QCOMPARE(retorno(), QStringLiteral("Retorno: 12000"));
        QVERIFY(qtexto(dispositivo->estado().redeXml)
                    .contains(QStringLiteral("<proxy_senha>a&lt;b&amp;c</proxy_senha>")));
    }

    void codigoErradoSoNaCaixa() {
        b->ctx().setCodigoAtivacao("errado");
        abrir();
        // The status refused: fixed address chosen, fields emptied, no box.
        QVERIFY(radio("RdBIpFixo")->isChecked());
        QCOMPARE(valorEndereco(campo("MaskEdIP")), QStringLiteral("   .   .   .   "));
        QVERIFY(b->dialogos.caixas().isEmpty());
        marcar("RdBDHCP");
        QVERIFY(b->clicar(Janela::ConfRede, "BtEnviar"));
        QCOMPARE(retorno(), QStringLiteral("Retorno: 12001"));
        QVERIFY(b->janela(Janela::ConfRede)->isVisible());
    }
};

QTEST_MAIN(TstRedeEmulador)
#include "tst_rede_emulador.moc"
