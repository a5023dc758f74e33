#include "signature/TFormAssociarAssinatura.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/Respostas.h"
#include "signature/ThreadAssociarAssinatura.h"
#include "signature/funcoes.h"
#include "ui/CampoMascara.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Sessao.h"

TFormAssociarAssinatura::TFormAssociarAssinatura(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro - Associar Assinatura "),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormAssociarAssinatura");
    montar();
    alturaCliente(AlturaInicial);
    connect(Button1, &QPushButton::clicked, this, &TFormAssociarAssinatura::Button1Click);
    connect(btEnviar, &QPushButton::clicked, this, &TFormAssociarAssinatura::btEnviarClick);
    connect(BtCancelar, &QPushButton::clicked, this, &TFormAssociarAssinatura::BtCancelarClick);
    // Return in the password generates, as "Gerar" does.
    connect(Edit1, &QLineEdit::returnPressed, Button1, &QPushButton::click);
}

// Fixed places, as the window's height hides the log below them until the
// first send.
void TFormAssociarAssinatura::montar() {
    novoRotulo("Label1", QStringLiteral("CNPJ do Contribuinte:"), this, {12, 10});
    MskEdCNPJContr = novoCampoCNPJ("MskEdCNPJContr", this);
    MskEdCNPJContr->setGeometry(12, 28, 170, 26);
    novoRotulo("Label2", QStringLiteral("CNPJ Software house"), this, {12, 62});
    MskEdCNPJSwHouse = novoCampoCNPJ("MskEdCNPJSwHouse", this);
    MskEdCNPJSwHouse->setGeometry(12, 80, 170, 26);
    BtCancelar = novoBotao("BtCancelar", QStringLiteral("Cancelar"), this, QRect(12, 124, 82, 30));
    btEnviar = novoBotao("btEnviar", QStringLiteral("Enviar"), this, QRect(100, 124, 82, 30));

    novoRotulo("Label3", QStringLiteral("Assinatura Aplicativo Comercial"), this, {196, 10});
    MemoSignac = novoMemoAssinatura("MemoSignac", this);
    MemoSignac->setWordWrapMode(QTextOption::WrapAnywhere);
    MemoSignac->setGeometry(196, 28, 250, 126);

    QGroupBox* grupo = montarGrupo();
    m_largura = grupo->x() + grupo->width() + 12;

    RichEdit1 = novoTexto("RichEdit1", this);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setGeometry(12, 170, m_largura - 24, 112);

    setTabOrder(MskEdCNPJContr, MskEdCNPJSwHouse);
    setTabOrder(MskEdCNPJSwHouse, MemoSignac);
    setTabOrder(MemoSignac, BtCancelar);
    setTabOrder(BtCancelar, btEnviar);
    setTabOrder(btEnviar, RichEdit1);
    setTabOrder(RichEdit1, EdCertificado);
    setTabOrder(EdCertificado, btCertificado);
    setTabOrder(btCertificado, Edit1);
    setTabOrder(Edit1, Button1);
}

// Narrow enough for the window to fit a 1280-pixel screen at 150 %: the bold
// caption wraps onto two lines inside the box instead of widening it.
QGroupBox* TFormAssociarAssinatura::montarGrupo() {
    auto* grupo = new QGroupBox(this);
    grupo->setObjectName("GroupBox1");
    QFont negrito = font();
    negrito.setBold(true);
    constexpr int largura = 360;
    auto* titulo = novoRotulo(
        "LbGroupBox1",
        QStringLiteral(" Preencha caso não tenha a assinatura do Aplicativo Comercial "), grupo);
    titulo->setFont(negrito);
    titulo->setWordWrap(true);
    const int alturaTitulo = 2 * QFontMetrics(negrito).lineSpacing();
    titulo->setGeometry(8, 4, largura - 16, alturaTitulo);
    grupo->setGeometry(458, 4, largura, 150);
    const int topo = alturaTitulo - 18;
    QList<QWidget*> filhos{novoRotulo("Label4", QStringLiteral("Certificado Digital(p12/pfx)"),
                                      grupo, {12, 26 + topo})};
    const SeletorCertificado certificado = novoSeletorCertificado(ctx.dialogos, grupo);
    EdCertificado = certificado.EdCertificado;
    EdCertificado->setGeometry(12, 44 + topo, largura - 64, 26);
    btCertificado = certificado.btCertificado;
    btCertificado->setGeometry(largura - 46, 43 + topo, 34, 28);
    filhos << novoRotulo("Label7", QStringLiteral("Senha"), grupo, {12, 78 + topo});
    Edit1 = novoCampoSenha("Edit1", grupo);
    Edit1->setGeometry(12, 96 + topo, 180, 26);
    Button1 = novoBotao("Button1", QStringLiteral("Gerar"), grupo, QRect(204, 94 + topo, 90, 30));
    filhos << EdCertificado << btCertificado << Edit1 << Button1;
    for (QWidget* filho : filhos)
        if (auto* l = qobject_cast<QLabel*>(filho)) l->adjustSize();
    return grupo;
}

void TFormAssociarAssinatura::alturaCliente(int altura) {
    setFixedSize(m_largura, altura);
}

QString TFormAssociarAssinatura::cnpjContribuinte() const {
    return valorCNPJ(MskEdCNPJContr);
}

QString TFormAssociarAssinatura::cnpjSoftwareHouse() const {
    return valorCNPJ(MskEdCNPJSwHouse);
}

QString TFormAssociarAssinatura::assinatura() const {
    return MemoSignac->toPlainText();
}

void TFormAssociarAssinatura::FormShow() {
    ctx.esconder(Janela::Principal);
    MemoSignac->clear();
    MskEdCNPJContr->setFocus();
    MskEdCNPJContr->setCursorPosition(0);
    RichEdit1->clear();
}

void TFormAssociarAssinatura::FormClose() {
    AtualizaStatusConexao(ctx, false);
    alturaCliente(AlturaAoFechar);
    ctx.mostrar(Janela::Principal);
}

void TFormAssociarAssinatura::Button1Click() {
    for (const QString& campo :
         {EdCertificado->text(), Edit1->text(), cnpjContribuinte(), cnpjSoftwareHouse()}) {
        if (aparado(campo).isEmpty()) {
            ctx.dialogos.erro(
                QStringLiteral("Favor informar os campos de CNPJs, certificado e senha!"));
            return;
        }
    }
    const ResultadoAssinatura resultado =
        gerarAssinaturaCnpjs(cnpjSoftwareHouse(), cnpjContribuinte(), EdCertificado->text(),
                             Edit1->text(), AmbienteAssinatura{ctx.dialogos, ctx.relogio});
    QString semBrancos = resultado.texto;
    semBrancos.remove(QLatin1Char(' '));
    ctx.estado.setRespostaSAT(semBrancos);
    MemoSignac->setPlainText(aparado(semBrancos));
}

void TFormAssociarAssinatura::btEnviarClick() {
    QString recusa;
    if (ctx.CodigoAtivacao().isEmpty())
        recusa = QStringLiteral("SAT ainda não ativado!");
    else if (cnpjContribuinte().isEmpty())
        recusa = QStringLiteral("Informe o CNPJ do contribuinte");
    else if (cnpjSoftwareHouse().isEmpty())
        recusa = QStringLiteral("Informe o CNPJ da Software House");
    else if (assinatura().isEmpty())
        recusa = QStringLiteral("Preencha o campo da Assinatura do Aplicativo Comercial");
    if (!recusa.isEmpty()) {
        ctx.dialogos.erro(recusa);
        return;
    }
    alturaCliente(AlturaComLog);
    ThreadAssociarAssinatura::iniciar(ctx, *this);
}

void TFormAssociarAssinatura::BtCancelarClick() {
    close();
}
