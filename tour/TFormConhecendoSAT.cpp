#include "tour/TFormConhecendoSAT.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Contexto.h"
#include "ui/Controles.h"
#include "ui/Sessao.h"

namespace {
const QString Telefone = QStringLiteral("(00) 5555-0100");
const QString TelefoneRevenda = QStringLiteral("(00) 5555-0101");

const QString TextoPadrao = QStringLiteral(
    "Passe o mouse  na imagem dos leds ou conexões do SAT para obter mais "
    "informações");

const QString InicioVerdeDoisEstagios =
    QStringLiteral("A cor do LED é verde e tem dois estagios quando aceso:\n");

// The photograph as drawn, and the area it is stretched into.
const QSize TamanhoFoto(2087, 1320);
const QSize AreaFoto(545, 330);

struct Regiao {
    const char* nome;
    QRect naFoto;  // in the photograph's own pixels
    QString dica;
};

QRect led(int indice) {
    return QRect(235 + 238 * indice, 330, 190, 200);
}

QList<Regiao> regioes() {
    return {
        {"ImageLedLigado", led(0),
         QStringLiteral("A cor do LED é verde, quando ele esta aceso representa que o SAT "
                        "esta energizado\ne ligado.")},
        {"ImageOPEAC", led(1),
         InicioVerdeDoisEstagios +
             QStringLiteral("LED ACESO constante: SAT pronto para receber comandos;\n"
                            "LED ACESO PISCANDO: Momento em que o SAT está comunicando com "
                            "o\naplicativo comercial")},
        {"ImageRede", led(2),
         QStringLiteral(
             "A cor do LED é verde e quando esta aceso indica que o SAT esta comunicando "
             "com a\nrede local do estabelecimento e obteve uma resposta do Gateway da rede "
             "local.\nIMPORTANTE: O Gateway da sua rede deve responder a ping para que essa "
             "comunicação\nocorra, caso contrario o led de REDE e SEFAZ ficarão "
             "apagados.")},
        {"ImageSefaz", led(3),
         InicioVerdeDoisEstagios +
             QStringLiteral("LED ACESO constante: Conseguiu acesso ao servidor da SEFAZ;\n"
                            "LED ACESO PISCANDO: Mostra o momento da comunicação com o "
                            "servidor da SEFAZ.")},
        {"ImagePCfe", led(4),
         InicioVerdeDoisEstagios +
             QStringLiteral(
                 "LED ACESO constante: Arquivo de parametrização de uso foi "
                 "carregado\ncom sucesso no SAT;\nLED ACESO PISCANDO: Indica que existe um ou "
                 "mais CF-e-SAT na mémória\ndo SAT ainda não transmitido(s) para "
                 "a SEFAZ.")},
        {"ImageBloq", led(5),
         QStringLiteral("A cor do LED é verde e quando acesso indica que o equipamento esta "
                        "bloqueado, seja\npelo usuario seja pela SEFAZ.")},
        {"ImageSup", led(6),
         QStringLiteral("A cor do LED é verde e quando acesso indica a necessidade de "
                        "suporte.\nLigue para ") +
             Telefone},
        {"ImagePortaUSB", QRect(255, 740, 210, 290),
         QStringLiteral(
             "Interface USB tipo B utilizada para comunicação com o PDV onde esta "
             "instalado o aplicativo\ncomercial. Esta interface também é utilizada "
             "para energizar o SAT, por isso recomenda-se\nutilizar o cabo USB fornecido junto "
             "com o equipamento e conectar as duas\npontas USB no PDV.")},
        {"ImageInterfaceRede", QRect(1210, 690, 710, 370),
         QStringLiteral(
             "Interface de Rede contem a finalidade de conectar o SAT à rede ethernet "
             "do\nestabelecimento para se comunicar com os servidores da SEFAZ. O SAT KT-470e "
             "contem\nduas interfaces ethernet para conexão à rede e ao computador, "
             "caso necessario.\nOBS: Você pode utilizar qualquer das duas interfaces para "
             "se conectar a rede ou ao PDV.")},
    };
}

QRect naArea(const QRect& naFoto) {
    const double x = double(AreaFoto.width()) / TamanhoFoto.width();
    const double y = double(AreaFoto.height()) / TamanhoFoto.height();
    return QRect(qRound(naFoto.x() * x), qRound(naFoto.y() * y), qRound(naFoto.width() * x),
                 qRound(naFoto.height() * y));
}

// A light or a connector of the photograph. It takes the focus from the
// keyboard too, so its hint is there without a mouse, and frames itself then.
class RegiaoFoto : public QWidget {
  public:
    explicit RegiaoFoto(QWidget* pai) : QWidget(pai) { setFocusPolicy(Qt::TabFocus); }

  protected:
    void paintEvent(QPaintEvent* /*evento*/) override {
        if (!hasFocus()) return;
        QPainter pintor(this);
        pintor.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        pintor.drawRect(rect().adjusted(1, 1, -1, -1));
    }
};

bool cliqueEsquerdo(QObject* alvo, QEvent* evento) {
    if (evento->type() != QEvent::MouseButtonRelease) return false;
    auto* mouse = static_cast<QMouseEvent*>(evento);
    auto* w = static_cast<QWidget*>(alvo);
    return mouse->button() == Qt::LeftButton && w->rect().contains(mouse->position().toPoint());
}
}  // namespace

const QUrl TFormConhecendoSAT::EnderecoSuporte(
    QStringLiteral("https://suporte.tivoro.example/contatos"));

TFormConhecendoSAT::TFormConhecendoSAT(Contexto& contexto)
    // Sizeable, but without a maximise box: the fixed windows' title bar.
    : Formulario(contexto, QStringLiteral("TOOL SAT Tivoro - Conhecendo o SAT"),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormConhecendoSAT");
    setMouseTracking(true);
    montar();
}

void TFormConhecendoSAT::montar() {
    Label1 = novoRotulo("Label1", TextoPadrao, this);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(font().pointSizeF());
    Label1->setFont(arial);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the longest hint, so the photograph never moves under the mouse.
    const QFontMetrics medidas(arial);
    int largura = medidas.horizontalAdvance(TextoPadrao);
    for (const Regiao& r : regioes())
        for (const QString& linha : r.dica.split('\n'))
            largura = std::max(largura, medidas.horizontalAdvance(linha));
    Label1->setFixedHeight(5 * medidas.lineSpacing() + 4);
    Label1->setMinimumWidth(largura + 4);

    auto* linhaFoto = new QHBoxLayout;
    linhaFoto->addStretch();
    linhaFoto->addWidget(montarFoto());
    linhaFoto->addStretch();

    auto* janela = new QVBoxLayout(this);
    janela->setContentsMargins(12, 10, 12, 12);
    janela->addWidget(Label1);
    janela->addLayout(linhaFoto);
    janela->addSpacing(8);
    janela->addLayout(montarContatos());
    janela->addStretch();
}

QWidget* TFormConhecendoSAT::montarFoto() {
    ImageCentral = novoRotulo("ImageCentral", QString(), this);
    ImageCentral->setScaledContents(true);
    ImageCentral->setFixedSize(AreaFoto);
    ImageCentral->setMouseTracking(true);
    ImageCentral->installEventFilter(this);
    // The regions are children of the photograph, so they lie above it.
    for (const Regiao& r : regioes()) {
        auto* regiao = new RegiaoFoto(ImageCentral);
        regiao->setObjectName(r.nome);
        regiao->setGeometry(naArea(r.naFoto));
        regiao->setMouseTracking(true);
        regiao->installEventFilter(this);
        m_dicas.insert(regiao, r.dica);
    }
    return ImageCentral;
}

QLayout* TFormConhecendoSAT::montarContatos() {
    Label2 = novoRotulo("Label2", QStringLiteral("Suporte ao Desenvolvedor:"), this);
    Label3 = novoRotulo("Label3", EnderecoSuporte.toString(), this);
    QPalette link = Label3->palette();
    link.setColor(QPalette::WindowText, link.color(QPalette::Link));
    Label3->setPalette(link);
    Label3->setMouseTracking(true);
    Label4 = novoRotulo("Label4",
                        QStringLiteral("Suporte ao Cliente e Revendedor: ") + Telefone +
                            QStringLiteral(" ou ") + TelefoneRevenda,
                        this);
    for (QLabel* l : {Label2, Label3, Label4}) l->installEventFilter(this);

    auto* desenvolvedor = new QHBoxLayout;
    desenvolvedor->addWidget(Label2);
    desenvolvedor->addWidget(Label3);
    desenvolvedor->addStretch();
    auto* contatos = new QVBoxLayout;
    contatos->addLayout(desenvolvedor);
    contatos->addWidget(Label4);
    return contatos;
}

// Mouse movement goes to the control under the mouse only; a control that
// ignored it would hand it on to the photograph or the window's background.
bool TFormConhecendoSAT::eventFilter(QObject* alvo, QEvent* evento) {
    if (evento->type() == QEvent::MouseMove) {
        if (alvo == ImageCentral)
            ImageCentralMouseMove();
        else if (alvo == Label3)
            Label3MouseMove();
        else if (m_dicas.contains(alvo))
            RegiaoMouseMove(alvo);
        else
            return false;
        evento->accept();
        return true;
    }
    if (evento->type() == QEvent::FocusIn && m_dicas.contains(alvo)) RegiaoFocusIn(alvo);
    if (cliqueEsquerdo(alvo, evento)) {
        if (alvo == Label3)
            Label3Click();
        else if (alvo == Label2 || alvo == Label4)
            Label2Click();
    }
    return Formulario::eventFilter(alvo, evento);
}

void TFormConhecendoSAT::mouseMoveEvent(QMouseEvent* evento) {
    FormMouseMove();
    evento->accept();
}

void TFormConhecendoSAT::ImageCentralMouseMove() {
    Label1->setText(TextoPadrao);
}

void TFormConhecendoSAT::RegiaoMouseMove(QObject* regiao) {
    Label1->setText(m_dicas.value(regiao));
}

void TFormConhecendoSAT::RegiaoFocusIn(QObject* regiao) {
    Label1->setText(m_dicas.value(regiao));
}

void TFormConhecendoSAT::Label3MouseMove() {
    if (m_cursorMao) return;
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    m_cursorMao = true;
}

void TFormConhecendoSAT::FormMouseMove() {
    restaurarCursor();
}

void TFormConhecendoSAT::restaurarCursor() {
    if (!m_cursorMao) return;
    QGuiApplication::restoreOverrideCursor();
    m_cursorMao = false;
}

void TFormConhecendoSAT::Label2Click() {
    ctx.dialogos.abrirEndereco(EnderecoSuporte);
}

void TFormConhecendoSAT::Label3Click() {
    ctx.dialogos.abrirEndereco(EnderecoSuporte);
}

// The hand is application-wide: it must not outlive the window over the others.
void TFormConhecendoSAT::hideEvent(QHideEvent* evento) {
    restaurarCursor();
    Formulario::hideEvent(evento);
}

// The full-size photograph is decoded when first needed, not at start-up.
void TFormConhecendoSAT::FormShow() {
    if (ImageCentral->pixmap().isNull())
        ImageCentral->setPixmap(QPixmap(QStringLiteral(":/imagens/sat_frente.png")));
    // The window holds the focus, not the first light, so it opens with the
    // default hint; Tab goes on to the lights.
    setFocus();
}

void TFormConhecendoSAT::FormClose() {
    AtualizaStatusConexao(ctx, false);
}
