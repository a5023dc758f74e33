#include "operations/TFormConsultas.h"

#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>
#include <optional>

#include "core/Arquivos.h"
#include "core/Respostas.h"
#include "operations/ConverBase64.h"
#include "operations/ExtrairLogSatTivoro.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

namespace {
QFrame* moldura(QWidget* pai) {
    auto* f = new QFrame(pai);
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

// The toolkit's integer conversion: leading blanks and one sign, then digits
// only; anything else fails.
std::optional<int> inteiro(const QString& texto) {
    qsizetype i = 0;
    while (i < texto.size() && texto[i] == QLatin1Char(' ')) ++i;
    bool negativo = false;
    if (i < texto.size() && (texto[i] == QLatin1Char('+') || texto[i] == QLatin1Char('-')))
        negativo = texto[i++] == QLatin1Char('-');
    if (i == texto.size()) return std::nullopt;
    qint64 valor = 0;
    for (; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        valor = valor * 10 + (c - u'0');
        if (valor > qint64(INT_MAX) + 1) return std::nullopt;
    }
    if (negativo) valor = -valor;
    if (valor > INT_MAX) return std::nullopt;
    return static_cast<int>(valor);
}

// Blank as the toolkit's trimming sees it: any character up to the space.

const OpcoesLog NoFim{true, false};
}  // namespace

TFormConsultas::TFormConsultas(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro - Consultar SAT"),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormConsultas");
    montar();
    connect(BtConsultarSat, &QPushButton::clicked, this, &TFormConsultas::BtConsultarSatClick);
    connect(BtConsultarStatusOp, &QPushButton::clicked, this,
            &TFormConsultas::BtConsultarStatusOpClick);
    connect(BtConsultarNumSes, &QPushButton::clicked, this,
            &TFormConsultas::BtConsultarNumSesClick);
    connect(BtExtrairLogs, &QPushButton::clicked, this, &TFormConsultas::BtExtrairLogsClick);
    connect(BtSalvarLog, &QPushButton::clicked, this, &TFormConsultas::BtSalvarLogClick);
    connect(BtLimpar, &QPushButton::clicked, this, &TFormConsultas::BtLimparClick);
    connect(BtCancelar, &QPushButton::clicked, this, &TFormConsultas::BtCancelarClick);
    // Return in the session number asks for it, as the button does.
    connect(EdNumeroSessao, &QLineEdit::returnPressed, BtConsultarNumSes, &QPushButton::click);
}

void TFormConsultas::montar() {
    RichEdit1 = novoTexto("RichEdit1", this);
    RichEdit1->setPlainText(QStringLiteral("RichEdit1"));
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setMinimumSize(640, 300);

    auto* status = moldura(this);
    BtConsultarSat = novoBotao("BtConsultarSat", QStringLiteral("Consultar SAT"), status);
    BtConsultarStatusOp =
        novoBotao("BtConsultarStatusOp", QStringLiteral("Consultar Status Operacional"), status);
    auto* colunaStatus = new QVBoxLayout(status);
    colunaStatus->addWidget(BtConsultarSat);
    colunaStatus->addWidget(BtConsultarStatusOp);

    auto* logs = moldura(this);
    BtExtrairLogs = novoBotao("BtExtrairLogs", QStringLiteral("Extrair logs"), logs);
    BtSalvarLog = novoBotao("BtSalvarLog", QStringLiteral("Salvar Log"), logs);
    auto* colunaLogs = new QVBoxLayout(logs);
    colunaLogs->addWidget(BtExtrairLogs);
    colunaLogs->addWidget(BtSalvarLog);

    auto* sessao = moldura(this);
    BtConsultarNumSes =
        novoBotao("BtConsultarNumSes", QStringLiteral("Consultar Numero de Sessão"), sessao);
    Label1 = new QLabel(QStringLiteral("Número de sessão:"), sessao);
    Label1->setObjectName("Label1");
    EdNumeroSessao = novoControle<QLineEdit>("EdNumeroSessao", sessao);
    EdNumeroSessao->setMaxLength(7);
    EdNumeroSessao->setFixedWidth(EdNumeroSessao->fontMetrics().horizontalAdvance('9') * 10);
    Label1->setBuddy(EdNumeroSessao);
    auto* linhaSessao = new QHBoxLayout;
    linhaSessao->addWidget(Label1);
    linhaSessao->addWidget(EdNumeroSessao);
    auto* colunaSessao = new QVBoxLayout(sessao);
    colunaSessao->addWidget(BtConsultarNumSes);
    colunaSessao->addLayout(linhaSessao);

    BtLimpar = novoBotao("BtLimpar", QStringLiteral("Limpar"), this);
    QFont pequena = BtLimpar->font();
    pequena.setPointSizeF(pequena.pointSizeF() * 0.8);
    BtLimpar->setFont(pequena);
    BtCancelar = novoBotao("BtCancelar", QStringLiteral("Cancelar"), this);
    auto* colunaDireita = new QVBoxLayout;
    colunaDireita->addWidget(BtLimpar, 0, Qt::AlignRight);
    colunaDireita->addStretch();
    colunaDireita->addWidget(BtCancelar);

    auto* rodape = new QHBoxLayout;
    rodape->addWidget(status);
    rodape->addWidget(logs);
    rodape->addWidget(sessao);
    rodape->addStretch();
    rodape->addLayout(colunaDireita);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(RichEdit1, 1);
    janela->addLayout(rodape);
}

void TFormConsultas::FormShow() {
    RichEdit1->clear();
    BtConsultarSat->setFocus();
}

// Nothing of the closing status query goes to any log.
void TFormConsultas::FormClose() {
    AtualizaStatusConexao(ctx, false);
    ctx.mostrar(Janela::Principal);
}

void TFormConsultas::BtConsultarSatClick() {
    const int sessao = ctx.aleatorio.sessaoNova();
    chamadaComLog(
        ctx, RichEdit1, "ConsultarSAT(" + QString::number(sessao) + ')',
        [&] { return ctx.dll.ConsultarSAT(sessao); }, NoFim);
}

void TFormConsultas::BtConsultarStatusOpClick() {
    const int sessao = ctx.aleatorio.sessaoNova();
    chamadaComLog(
        ctx, RichEdit1, "ConsultarStatusOperacional(" + QString::number(sessao) + ')',
        [&] { return ctx.dll.ConsultarStatusOperacional(sessao, ctx.CodigoAtivacao()); }, NoFim);
}

void TFormConsultas::BtConsultarNumSesClick() {
    int sessao = ctx.aleatorio.sessaoAleatoria();
    if (ctx.CodigoAtivacao().isEmpty()) {
        ctx.dialogos.erro(QStringLiteral("SAT ainda não ativado!"));
        return;
    }
    if (sessao == 0) sessao = ctx.aleatorio.sessaoAleatoria();
    RichEdit1->moveCursor(QTextCursor::End);
    const QString texto = EdNumeroSessao->text();
    if (aparado(texto).isEmpty()) {
        ctx.dialogos.erro(QStringLiteral("Preencha o campo numero de sessão!"));
        return;
    }
    EscreveLog(RichEdit1, CorTX, "[TX] ConsultarNumeroSessao(" + QString::number(sessao) + ')',
               NoFim);
    const std::optional<int> consultada = inteiro(texto);
    if (!consultada) {
        ctx.dialogos.erro("'" + texto + "' is not a valid integer value.");
        return;
    }
    const QString resposta =
        ctx.dll.ConsultarNumeroSessao(sessao, ctx.CodigoAtivacao(), *consultada);
    ctx.estado.setRespostaSAT(resposta);
    EscreveLog(RichEdit1, CorRX, "[RX] " + resposta, NoFim);
}

void TFormConsultas::BtExtrairLogsClick() {
    if (ctx.CodigoAtivacao().isEmpty())
        ctx.setCodigoAtivacao(QString::fromLatin1(CodigoProvisorio));
    ExtrairLogSatTivoro::iniciar(ctx, *this);
    LogExtraido = 1;
}

// The log is appended to the chosen file, never replacing what it holds, as
// the bytes the device gave with Windows line ends.
void TFormConsultas::BtSalvarLogClick() {
    if (LogExtraido != 1) {
        ctx.dialogos.informacao(QStringLiteral("Extraia o Log antes de salva-lo."));
        return;
    }
    const QString caminho = ctx.dialogos.salvarArquivo(
        {QStringLiteral("Salve o arquivo de log do SAT Tivoro"), QDir::currentPath(),
         QStringLiteral("Text file (*.txt);;Word file (*.doc)"), QStringLiteral("txt")});
    if (caminho.isEmpty()) return;
    const QString campo = campoDoLog(ctx.inicial().RetornoLog());
    // A worker may write the slot meanwhile: it is only the record.
    ctx.estado.setCampoA(campo);
    QByteArray dados = DecodificarBase64(campo);
    ctx.estado.setCampoA({});
    dados.replace("\n", "\r\n");
    dados.append("\r\n");
    const ResultadoArquivo r = acrescentarArquivoComum(caminho, dados);
    if (r.falha == ResultadoArquivo::Falha::Nenhuma) return;
    const QString texto = r.falha == ResultadoArquivo::Falha::NaoAbriu
                              ? QStringLiteral("Não foi possível abrir o arquivo %1: %2")
                              : QStringLiteral("Não foi possível gravar o arquivo %1: %2");
    ctx.dialogos.erro(texto.arg(QDir::toNativeSeparators(caminho), r.motivo));
}

void TFormConsultas::BtLimparClick() {
    RichEdit1->clear();
}

void TFormConsultas::BtCancelarClick() {
    close();
    ctx.mostrar(Janela::Principal);
}

void TFormConsultas::habilitarControles(bool habilitado) {
    QWidget* const controles[] = {BtConsultarSat, BtConsultarStatusOp, BtConsultarNumSes,
                                  BtCancelar,     BtExtrairLogs,       BtSalvarLog,
                                  BtLimpar,       EdNumeroSessao,      RichEdit1};
    for (QWidget* w : controles) w->setEnabled(habilitado);
}
