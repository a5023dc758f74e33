#include "operations/TFormAtivarSat.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/UF.h"
#include "operations/StatusAoFechar.h"
#include "operations/thrAtivarSat.h"
#include "ui/CampoMascara.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"

namespace {
constexpr int Largura = 455;
constexpr int IndiceSP = 24;

// Fixed size, with close and maximise boxes.
constexpr Qt::WindowFlags BordaAtivar = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                                        Qt::WindowCloseButtonHint;

}  // namespace

TFormAtivarSat::TFormAtivarSat(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro - Ativar SAT"), BordaAtivar) {
    setObjectName("TFormAtivarSat");
    montar();
    definirAltura(AlturaFechada);
    connect(BtEnviar, &QPushButton::clicked, this, &TFormAtivarSat::BtEnviarClick);
    connect(BtCancelar, &QPushButton::clicked, this, &TFormAtivarSat::BtCancelarClick);
    // Return in the last field sends, as the button does.
    connect(CBoxUF->lineEdit(), &QLineEdit::returnPressed, BtEnviar, &QPushButton::click);
}

void TFormAtivarSat::montar() {
    LbCNPJContri = novoRotulo("LbCNPJContri", QStringLiteral("CNPJ Contribuinte"), this, {12, 10});
    MskEdCNPJContr = novoCampoCNPJ("MskEdCNPJContr", this);
    MskEdCNPJContr->setGeometry(12, 28, 170, 24);
    lbCodAtivacao =
        novoRotulo("lbCodAtivacao", QStringLiteral("Código de Ativação"), this, {12, 58});
    EdCodAtivacao = novoControle<QLineEdit>("EdCodAtivacao", this, {12, 76, 170, 24});
    LbUF = novoRotulo("LbUF", QStringLiteral("UF"), this, {200, 58});
    CBoxUF = novaListaUF("CBoxUF", this);
    CBoxUF->setGeometry(200, 76, 64, 24);
    GroupBox1 = new GrupoCertificados(this);
    GroupBox1->setGeometry(282, 6, 164, 100);
    BtCancelar = novoBotao("BtCancelar", QStringLiteral("Cancelar"), this, {264, 114, 88, 28});
    BtEnviar = novoBotao("BtEnviar", QStringLiteral("Enviar"), this, {358, 114, 88, 28});

    // Below the buttons: out of sight until the first "Enviar".
    RichEdit1 = novoTexto("RichEdit1", this, {8, 154, Largura - 16, 107});
    RichEdit1->setPlainText(QStringLiteral("RichEdit1"));
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TFormAtivarSat::definirAltura(int altura) {
    setFixedSize(Largura, altura);
}

void TFormAtivarSat::FormShow() {
    ctx.esconder(Janela::Principal);
    GroupBox1->mostrar();
    MskEdCNPJContr->setFocus();
    MskEdCNPJContr->setCursorPosition(0);
    CBoxUF->setCurrentIndex(IndiceSP);
    RichEdit1->clear();
}

QString TFormAtivarSat::codigoAtivacao() const {
    return EdCodAtivacao->text();
}

QString TFormAtivarSat::cnpjContribuinte() const {
    return valorCNPJ(MskEdCNPJContr);
}

int TFormAtivarSat::indiceUF() const {
    return CBoxUF->currentIndex();
}

void TFormAtivarSat::liberarEnvio() {
    BtEnviar->setEnabled(true);
}

// One activation at a time: "Enviar" comes back when the worker ends.
void TFormAtivarSat::BtEnviarClick() {
    BtEnviar->setEnabled(false);
    thrAtivarSat::iniciar(ctx, *this);
    definirAltura(AlturaComLog);
}

void TFormAtivarSat::BtCancelarClick() {
    close();
}

void TFormAtivarSat::FormClose() {
    statusAoFechar(ctx, {});
    definirAltura(AlturaFechada);
}
