#include "operations/TFormTrocarCodigo.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include "core/Respostas.h"
#include "operations/StatusAoFechar.h"
#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Sessao.h"

namespace {
constexpr int Altura = 218;

// Fixed size, close box only.
constexpr Qt::WindowFlags BordaTrocar = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

QRadioButton* opcao(const char* nome, const QString& texto, QWidget* pai, const QRect& area) {
    auto* r = novoControle<QRadioButton>(nome, pai, area);
    r->setText(texto);
    return r;
}
}  // namespace

TFormTrocarCodigo::TFormTrocarCodigo(Contexto& contexto)
    : Formulario(contexto, QStringLiteral("TOOL SAT TIVORO - Trocar código de ativação"),
                 BordaTrocar) {
    setObjectName("TFormTrocarCodigo");
    montar();
    montarAjuda();
    connect(RdbCodigoAtual, &QRadioButton::toggled, this, [this](bool marcado) {
        if (marcado) RdbCodigoAtualClick();
    });
    connect(RdbCodigoEmergencia, &QRadioButton::toggled, this, [this](bool marcado) {
        if (marcado) RdbCodigoEmergenciaClick();
    });
    connect(BtEnviar, &QPushButton::clicked, this, &TFormTrocarCodigo::BtEnviarClick);
    connect(BtCancelar, &QPushButton::clicked, this, &TFormTrocarCodigo::BtCancelarClick);
    // Return in the last field sends, as the button does.
    connect(EdConfNovoCod, &QLineEdit::returnPressed, BtEnviar, &QPushButton::click);
    RdbCodigoAtual->setChecked(true);
}

void TFormTrocarCodigo::montar() {
    RdbCodigoAtual =
        opcao("RdbCodigoAtual", QStringLiteral("Código Atual"), this, {14, 10, 120, 22});
    RdbCodigoEmergencia = opcao("RdbCodigoEmergencia", QStringLiteral("Código de Emergência"), this,
                                {140, 10, 170, 22});
    LbCodAtivAtualEmerg = novoRotulo("LbCodAtivAtualEmerg", QString(), this, {14, 40, 290, 18});
    EdCodAtualEmerg = novoControle<QLineEdit>("EdCodAtualEmerg", this, {14, 58, 293, 24});
    LbNovoCodAtiv = novoRotulo("LbNovoCodAtiv", QStringLiteral("Novo código de Ativação"), this,
                               {14, 88, 290, 18});
    EdNovoCod = novoControle<QLineEdit>("EdNovoCod", this, {14, 106, 293, 24});
    LbConfNovoCod = novoRotulo("LbConfNovoCod", QStringLiteral("Confirme o novo código"), this,
                               {14, 136, 290, 18});
    EdConfNovoCod = novoControle<QLineEdit>("EdConfNovoCod", this, {14, 154, 293, 24});
    BtCancelar = novoBotao("BtCancelar", QStringLiteral("Cancelar"), this, {125, 184, 88, 28});
    BtEnviar = novoBotao("BtEnviar", QStringLiteral("Enviar"), this, {219, 184, 88, 28});
}

// The help part lies beyond the narrow width: only the wide window shows it.
void TFormTrocarCodigo::montarAjuda() {
    Shape1 = novoControle<QFrame>("Shape1", this, {LarguraEstreita + 4, 8, 2, Altura - 16});
    Shape1->setFrameShape(QFrame::VLine);
    Shape1->setFrameShadow(QFrame::Plain);
    Label1 =
        novoRotulo("Label1",
                   QStringLiteral("Para obter o código de emergência do seu SAT "
                                  "consulte o manual, que o acompanha, na pagina 3 e procure a "
                                  "etiqueta conforme a imagem ao lado. "),
                   this, {LarguraEstreita + 18, 8, 200, Altura - 16});
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont fonte = Label1->font();
    fonte.setPointSizeF(fonte.pointSizeF() * 1.25);
    Label1->setFont(fonte);

    const int esquerda = LarguraEstreita + 228;
    ImCodAtivacao = novoControle<QLabel>(
        "ImCodAtivacao", this, {esquerda, 8, LarguraComAjuda - esquerda - 8, Altura - 16});
    ImCodAtivacao->setAlignment(Qt::AlignCenter);
}

// Decoded when first shown, not at start-up; scaled to the room the help
// part has.
void TFormTrocarCodigo::mostrarCartao() {
    if (m_cartao.isNull()) m_cartao = QPixmap(QString::fromLatin1(ImagemCartao));
    if (!m_cartao.isNull())
        ImCodAtivacao->setPixmap(
            m_cartao.scaled(ImCodAtivacao->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TFormTrocarCodigo::RdbCodigoAtualClick() {
    LbCodAtivAtualEmerg->setText(QStringLiteral("Código de Ativação Atual"));
    setFixedSize(LarguraEstreita, Altura);
}

// On a small screen or with large fonts the help part narrows, its picture
// with it, so that the whole window stays on the screen.
void TFormTrocarCodigo::RdbCodigoEmergenciaClick() {
    LbCodAtivAtualEmerg->setText(QStringLiteral("Código de Emergência"));
    setFixedSize(std::min(LarguraComAjuda, tamanhoNaTela().width()), Altura);
    ImCodAtivacao->resize(width() - ImCodAtivacao->x() - 8, ImCodAtivacao->height());
    mostrarCartao();
    caberNaTela();
}

void TFormTrocarCodigo::FormShow() {
    RdbCodigoAtual->setChecked(true);
}

bool TFormTrocarCodigo::camposPreenchidos() {
    QString falta;
    if (EdCodAtualEmerg->text().trimmed().isEmpty())
        falta = QStringLiteral("Favor informar o código atual para continuar.");
    else if (EdNovoCod->text().trimmed().isEmpty())
        falta = QStringLiteral("Favor informar o novo código para continuar.");
    else if (EdConfNovoCod->text().trimmed().isEmpty())
        falta = QStringLiteral("Favor confirmar o novo código para continuar.");
    if (falta.isEmpty()) return true;
    ctx.dialogos.informacao(falta);
    ctx.estado.setRespostaSAT(QString());
    return false;
}

void TFormTrocarCodigo::BtEnviarClick() {
    if (!camposPreenchidos()) return;
    const int opcao = RdbCodigoEmergencia->isChecked() ? 2 : 1;
    const QString novo = EdNovoCod->text();
    const QString resposta =
        ctx.dll.TrocarCodigoDeAtivacao(ctx.aleatorio.sessaoAleatoria(), EdCodAtualEmerg->text(),
                                       opcao, novo, EdConfNovoCod->text());
    ctx.estado.setRespostaSAT(resposta);
    // A device that answers nothing is a failure too, not a silent success.
    if (ExtraiCampo(resposta, 1) != QLatin1String("18000")) {
        MostraResposta(ctx, resposta, PortaDialogos::Icone::Erro);
        return;
    }
    MostraResposta(ctx, resposta);
    ctx.setCodigoAtivacao(novo);
}

void TFormTrocarCodigo::BtCancelarClick() {
    close();
}

void TFormTrocarCodigo::FormClose() {
    statusAoFechar(ctx, {true, true, true});
}
