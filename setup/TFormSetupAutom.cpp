#include "setup/TFormSetupAutom.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "core/Respostas.h"
#include "core/UF.h"
#include "signature/funcoes.h"
#include "ui/CampoMascara.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

namespace {
constexpr int IndiceSP = 24;
// The status line sits further right for a serial number than for the two
// longer texts.
constexpr int RecuoSerie = 120;
constexpr int RecuoTexto = 8;
constexpr int LarguraLog = 270;

void negrito(QWidget* w, bool ligado = true) {
    QFont f = w->font();
    f.setBold(ligado);
    w->setFont(f);
}

void pintar(QWidget* w, const QColor& cor) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, cor);
    w->setPalette(p);
}

QString semBrancos(QString texto) {
    texto.remove(QRegularExpression(QStringLiteral("\\s")));
    return texto;
}
}  // namespace

TFormSetupAutom::TFormSetupAutom(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro - Setup Automático"),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormSetupAutom");
    montar();
    connect(BtExecutar, &QPushButton::clicked, this, &TFormSetupAutom::BtExecutarClick);
    connect(BtCancelar, &QPushButton::clicked, this, &TFormSetupAutom::BtCancelarClick);
    // Return in the last field runs, as "Executar" does.
    connect(Edit1, &QLineEdit::returnPressed, BtExecutar, &QPushButton::click);
}

void TFormSetupAutom::montar() {
    m_conteudo = new QWidget(this);
    auto* superior = new QWidget(m_conteudo);
    auto* colunaSuperior = new QVBoxLayout(superior);
    colunaSuperior->setContentsMargins(0, 0, 0, 0);

    LbStatusSAT = novoRotulo("LbStatusSAT", QStringLiteral("STATUS SAT: "), superior);
    LbConectado = novoRotulo("LbConectado", TextoPortaNaoPronta, superior);
    negrito(LbStatusSAT);
    negrito(LbConectado);
    pintar(LbConectado, CorTX);
    m_linhaStatus = new QHBoxLayout;
    m_recuoStatus = new QSpacerItem(RecuoTexto, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    m_linhaStatus->addSpacerItem(m_recuoStatus);
    m_linhaStatus->addWidget(LbStatusSAT);
    m_linhaStatus->addWidget(LbConectado);
    m_linhaStatus->addStretch();
    colunaSuperior->addLayout(m_linhaStatus);
    colunaSuperior->addWidget(montarDados());

    auto* grupos = new QHBoxLayout;
    GroupBox1 = new GrupoCertificados(superior);
    grupos->addWidget(GroupBox1);
    grupos->addWidget(montarAssinatura(), 1);
    colunaSuperior->addLayout(grupos);

    colunaSuperior->addWidget(
        novoRotulo("Label3", QStringLiteral("Assinatura Aplicativo Comercial"), superior));
    MemoSignac = novoMemoAssinatura("MemoSignac", superior);
    MemoSignac->setFixedHeight(84);
    colunaSuperior->addWidget(MemoSignac);

    BtExecutar = novoBotao("BtExecutar", QStringLiteral("Executar"), superior);
    BtCancelar = novoBotao("BtCancelar", QStringLiteral("Cancelar"), superior);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(BtExecutar);
    botoes->addWidget(BtCancelar);
    colunaSuperior->addLayout(botoes);

    auto* coluna = new QVBoxLayout(m_conteudo);
    coluna->setSpacing(10);
    coluna->addWidget(superior);
    coluna->addLayout(montarExecucao());
    ordemTab();
    definirLayout(false);
}

QWidget* TFormSetupAutom::montarDados() {
    auto* dados = new QWidget;
    auto* grade = new QGridLayout(dados);
    grade->setContentsMargins(0, 0, 0, 0);
    MskEdCNPJContr = novoCampoCNPJ("MskEdCNPJContr", dados);
    MskEdCNPJSwHouse = novoCampoCNPJ("MskEdCNPJSwHouse", dados);
    for (QLineEdit* cnpj : {MskEdCNPJContr, MskEdCNPJSwHouse})
        cnpj->setMinimumWidth(
            cnpj->fontMetrics().horizontalAdvance(QStringLiteral("00.000.000/0000-00")) + 20);
    EdCodAtivacao = novoControle<QLineEdit>("EdCodAtivacao", dados);
    CBoxUF = novaListaUF("CBoxUF", dados);
    grade->addWidget(novoRotulo("LbCNPJContr", QStringLiteral("CNPJ do Contribuinte"), dados), 0,
                     0);
    grade->addWidget(novoRotulo("Label2", QStringLiteral("CNPJ Software house"), dados), 0, 1);
    grade->addWidget(novoRotulo("LbCodAtivacao", QStringLiteral("Codigo de Ativação"), dados), 0,
                     2);
    grade->addWidget(novoRotulo("LbUF", QStringLiteral("UF"), dados), 0, 3);
    grade->addWidget(MskEdCNPJContr, 1, 0);
    grade->addWidget(MskEdCNPJSwHouse, 1, 1);
    grade->addWidget(EdCodAtivacao, 1, 2);
    grade->addWidget(CBoxUF, 1, 3);
    grade->setColumnStretch(2, 1);
    return dados;
}

QGroupBox* TFormSetupAutom::montarAssinatura() {
    GroupBox3 = new QGroupBox(
        QStringLiteral(" Preencha caso não tenha a assinatura do Aplicativo Comercial "));
    GroupBox3->setObjectName("GroupBox3");
    negrito(GroupBox3);
    auto* label5 = novoRotulo("Label5", QStringLiteral("Certificado Digital(p12/pfx)"), GroupBox3);
    const SeletorCertificado certificado = novoSeletorCertificado(ctx.dialogos, GroupBox3);
    EdCertificado = certificado.EdCertificado;
    btCertificado = certificado.btCertificado;
    btCertificado->setFixedWidth(32);
    auto* label7 = novoRotulo("Label7", QStringLiteral("Senha Certificado"), GroupBox3);
    Edit1 = novoCampoSenha("Edit1", GroupBox3);
    for (QWidget* w :
         std::initializer_list<QWidget*>{label5, EdCertificado, btCertificado, label7, Edit1})
        negrito(w, false);
    auto* grade = new QGridLayout(GroupBox3);
    grade->addWidget(label5, 0, 0, 1, 2);
    grade->addWidget(EdCertificado, 1, 0);
    grade->addWidget(btCertificado, 1, 1);
    grade->addWidget(label7, 2, 0, 1, 2);
    grade->addWidget(Edit1, 3, 0);
    return GroupBox3;
}

// The log beside the panel and as tall as it, so that the grown window
// still fits a small screen with large fonts.
QLayout* TFormSetupAutom::montarExecucao() {
    auto* linha = new QHBoxLayout;
    linha->setSpacing(10);
    linha->addWidget(montarProgresso());
    RichEdit1 = novoTexto("RichEdit1", m_conteudo);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    RichEdit1->setMinimumWidth(LarguraLog);
    linha->addWidget(RichEdit1, 1);
    return linha;
}

QGroupBox* TFormSetupAutom::montarProgresso() {
    GroupBox2 = new QGroupBox;
    GroupBox2->setObjectName("GroupBox2");
    negrito(GroupBox2);
    auto* label1 = novoRotulo("Label1", QStringLiteral("PROGRESSO DA ATIVAÇÃO"), GroupBox2);
    label1->setAlignment(Qt::AlignCenter);
    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(30);
    grade->addWidget(
        montarPasso(1, "lbSatConectado", QStringLiteral("SAT CONECTADO"), "ImgSATConectado"), 0, 0);
    grade->addWidget(
        montarPasso(2, "lbAtivarSAt", QStringLiteral("ATIVANDO SAT(*)"), "ImgAtivandoSAT"), 1, 0);
    grade->addWidget(
        montarPasso(3, "lbAssociarAssinatura", QStringLiteral("ASSOCIANDO ASSINATURA(*)"),
                    "ImgAssociandoAssinatura"),
        2, 0);
    grade->addWidget(
        montarPasso(4, "lbReinicarSat", QStringLiteral("REINICIANDO O SAT"), "ImgReiniciandoSAT"),
        0, 1);
    grade->addWidget(montarPasso(5, "lbTesteFimaFim", QStringLiteral("REALIZANDO TESTE FIM A FIM "),
                                 "ImgTFimaFIM"),
                     1, 1);
    grade->addWidget(
        montarPasso(6, "LbProximoSat", QStringLiteral("CONECTE O PRÓXIMO SAT"), "ImgProximoSAT"), 2,
        1);
    auto* label4 =
        novoRotulo("Label4", QStringLiteral("* O processo pode durar até 30 min."), GroupBox2);
    auto* coluna = new QVBoxLayout(GroupBox2);
    coluna->addWidget(label1);
    coluna->addLayout(grade);
    coluna->addWidget(label4);
    return GroupBox2;
}

// A step of the panel: its four images on the same spot, then its label.
QWidget* TFormSetupAutom::montarPasso(int passo, const char* nomeRotulo, const QString& texto,
                                      const char* prefixoImagens) {
    static const char* const sufixosOK[] = {"Azul", "Amarelo", "OK", "Erro"};
    static const char* const sufixosOk[] = {"Azul", "Amarelo", "Ok", "Erro"};
    const char* const* sufixos = passo <= 2 ? sufixosOK : sufixosOk;
    auto* linha = new QWidget(GroupBox2);
    auto* lugar = new QWidget(linha);
    lugar->setFixedSize(20, 20);
    for (int i = 0; i < 4; ++i) {
        auto* imagem = new QLabel(lugar);
        imagem->setObjectName(QString::fromLatin1(prefixoImagens) +
                              QString::fromLatin1(sufixos[i]));
        imagem->setFixedSize(20, 20);
        imagem->hide();
        m_imagens[passo - 1][i] = imagem;
    }
    auto* l = novoRotulo(nomeRotulo, texto, linha);
    QFont fonte(QStringLiteral("Arial Black"));
    fonte.setWeight(QFont::Black);
    l->setFont(fonte);
    auto* disposicao = new QHBoxLayout(linha);
    disposicao->setContentsMargins(0, 2, 0, 2);
    disposicao->addWidget(lugar);
    disposicao->addWidget(l, 1);
    return linha;
}

void TFormSetupAutom::ordemTab() {
    QWidget* anterior = nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{
             MskEdCNPJContr, MskEdCNPJSwHouse, EdCodAtivacao, CBoxUF, MemoSignac, BtExecutar,
             BtCancelar, RichEdit1, GroupBox1->RdbAcSatSefaz, GroupBox1->RdbICPBrasil,
             GroupBox1->RdbRenovarICPBrasil, EdCertificado, btCertificado, Edit1}) {
        if (anterior) setTabOrder(anterior, w);
        anterior = w;
    }
}

// The compact layout ends below the buttons; the panel and the log lie below
// it, side by side and wider than the fields, and come into view when the
// window grows.
// Grown on a small screen, the log gives up height and width first, so that
// the window stays on the screen.
void TFormSetupAutom::definirLayout(bool expandida) {
    m_expandida = expandida;
    const QSize inteira = m_conteudo->sizeHint().boundedTo(tamanhoNaTela());
    const QSize compacta =
        BtExecutar->parentWidget()->sizeHint().grownBy(m_conteudo->layout()->contentsMargins());
    m_conteudo->resize(expandida ? inteira : QSize(compacta.width(), inteira.height()));
    setFixedSize(expandida ? inteira : compacta);
    if (expandida) caberNaTela();
}

void TFormSetupAutom::mostrarStatus(const QString& texto, const QColor* cor, int recuo) {
    LbConectado->setText(texto);
    if (cor) pintar(LbConectado, *cor);
    m_recuoStatus->changeSize(recuo, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    m_linhaStatus->invalidate();
}

void TFormSetupAutom::FormShow() {
    carregarImagens();
    esconderImagens();
    AnimacaoAtiva = false;
    MemoSignac->clear();
    RichEdit1->clear();
    MskEdCNPJContr->setFocus();
    MskEdCNPJContr->setCursorPosition(0);
    ctx.estado.setModoAtivacao(1);
    GroupBox1->mostrar();
    CBoxUF->setCurrentIndex(IndiceSP);

    const QString resposta =
        ctx.dll.ConsultarStatusOperacional(ctx.aleatorio.sessaoAleatoria(), ctx.CodigoAtivacao());
    const QString retorno = ExtraiCampo(resposta, 1);
    const QString serie = ExtraiCampo(resposta, 5);
    // A worker may write the slots meanwhile: they are only the record.
    ctx.estado.setRespostaSAT(resposta);
    ctx.estado.setCampoA(retorno);
    ctx.estado.setCampoB(serie);
    if (retorno == QLatin1String("10000")) {
        mostrarStatus("SAT CONECTADO NS:" + serie, nullptr, RecuoSerie);
    } else if (retorno == QLatin1String("10001")) {
        mostrarStatus(QStringLiteral("SAT JÁ ATIVADO! NÃO PROSSIGA NESTE PROCESSO!"), &CorOliva,
                      RecuoTexto);
    } else if (resposta == TextoPortaNaoPronta) {
        mostrarStatus(QStringLiteral("PORTA SERIAL NÃO ESTÁ PRONTA, TENTE NOVAMENTE"), &CorVermelha,
                      RecuoTexto);
    }
}

void TFormSetupAutom::BtExecutarClick() {
    const int sessao = ctx.aleatorio.sessaoNova();
    if (valorCNPJ(MskEdCNPJContr).trimmed().isEmpty()) {
        ctx.dialogos.erro(QStringLiteral("Informe o CNPJ do contribuinte"));
        return;
    }
    if (valorCNPJ(MskEdCNPJSwHouse).trimmed().isEmpty()) {
        ctx.dialogos.erro(QStringLiteral("Informe o CNPJ da Software House"));
        return;
    }
    if (EdCodAtivacao->text().trimmed().size() < 8) {
        ctx.dialogos.informacao(QStringLiteral("Favor Informar código de ativação válido!"));
        return;
    }
    if (MemoSignac->toPlainText().trimmed().isEmpty() && !gerarAssinatura()) return;

    const QString resposta = ctx.dll.ConsultarSAT(sessao);
    const QString retorno = ExtraiCampo(resposta, 1);
    ctx.estado.setRespostaSAT(resposta);
    ctx.estado.setCampoA(retorno);
    if (retorno != QLatin1String("08000")) {
        ctx.dialogos.erro(
            QStringLiteral("SAT não conectado! Conecte o SAT e clique novamente em Executar!"));
        return;
    }
    iniciarExecucao();
}

// The signature from the certificate, into the memo; false when there is none
// to go on with (its boxes already shown).
bool TFormSetupAutom::gerarAssinatura() {
    if (EdCertificado->text().trimmed().isEmpty() || Edit1->text().trimmed().isEmpty()) {
        ctx.dialogos.informacao(QStringLiteral("Favor informar um certificado e Senha!"));
        return false;
    }
    const ResultadoAssinatura resultado = gerarAssinaturaCnpjs(
        valorCNPJ(MskEdCNPJSwHouse), valorCNPJ(MskEdCNPJContr), EdCertificado->text(),
        Edit1->text(), AmbienteAssinatura{ctx.dialogos, ctx.relogio});
    if (!resultado.gerada) return false;
    // The device refuses a signature with blanks.
    MemoSignac->setPlainText(semBrancos(resultado.texto));
    MemoSignac->repaint();
    return true;
}

void TFormSetupAutom::iniciarExecucao() {
    definirLayout(true);
    EscreveLog(RichEdit1, CorPreta, QStringLiteral("[TX] SAT CONECTADO..."));
    EscreveLog(RichEdit1, CorPreta,
               QStringLiteral("[TX] ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE..."));
    // An animation left from a run that ended by itself stops here, before
    // the new pair, and its pictures go: the step pictures lie on top of each
    // other, so an old error would hide the new run's progress.
    pararAnimacao();
    esconderImagens();
    const int execucao = ctx.estado.iniciarExecucaoSetup();
    ctx.estado.publicarEtapa(execucao, 1, QStringLiteral("SAT CONECTADO"));
    ThreadAnimacao = AnimaSetup::iniciar(ctx, m_imagens);
    SetupAtivacao::iniciar(ctx, *this, execucao);
    AnimacaoAtiva = true;
    BtExecutar->setEnabled(false);
}

void TFormSetupAutom::BtCancelarClick() {
    pararAnimacao();
    AtualizaStatusConexao(ctx, false);
    ctx.estado.pararExecucaoSetup();
    BtExecutar->setEnabled(true);
    ctx.mostrar(Janela::Principal);
    close();
    definirLayout(false);
}

void TFormSetupAutom::FormClose() {
    ctx.estado.pararExecucaoSetup();
    BtExecutar->setEnabled(true);
    pararAnimacao();
    AtualizaStatusConexao(ctx, false);
    ctx.mostrar(Janela::Principal);
}

void TFormSetupAutom::pararAnimacao() {
    if (AnimacaoAtiva && ThreadAnimacao) ThreadAnimacao->parar();
    AnimacaoAtiva = false;
}

// Decoded on the first show, not at start-up.
void TFormSetupAutom::carregarImagens() {
    for (std::size_t passo = 0; passo < m_imagens.size(); ++passo)
        for (std::size_t i = 0; i < m_imagens[passo].size(); ++i)
            if (m_imagens[passo][i]->pixmap().isNull())
                m_imagens[passo][i]->setPixmap(
                    imagemEtapa(static_cast<int>(passo) + 1, static_cast<Aparencia>(i)));
}

void TFormSetupAutom::esconderImagens() {
    for (const auto& passo : m_imagens)
        for (QLabel* imagem : passo) imagem->hide();
}

QString TFormSetupAutom::cnpjContribuinte() const {
    return valorCNPJ(MskEdCNPJContr);
}

QString TFormSetupAutom::cnpjSoftwareHouse() const {
    return valorCNPJ(MskEdCNPJSwHouse);
}

void TFormSetupAutom::mostrarConectado(const QString& serie) {
    LbConectado->setText("SAT CONECTADO NS:" + serie);
}
