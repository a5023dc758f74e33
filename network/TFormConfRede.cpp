#include "network/TFormConfRede.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Respostas.h"
#include "core/Xml.h"
#include "ui/CampoMascara.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Sessao.h"

namespace {
const QString EnderecoVazio = QStringLiteral("   .   .   .   ");

bool vazio(const QLineEdit* endereco) {
    return valorEndereco(endereco) == EnderecoVazio;
}

bool semTexto(const QLineEdit* campo) {
    return campo->text().trimmed().isEmpty();
}

// The group's choices on the first row, its labelled fields below.
QGridLayout* gradeComEscolha(QGroupBox* grupo, std::initializer_list<QRadioButton*> opcoes) {
    auto* grade = new QGridLayout(grupo);
    auto* escolha = new QHBoxLayout;
    for (QRadioButton* r : opcoes) escolha->addWidget(r);
    escolha->addStretch();
    grade->addLayout(escolha, 0, 0, 1, 2);
    return grade;
}

void linha(QGridLayout* grade, const char* nomeRotulo, const QString& rotulo, QWidget* campo) {
    QLabel* l = novoRotulo(nomeRotulo, rotulo, campo->parentWidget());
    const int n = grade->rowCount();
    grade->addWidget(l, n, 0);
    grade->addWidget(campo, n, 1);
}

QString elemento(const char* nome, const QString& valor) {
    const QString tag = QString::fromLatin1(nome);
    return '<' + tag + '>' + escapaXml(valor) + "</" + tag + '>';
}
}  // namespace

TFormConfRede::TFormConfRede(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro - Configurar Rede"),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormConfRede");
    montar();
    // A selection made from code runs the handler as a click does.
    auto aoMarcar = [this](QRadioButton* r, void (TFormConfRede::*handler)()) {
        connect(r, &QRadioButton::toggled, this, [this, handler](bool marcado) {
            if (marcado) (this->*handler)();
        });
    };
    aoMarcar(RdBDHCP, &TFormConfRede::RdBDHCPClick);
    aoMarcar(RdBIpFixo, &TFormConfRede::RdBIpFixoClick);
    aoMarcar(RdBProxyNenhum, &TFormConfRede::RdBProxyNenhumClick);
    aoMarcar(RdBProxyTransparente, &TFormConfRede::RdBProxyTransparenteClick);
    aoMarcar(RdBProxyConfiguracao, &TFormConfRede::RdBProxyConfiguracaoClick);
    connect(BtEnviar, &QPushButton::clicked, this, &TFormConfRede::BtEnviarClick);
    connect(BtCancelar, &QPushButton::clicked, this, &TFormConfRede::BtCancelarClick);
    // Return in the last field of either group sends, as the button does: which
    // one is last depends on the proxy chosen.
    for (QLineEdit* ultimo : {MaskEdDNSAlt, EdProxySenha})
        connect(ultimo, &QLineEdit::returnPressed, BtEnviar, &QPushButton::click);
}

void TFormConfRede::montar() {
    BtCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    BtCancelar->setObjectName("BtCancelar");
    BtEnviar = new QPushButton(QStringLiteral("Enviar"), this);
    BtEnviar->setObjectName("BtEnviar");
    auto* grupos = new QHBoxLayout;
    grupos->addWidget(montarRede());
    grupos->addWidget(montarProxy());
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(BtCancelar);
    botoes->addWidget(BtEnviar);
    auto* janela = new QVBoxLayout(this);
    janela->addLayout(grupos);
    janela->addLayout(botoes);
    janela->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* TFormConfRede::montarRede() {
    GpBRede = new QGroupBox(QStringLiteral(" Rede "), this);
    GpBRede->setObjectName("GpBRede");
    RdBDHCP = novoRadio("RdBDHCP", QStringLiteral("DHCP"), GpBRede);
    RdBIpFixo = novoRadio("RdBIpFixo", QStringLiteral("IP Fixo"), GpBRede);
    MaskEdIP = novoCampoEndereco("MaskEdIP", GpBRede);
    MaskEdMascaraRede = novoCampoEndereco("MaskEdMascaraRede", GpBRede);
    MaskEdGateway = novoCampoEndereco("MaskEdGateway", GpBRede);
    MaskEdDNSPrin = novoCampoEndereco("MaskEdDNSPrin", GpBRede);
    MaskEdDNSAlt = novoCampoEndereco("MaskEdDNSAlt", GpBRede);
    QGridLayout* grade = gradeComEscolha(GpBRede, {RdBDHCP, RdBIpFixo});
    linha(grade, "LbIP", QStringLiteral("IP"), MaskEdIP);
    linha(grade, "LbMascaraRede", QStringLiteral("Máscara de sub-rede"), MaskEdMascaraRede);
    linha(grade, "LbGateway", QStringLiteral("Gateway padrão"), MaskEdGateway);
    linha(grade, "LbDNSPrincipal", QStringLiteral("DNS Principal"), MaskEdDNSPrin);
    linha(grade, "LbDNSAlternativo", QStringLiteral("DNS Alternativo"), MaskEdDNSAlt);
    grade->setRowStretch(grade->rowCount(), 1);
    return GpBRede;
}

QGroupBox* TFormConfRede::montarProxy() {
    GpBProxy = new QGroupBox(QStringLiteral(" Proxy "), this);
    GpBProxy->setObjectName("GpBProxy");
    RdBProxyNenhum = novoRadio("RdBProxyNenhum", QStringLiteral("Nenhum"), GpBProxy);
    RdBProxyTransparente =
        novoRadio("RdBProxyTransparente", QStringLiteral("Transparente"), GpBProxy);
    RdBProxyConfiguracao =
        novoRadio("RdBProxyConfiguracao", QStringLiteral("Configurado"), GpBProxy);
    MaskEdProxyIP = novoCampoEndereco("MaskEdProxyIP", GpBProxy);
    EdProxyPorta = novoControle<QLineEdit>("EdProxyPorta", GpBProxy);
    EdProxyPorta->setMaxLength(5);
    EdProxyUsuario = novoControle<QLineEdit>("EdProxyUsuario", GpBProxy);
    EdProxySenha = novoControle<QLineEdit>("EdProxySenha", GpBProxy);
    QGridLayout* grade =
        gradeComEscolha(GpBProxy, {RdBProxyNenhum, RdBProxyTransparente, RdBProxyConfiguracao});
    linha(grade, "LbProxyIP", QStringLiteral("IP"), MaskEdProxyIP);
    linha(grade, "LbProxyPorta", QStringLiteral("Porta"), EdProxyPorta);
    linha(grade, "LbProxuUsuario", QStringLiteral("Usuário"), EdProxyUsuario);
    linha(grade, "LbProxySenha", QStringLiteral("Senha"), EdProxySenha);
    grade->setRowStretch(grade->rowCount(), 1);
    return GpBProxy;
}

void TFormConfRede::habilitarRede(bool habilitado) {
    for (QLineEdit* c : {MaskEdIP, MaskEdMascaraRede, MaskEdDNSPrin, MaskEdDNSAlt, MaskEdGateway})
        c->setEnabled(habilitado);
}

void TFormConfRede::habilitarProxy(bool habilitado) {
    for (QLineEdit* c : {MaskEdProxyIP, EdProxyPorta, EdProxyUsuario, EdProxySenha})
        c->setEnabled(habilitado);
}

void TFormConfRede::RdBDHCPClick() {
    habilitarRede(false);
}

void TFormConfRede::RdBIpFixoClick() {
    habilitarRede(true);
    MaskEdIP->setFocus();
    MaskEdIP->setCursorPosition(0);
}

void TFormConfRede::RdBProxyNenhumClick() {
    habilitarProxy(false);
}

void TFormConfRede::RdBProxyTransparenteClick() {
    habilitarProxy(false);
}

void TFormConfRede::RdBProxyConfiguracaoClick() {
    habilitarProxy(true);
    MaskEdProxyIP->setFocus();
    MaskEdProxyIP->setCursorPosition(0);
}

void TFormConfRede::FormShow() {
    ctx.esconder(Janela::Principal);
    RdBProxyNenhum->setChecked(true);
    RdBProxyNenhumClick();

    const QString resposta =
        ctx.dll.ConsultarStatusOperacional(ctx.aleatorio.sessaoAleatoria(), ctx.CodigoAtivacao());
    const QString modo = ExtraiCampo(resposta, 6);
    // A worker may write the slots meanwhile: they are only the record.
    ctx.estado.setRespostaSAT(resposta);
    ctx.estado.setCampoA(modo);
    if (modo == QLatin1String("DHCP")) {
        RdBDHCP->setChecked(true);
        RdBDHCPClick();
    } else {
        RdBIpFixo->setChecked(true);
    }
    const std::pair<int, QLineEdit*> campos[] = {{7, MaskEdIP},
                                                 {9, MaskEdMascaraRede},
                                                 {10, MaskEdGateway},
                                                 {11, MaskEdDNSPrin},
                                                 {12, MaskEdDNSAlt}};
    for (const auto& [n, campo] : campos) {
        const QString endereco = ExtraiCampo(resposta, n);
        ctx.estado.setCampoA(endereco);
        definirEndereco(campo, endereco);
        // The caret stays at the start, where typing over the value begins.
        campo->setCursorPosition(0);
    }
}

void TFormConfRede::FormClose() {
    AtualizaStatusConexao(ctx, false);
    ctx.mostrar(Janela::Principal);
}

void TFormConfRede::BtCancelarClick() {
    AtualizaStatusConexao(ctx, false);
    close();
}

bool TFormConfRede::validar() {
    QString falta;
    if (RdBIpFixo->isChecked()) {
        if (vazio(MaskEdIP))
            falta = QStringLiteral("Informe o IP para a configuração!");
        else if (vazio(MaskEdMascaraRede))
            falta = QStringLiteral("Informe a Mascara de sub-rede para a configuração!");
        else if (vazio(MaskEdGateway))
            falta = QStringLiteral("Informe o Gateway para a configuração!");
    }
    if (falta.isEmpty() && RdBProxyConfiguracao->isChecked()) {
        if (vazio(MaskEdProxyIP))
            falta = QStringLiteral("Informe o IP do Proxy para a configuração!");
        else if (semTexto(EdProxyPorta))
            falta = QStringLiteral("Informe a porta do Proxy para a configuração!");
        else if (!semTexto(EdProxyUsuario) && semTexto(EdProxySenha))
            falta = QStringLiteral("Informe a senha do Proxy para a configuração!");
    }
    if (!falta.isEmpty()) ctx.dialogos.erro(falta);
    return falta.isEmpty();
}

QString TFormConfRede::parteRede() const {
    if (!RdBIpFixo->isChecked()) return QString();
    QString rede = elemento("lanIP", enderecoDigitado(MaskEdIP)) +
                   elemento("lanMask", enderecoDigitado(MaskEdMascaraRede)) +
                   elemento("lanGW", enderecoDigitado(MaskEdGateway));
    // An alternative DNS goes only with a primary one.
    if (!vazio(MaskEdDNSPrin)) {
        rede += elemento("lanDNS1", enderecoDigitado(MaskEdDNSPrin));
        if (!vazio(MaskEdDNSAlt)) rede += elemento("lanDNS2", enderecoDigitado(MaskEdDNSAlt));
    }
    return rede;
}

QString TFormConfRede::parteProxy() const {
    if (RdBProxyTransparente->isChecked()) return QStringLiteral("<proxy>2</proxy>");
    if (!RdBProxyConfiguracao->isChecked()) return QStringLiteral("<proxy>0</proxy>");
    QString proxy = QStringLiteral("<proxy>1</proxy>") +
                    elemento("proxy_ip", enderecoDigitado(MaskEdProxyIP)) +
                    elemento("proxy_porta", EdProxyPorta->text());
    // Without a user the password is not sent, whatever the field holds.
    if (!semTexto(EdProxyUsuario))
        proxy += elemento("proxy_user", EdProxyUsuario->text()) +
                 elemento("proxy_senha", EdProxySenha->text());
    return proxy;
}

void TFormConfRede::BtEnviarClick() {
    if (!RdBDHCP->isChecked() && !RdBIpFixo->isChecked()) return;
    if (!validar()) return;
    const QString cabecalho =
        RdBIpFixo->isChecked()
            ? QStringLiteral(
                  R"(<?xml version="1.0" encoding="UTF-8"?><config><tipoInter>ETHE</tipoInter>)"
                  R"(<tipoLan>IPFIX</tipoLan>)")
            : QStringLiteral("<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan>");
    enviar(cabecalho + parteRede() + parteProxy() + QStringLiteral("</config>"));
}

void TFormConfRede::enviar(const QString& xml) {
    const QString resposta = ctx.dll.ConfigurarInterfaceDeRede(ctx.aleatorio.sessaoAleatoria(),
                                                               ctx.CodigoAtivacao(), xml.toUtf8());
    ctx.estado.setRespostaSAT(resposta);
    MostraResposta(ctx, resposta);
}
