#include "shell/TFormPrincipal.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/VersaoArquivo.h"
#include "operations/AtualizarSat.h"
#include "operations/BloqueioSAT.h"
#include "transactions/TesteFimAFim.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

namespace {
const char* const Recurso = "recurso";

// Sized from the file's header: the picture itself is decoded on the window's
// first show, not at start-up.
QLabel* imagem(const char* nome, const QString& recurso, QWidget* pai) {
    auto* l = novoRotulo(nome, QString(), pai);
    l->setMinimumSize(QImageReader(recurso).size());
    l->setProperty(Recurso, recurso);
    return l;
}

void carregarImagens(const QWidget* janela) {
    for (QLabel* l : janela->findChildren<QLabel*>())
        if (l->pixmap().isNull() && l->property(Recurso).isValid())
            l->setPixmap(QPixmap(l->property(Recurso).toString()));
}

QColor corDoStatus(const QString& status) {
    if (status == StatusConectado) return CorTX;
    if (status == StatusDesconectado) return CorVermelha;
    return CorOliva;
}
}  // namespace

TFormPrincipal::TFormPrincipal(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro"), Borda::FixaComMinimizar) {
    setObjectName("TFormPrincipal");
    montar();
}

void TFormPrincipal::montar() {
    auto* lbRxTx = novoRotulo("LbRxTx", QStringLiteral("TX/RX"), this);
    auto* btLimpar = new QPushButton(QStringLiteral("Limpar"), this);
    btLimpar->setObjectName("BtLimpar");
    connect(btLimpar, &QPushButton::clicked, this, &TFormPrincipal::BtLimparClick);
    m_richEdit1 = novoTexto("RichEdit1", this);
    m_richEdit1->setPlainText(QStringLiteral("RichEdit1"));
    m_richEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // No taller than the menu beside it: the window must fit a 1280 x 800
    // screen at 150 %.
    m_richEdit1->setMinimumSize(560, 300);

    auto* cabecalhoLog = new QHBoxLayout;
    cabecalhoLog->addWidget(lbRxTx);
    cabecalhoLog->addWidget(btLimpar);
    cabecalhoLog->addStretch();
    // Beside the log's heading, so that it costs the window no height.
    cabecalhoLog->addWidget(novaIdentificacaoBiblioteca(ctx.dll, this, 290));
    auto* direita = new QVBoxLayout;
    direita->addWidget(imagem("Image2", QStringLiteral(":/imagens/principal_2.png"), this));
    direita->addLayout(cabecalhoLog);
    direita->addWidget(m_richEdit1, 1);

    auto* esquerda = new QVBoxLayout;
    esquerda->addWidget(imagem("Image1", QStringLiteral(":/imagens/principal_1.png"), this));
    esquerda->addWidget(montarMenu());
    esquerda->addStretch();

    auto* corpo = new QHBoxLayout;
    corpo->addLayout(esquerda);
    corpo->addLayout(direita, 1);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(montarStatus());
    janela->addLayout(corpo, 1);
    janela->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* TFormPrincipal::montarStatus() {
    auto* grupo = new QGroupBox(QStringLiteral("  STATUS  "), this);
    grupo->setObjectName("GroupBox2");
    m_lbSatDllVersao = novoRotulo("LbSatDllVersao", QStringLiteral("SAT .DLL - "), grupo);
    auto* lbToolVersao = novoRotulo("LbToolVersao", QString::fromLatin1(VersaoTool), grupo);
    m_lbSatVersao = novoRotulo("LbSatVersao", QStringLiteral("SAT - "), grupo);
    m_lbLayout = novoRotulo("LbLayout", QStringLiteral("LAYOUT - "), grupo);
    m_lbStatusCom = novoRotulo("LbStatusCom", StatusDesconectado, grupo);
    QFont negrito = m_lbStatusCom->font();
    negrito.setBold(true);
    m_lbStatusCom->setFont(negrito);
    QPalette paleta = m_lbStatusCom->palette();
    paleta.setColor(QPalette::WindowText, CorTX);
    m_lbStatusCom->setPalette(paleta);
    auto* linha = new QHBoxLayout(grupo);
    for (QLabel* l : {m_lbSatDllVersao, lbToolVersao, m_lbSatVersao, m_lbLayout}) {
        linha->addWidget(l);
        linha->addSpacing(24);
    }
    linha->addStretch();
    linha->addWidget(m_lbStatusCom);
    return grupo;
}

QPushButton* TFormPrincipal::botaoMenu(const char* nome, const QString& texto,
                                       void (TFormPrincipal::*handler)()) {
    auto* b = new QPushButton(texto, m_menu);
    b->setObjectName(nome);
    b->setMinimumWidth(210);
    m_menu->layout()->addWidget(b);
    if (handler) connect(b, &QPushButton::clicked, this, handler);
    return b;
}

QGroupBox* TFormPrincipal::montarMenu() {
    m_menu = new QGroupBox(QStringLiteral("  Menu  "), this);
    m_menu->setObjectName("GroupBox1");
    new QVBoxLayout(m_menu);
    m_menu->layout()->setSpacing(2);
    m_menu->layout()->setContentsMargins(9, 4, 9, 4);
    botaoMenu("BtSetupAutomatico", QStringLiteral("Setup Automatico"),
              &TFormPrincipal::BtSetupAutomaticoClick);
    botaoMenu("BtConfRede", QStringLiteral("Configuração de rede"),
              &TFormPrincipal::BtConfRedeClick);
    botaoMenu("BtAtivarSat", QStringLiteral("Ativar Sat"), &TFormPrincipal::BtAtivarSatClick);
    botaoMenu("BtAssociarAssinatura", QStringLiteral("Associar Assinatura"),
              &TFormPrincipal::BtAssociarAssinaturaClick);
    botaoMenu("BtTestFimAFim", QStringLiteral("Teste Fim a Fim"),
              &TFormPrincipal::BtTestFimAFimClick);
    botaoMenu("BtAtualizarSat", QStringLiteral("Atualizar Software Sat"),
              &TFormPrincipal::BtAtualizarSatClick);
    botaoMenu("BtTestesVCan", QStringLiteral("Testes Venda/Cancelamento"),
              &TFormPrincipal::BtTestesVCanClick);
    botaoMenu("BtBloquearSat", QStringLiteral("Bloquear Sat"), &TFormPrincipal::BtBloquearSatClick);
    botaoMenu("BtDesbloquearSat", QStringLiteral("Desbloquear Sat"),
              &TFormPrincipal::BtDesbloquearSatClick);
    botaoMenu("BtConsultas", QStringLiteral("Consultas"), &TFormPrincipal::BtConsultasClick);
    botaoMenu("BtTrocarCodAtiv", QStringLiteral("Trocar Codigo Ativação "),
              &TFormPrincipal::BtTrocarCodAtivClick);
    botaoMenu("BtConhecerSatTivoro", QStringLiteral("Conhecendo o Sat Tivoro"),
              &TFormPrincipal::BtConhecerSatTivoroClick);
    botaoMenu("BtFechar", QStringLiteral("FECHAR"), &TFormPrincipal::BtFecharClick);
    return m_menu;
}

void TFormPrincipal::habilitar(std::initializer_list<const char*> botoes, bool habilitado) {
    for (const char* nome : botoes)
        if (auto* b = m_menu->findChild<QPushButton*>(nome)) b->setEnabled(habilitado);
}

void TFormPrincipal::habilitarBotoesFuncao(bool habilitado) {
    habilitar({"BtSetupAutomatico", "BtConfRede", "BtAtivarSat", "BtAssociarAssinatura",
               "BtTestFimAFim", "BtAtualizarSat", "BtTestesVCan", "BtBloquearSat",
               "BtDesbloquearSat", "BtConsultas", "BtTrocarCodAtiv", "BtConhecerSatTivoro"},
              habilitado);
}

void TFormPrincipal::pintarStatus(const QString& status) {
    QPalette paleta = m_lbStatusCom->palette();
    paleta.setColor(QPalette::WindowText, corDoStatus(status));
    m_lbStatusCom->setPalette(paleta);
    m_lbStatusCom->setText(status);
    m_lbStatusCom->repaint();
}

void TFormPrincipal::FormShow() {
    carregarImagens(this);
    m_lbSatVersao->setText("SAT - " + ctx.estado.VersaoSAT());
    m_richEdit1->clear();
    m_lbSatDllVersao->setText("SAT .DLL -" + VersaoArquivo(ctx.dll.caminho()));
    pintarStatus(ctx.estado.StatusConexao());
}

void TFormPrincipal::FormClose() {
    ctx.janela(Janela::CodAtivacao)->close();
}

void TFormPrincipal::BtSetupAutomaticoClick() {
    ctx.mostrar(Janela::SetupAutom);
    hide();
}

void TFormPrincipal::BtConfRedeClick() {
    ctx.mostrar(Janela::ConfRede);
}

void TFormPrincipal::BtAtivarSatClick() {
    ctx.mostrar(Janela::AtivarSat);
}

void TFormPrincipal::BtAssociarAssinaturaClick() {
    ctx.mostrar(Janela::AssociarAssinatura);
}

// The buttons are disabled after the start: the worker enables them through
// the GUI thread, so never before this handler has returned.
void TFormPrincipal::BtAtualizarSatClick() {
    ctx.estado.setRespostaSAT({});
    ctx.estado.setCampoA({});
    AtualizarSat::iniciar(ctx);
    habilitarBotoesFuncao(false);
}

void TFormPrincipal::BtTestFimAFimClick() {
    executarTesteFimAFim(ctx);
}

void TFormPrincipal::BtTestesVCanClick() {
    hide();
    ctx.mostrar(Janela::TesteVendaCanc);
}

void TFormPrincipal::BtBloquearSatClick() {
    BloquearSAT(ctx);
}

void TFormPrincipal::BtDesbloquearSatClick() {
    DesbloquearSAT(ctx);
}

void TFormPrincipal::BtConsultasClick() {
    ctx.mostrar(Janela::Consultas);
    hide();
}

void TFormPrincipal::BtTrocarCodAtivClick() {
    ctx.mostrar(Janela::TrocarCodigo);
    hide();
}

void TFormPrincipal::BtConhecerSatTivoroClick() {
    ctx.mostrar(Janela::ConhecendoSAT);
}

void TFormPrincipal::BtLimparClick() {
    m_richEdit1->clear();
}

void TFormPrincipal::BtFecharClick() {
    close();
}
