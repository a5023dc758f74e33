#include "shell/TFormCodAtivacao.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Inicio.h"
#include "core/Respostas.h"
#include "device/Sistema.h"
#include "device/VersaoArquivo.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Sessao.h"

TFormCodAtivacao::TFormCodAtivacao(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro  - Tivoro Tecnologia"),
                 Borda::SemBotoes) {
    setObjectName("TFormCodAtivacao");
    montar();
    connect(BtIniciar, &QPushButton::clicked, this, &TFormCodAtivacao::BtIniciarClick);
    connect(BtSatNaoAtivado, &QPushButton::clicked, this, &TFormCodAtivacao::BtSatNaoAtivadoClick);
    connect(BtTrocarCodAtiv, &QPushButton::clicked, this, &TFormCodAtivacao::BtTrocarCodAtivClick);
    connect(BtFechar, &QPushButton::clicked, this, &TFormCodAtivacao::BtFecharClick);
    // Return in the code enters, as "Entrar"; no button becomes the default.
    connect(txtCodAtivacao, &QLineEdit::returnPressed, BtIniciar, &QPushButton::click);
}

void TFormCodAtivacao::montar() {
    GroupBox1 = new QGroupBox(QStringLiteral(" SAT não Ativado "), this);
    GroupBox1->setObjectName("GroupBox1");
    BtSatNaoAtivado = novoBotao("BtSatNaoAtivado", QStringLiteral("Ativar SAT"), GroupBox1);
    (new QVBoxLayout(GroupBox1))->addWidget(BtSatNaoAtivado);

    GroupBox2 = new QGroupBox(QStringLiteral(" SAT Ativado "), this);
    GroupBox2->setObjectName("GroupBox2");
    Label1 = new QLabel(QStringLiteral("Código de Ativação"), GroupBox2);
    Label1->setObjectName("Label1");
    txtCodAtivacao = novoControle<QLineEdit>("txtCodAtivacao", GroupBox2);
    txtCodAtivacao->setMaxLength(32);
    QFont fonte = txtCodAtivacao->font();
    fonte.setPointSizeF(fonte.pointSizeF() * 1.4);
    txtCodAtivacao->setFont(fonte);
    txtCodAtivacao->setMinimumWidth(260);
    BtIniciar = novoBotao("BtIniciar", QStringLiteral("Entrar"), GroupBox2);
    BtTrocarCodAtiv =
        novoBotao("BtTrocarCodAtiv", QStringLiteral("Trocar Código Ativação"), GroupBox2);
    auto* ativado = new QVBoxLayout(GroupBox2);
    ativado->addWidget(Label1);
    ativado->addWidget(txtCodAtivacao);
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(BtIniciar);
    botoes->addWidget(BtTrocarCodAtiv);
    ativado->addLayout(botoes);

    BtFechar = novoBotao("BtFechar", QStringLiteral("Fechar"), this);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(novaIdentificacaoBiblioteca(ctx.dll, this, 380));
    janela->addWidget(GroupBox1);
    janela->addWidget(GroupBox2);
    janela->addWidget(BtFechar, 0, Qt::AlignRight);
    janela->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(BtFechar, BtSatNaoAtivado);
    setTabOrder(BtSatNaoAtivado, txtCodAtivacao);
    setTabOrder(txtCodAtivacao, BtIniciar);
    setTabOrder(BtIniciar, BtTrocarCodAtiv);
}

QString TFormCodAtivacao::CodigoAtivacao() const {
    QMutexLocker trava(&m_mutex);
    return m_codigoAtivacao;
}

void TFormCodAtivacao::setCodigoAtivacao(const QString& codigo) {
    QMutexLocker trava(&m_mutex);
    m_codigoAtivacao = codigo;
}

QString TFormCodAtivacao::RetornoLog() const {
    QMutexLocker trava(&m_mutex);
    return m_retornoLog;
}

void TFormCodAtivacao::setRetornoLog(const QString& resposta) {
    QMutexLocker trava(&m_mutex);
    m_retornoLog = resposta;
}

void TFormCodAtivacao::FormShow() {
    BtFechar->setFocus();
}

// A window manager may close the window with no box drawn for it (a key, its
// menu, a box of its own): the window has no title-bar buttons, so only the
// tool's own close, "Fechar" or the main window's, ends the program.
void TFormCodAtivacao::closeEvent(QCloseEvent* evento) {
    if (evento->spontaneous()) {
        evento->ignore();
        return;
    }
    Formulario::closeEvent(evento);
}

void TFormCodAtivacao::FormClose() {
    Q_EMIT encerrar();
}

// The library must come from the device maker; an unreadable version section
// is reported as the operating-system error it stands for. Either refusal
// also names the file, what it lacks and where it was found, so that whoever
// installed it knows what to change.
bool TFormCodAtivacao::dllDaTivoro() {
    QString empresa;
    try {
        empresa = EmpresaArquivo(ctx.dll.caminho());
    } catch (const ErroSistemaOperacional& erro) {
        recusarDll(erro.mensagem(), erro.falta());
        return false;
    }
    if (empresa == QLatin1String(EmpresaTivoro)) return true;
    const QString lugar = QLatin1String(sistema::LugarDaVersao);
    recusarDll(QStringLiteral("A dllsat.dll não é a dll fornecida pela Tivoro!"),
               empresa.isEmpty() ? QStringLiteral("CompanyName ") + lugar
                                 : QStringLiteral("CompanyName=%1 %2 (é \"%3\")")
                                       .arg(QLatin1String(EmpresaTivoro), lugar, empresa));
    return false;
}

void TFormCodAtivacao::recusarDll(const QString& motivo, const QString& falta) {
    avisarDaBiblioteca(
        motivo + "\n\n" + descreveRecusa(ctx.dll.caminho(), falta, ctx.dll.procurados()) +
            QStringLiteral("\n\nVeja \"Usando um SAT real\" em man tool-sat-tivoro."),
        ctx.dialogos);
}

void TFormCodAtivacao::BtIniciarClick() {
    ctx.estado.setModoAtivacao(0);
    if (!dllDaTivoro()) return;
    if (aparado(txtCodAtivacao->text()).size() < 8) {
        ctx.dialogos.informacao(QStringLiteral("Favor Informar código de ativação válido!"));
        return;
    }
    const QString codigo = txtCodAtivacao->text();
    const QString resposta = ctx.dll.ConsultarStatusOperacional(SessaoEntrada, codigo);
    const QString retorno = ExtraiCampo(resposta, 1);
    ctx.estado.setRespostaSAT(resposta);
    ctx.estado.setCampoA(retorno);
    ctx.estado.setVersaoSAT(ExtraiCampo(resposta, 18));
    ctx.principal().LbLayout()->setText("LAYOUT - " + ExtraiCampo(resposta, 19));
    // Judged on this reply: a worker may write the shared slot meanwhile.
    if (retorno != QLatin1String("10000")) {
        ctx.dialogos.erro(resposta);
        return;
    }
    ctx.estado.setStatusConexao(StatusConectado);
    setCodigoAtivacao(codigo);
    hide();
    ctx.mostrar(Janela::Principal);
    ctx.principal().habilitar({"BtSetupAutomatico", "BtAtivarSat"}, false);
}

void TFormCodAtivacao::BtSatNaoAtivadoClick() {
    if (!dllDaTivoro()) return;
    ctx.estado.setStatusConexao(StatusEmAtivacao);
    ctx.mostrar(Janela::Principal);
    ctx.principal().habilitar({"BtAssociarAssinatura", "BtTestFimAFim", "BtAtualizarSat",
                               "BtTestesVCan", "BtBloquearSat", "BtDesbloquearSat"},
                              false);
    ctx.principal().pintarStatus(StatusEmAtivacao);
    ctx.principal().habilitar({"BtTrocarCodAtiv"}, true);
    hide();
    ctx.estado.setModoAtivacao(1);
}

void TFormCodAtivacao::BtTrocarCodAtivClick() {
    ctx.mostrar(Janela::TrocarCodigo);
    hide();
    ctx.estado.setModoAtivacao(1);
}

void TFormCodAtivacao::BtFecharClick() {
    close();
}
