#include "transactions/TFormTesteFimaFim.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/CampoMascara.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"

namespace {
const QString SignACPadrao = QStringLiteral("SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT");

}  // namespace

TFormTesteFimaFim::TFormTesteFimaFim(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro - Teste Fim a Fim"), Borda::SemBotoes) {
    setObjectName("TFormTesteFimaFim");
    setModal(true);
    montar();
    connect(BtEnviar, &QPushButton::clicked, this, &TFormTesteFimaFim::BtEnviarClick);
    connect(BtCancelar, &QPushButton::clicked, this, &TFormTesteFimaFim::BtCancelarClick);
}

void TFormTesteFimaFim::montar() {
    Label1 = novoRotulo("Label1", QStringLiteral("CNPJ Software house"), this);
    MskCNPJSW = novoCampoCNPJ("MskCNPJSW", this);
    MskCNPJSW->setText(QStringLiteral("98765432000198"));
    Label2 = novoRotulo("Label2", QStringLiteral("CNPJ Emitente"), this);
    MskEmitente = novoCampoCNPJ("MskEmitente", this);
    MskEmitente->setText(QStringLiteral("12345678000195"));
    Label3 = novoRotulo("Label3", QStringLiteral("IE"), this);
    edIE = novoControle<QLineEdit>("edIE", this);
    edIE->setText(QStringLiteral("111222333444"));
    Label4 = novoRotulo("Label4", QStringLiteral("Assinatura Aplicativo Comercial"), this);
    MemoSignac = novoMemoAssinatura("MemoSignac", this);
    MemoSignac->setPlainText(SignACPadrao);
    MemoSignac->setMinimumSize(380, 110);
    MemoSignac->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    BtCancelar = novoBotao("BtCancelar", QStringLiteral("Cancelar"), this);
    BtEnviar = novoBotao("BtEnviar", QStringLiteral("Enviar"), this);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(BtCancelar);
    botoes->addWidget(BtEnviar);
    auto* janela = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(MskCNPJSW),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(MskEmitente),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(edIE),
                       static_cast<QWidget*>(Label4)})
        janela->addWidget(w);
    janela->addWidget(MemoSignac, 1);
    janela->addLayout(botoes);
}

void TFormTesteFimaFim::perguntar(const QString& titulo) {
    setWindowTitle(titulo);
    exec();
}

void TFormTesteFimaFim::FormShow() {
    MemoSignac->setPlainText(SignACPadrao);
}

void TFormTesteFimaFim::BtEnviarClick() {
    ParametrosTeste& p = ctx.principal().parametrosTeste();
    p.CNPJSoftwareHouse = valorCNPJ(MskCNPJSW);
    p.CNPJEmitente = valorCNPJ(MskEmitente);
    p.SignAC = MemoSignac->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    p.IEEmitente = edIE->text();
    p.TesteConfirmado = 1;
    p.ParametrosTeste = 1;
    accept();
}

void TFormTesteFimaFim::BtCancelarClick() {
    reject();
}

void TFormTesteFimaFim::reject() {
    ParametrosTeste& p = ctx.principal().parametrosTeste();
    p.TesteConfirmado = 0;
    p.ParametrosTeste = 0;
    QDialog::reject();
}
