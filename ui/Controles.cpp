#include "ui/Controles.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <limits>

#include "core/Portas.h"
#include "core/UF.h"
#include "device/DllSat.h"
#include "ui/Log.h"

namespace {
// Takes line breaks out of whatever reaches the field; nothing is refused.
class SemQuebraDeLinha : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& texto, int& posicao) const override {
        for (qsizetype i = texto.size() - 1; i >= 0; --i) {
            if (texto[i] != QLatin1Char('\r') && texto[i] != QLatin1Char('\n')) continue;
            texto.remove(i, 1);
            if (i < posicao) --posicao;
        }
        return Acceptable;
    }
};
}  // namespace

void campoDeUmaLinha(QLineEdit* campo) {
    campo->setValidator(new SemQuebraDeLinha(campo));
    campo->setMaxLength(std::numeric_limits<int>::max());
}

TextoPlano::TextoPlano(QWidget* pai) : QPlainTextEdit(pai) {
    setTabChangesFocus(true);
}

// The document's text comes out in one pass, several times faster than the
// cursor's selected text on a large log; its positions are the document's.
QMimeData* TextoPlano::createMimeDataFromSelection() const {
    const QTextCursor selecao = textCursor();
    const int inicio = selecao.selectionStart();
    const int fim = selecao.selectionEnd();
    auto* dados = new QMimeData;
    dados->setText(temLinhaCortada(inicio, fim)
                       ? textoInteiro(inicio, fim)
                       : document()->toPlainText().mid(inicio, fim - inicio));
    return dados;
}

bool TextoPlano::temLinhaCortada(int inicio, int fim) const {
    for (QTextBlock b = document()->findBlock(inicio); b.isValid() && b.position() <= fim;
         b = b.next())
        if (dynamic_cast<const LinhaInteira*>(b.userData())) return true;
    return false;
}

// Line by line: a shortened line selected past its shown part gives the rest
// of its whole text.
QString TextoPlano::textoInteiro(int inicio, int fim) const {
    QStringList partes;
    for (QTextBlock b = document()->findBlock(inicio); b.isValid() && b.position() <= fim;
         b = b.next()) {
        const int de = std::max(inicio, b.position()) - b.position();
        const int ate = std::min(fim, b.position() + b.length() - 1) - b.position();
        const auto* inteira = dynamic_cast<const LinhaInteira*>(b.userData());
        partes << (inteira && ate > inteira->mostrados ? inteira->texto.mid(de)
                                                       : b.text().mid(de, ate - de));
    }
    return partes.join(QLatin1Char('\n'));
}

MemoAssinatura::MemoAssinatura(QWidget* pai) : TextoPlano(pai) {}

void MemoAssinatura::keyPressEvent(QKeyEvent* evento) {
    const QString texto = evento->text();
    // A line break typed counts as much as any other character.
    const bool insere = !texto.isEmpty() && (texto.at(0).isPrint() || texto == QLatin1String("\r"));
    if (insere && espaco() < texto.size()) return;
    TextoPlano::keyPressEvent(evento);
}

void MemoAssinatura::insertFromMimeData(const QMimeData* origem) {
    if (!origem->hasText()) return;
    insertPlainText(origem->text().left(std::max(espaco(), 0)));
}

int MemoAssinatura::espaco() const {
    return Limite - (document()->characterCount() - 1) +
           static_cast<int>(textCursor().selectedText().size());
}

MemoAssinatura* novoMemoAssinatura(const char* nome, QWidget* pai) {
    return novoControle<MemoAssinatura>(nome, pai);
}

TextoPlano* novoTexto(const char* nome, QWidget* pai) {
    return novoControle<TextoPlano>(nome, pai);
}

TextoPlano* novoTexto(const char* nome, QWidget* pai, const QRect& area) {
    return novoControle<TextoPlano>(nome, pai, area);
}

QComboBox* novaListaEditavel(const char* nome, QWidget* pai) {
    auto* lista = novoControle<QComboBox>(nome, pai);
    lista->setEditable(true);
    campoDeUmaLinha(lista->lineEdit());
    return lista;
}

QComboBox* novaListaUF(const char* nome, QWidget* pai) {
    QComboBox* lista = novaListaEditavel(nome, pai);
    lista->setInsertPolicy(QComboBox::NoInsert);
    lista->setCompleter(nullptr);
    lista->addItems(siglasUF());
    lista->setMaxVisibleItems(lista->count());
    lista->lineEdit()->setMaxLength(2);
    QObject::connect(lista, &QComboBox::editTextChanged, lista, [lista](const QString& texto) {
        const int indice = lista->findText(texto, Qt::MatchFixedString);
        if (indice == lista->currentIndex()) return;
        lista->setCurrentIndex(indice);
        if (indice < 0) lista->setEditText(texto);
    });
    return lista;
}

QPushButton* novoBotao(const char* nome, const QString& texto, QWidget* pai) {
    auto* b = novoControle<QPushButton>(nome, pai);
    b->setText(texto);
    b->setAutoDefault(false);
    return b;
}

QPushButton* novoBotao(const char* nome, const QString& texto, QWidget* pai, const QRect& area) {
    QPushButton* b = novoBotao(nome, texto, pai);
    b->setGeometry(area);
    return b;
}

QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai) {
    auto* l = novoControle<QLabel>(nome, pai);
    l->setText(texto);
    return l;
}

QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai, const QPoint& posicao) {
    QLabel* l = novoRotulo(nome, texto, pai);
    l->move(posicao);
    l->adjustSize();
    return l;
}

QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai, const QRect& area) {
    QLabel* l = novoRotulo(nome, texto, pai);
    l->setGeometry(area);
    return l;
}

QRadioButton* novoRadio(const char* nome, const QString& texto, QWidget* pai) {
    auto* r = novoControle<QRadioButton>(nome, pai);
    r->setText(texto);
    return r;
}

GrupoCertificados::GrupoCertificados(QWidget* pai)
    : QGroupBox(QStringLiteral("CERTIFICADOS"), pai) {
    setObjectName("GroupBox1");
    RdbAcSatSefaz = novoRadio("RdbAcSatSefaz", QStringLiteral("AC-SAT/SEFAZ"), this);
    RdbICPBrasil = novoRadio("RdbICPBrasil", QStringLiteral("ICP-BRASIL"), this);
    RdbRenovarICPBrasil =
        novoRadio("RdbRenovarICPBrasil", QStringLiteral("Renovar ICP-BRASIL"), this);
    auto* coluna = new QVBoxLayout(this);
    for (QRadioButton* r : {RdbAcSatSefaz, RdbICPBrasil, RdbRenovarICPBrasil}) coluna->addWidget(r);
}

void GrupoCertificados::mostrar() {
    RdbAcSatSefaz->setChecked(true);
    setEnabled(false);
    for (QRadioButton* r : {RdbAcSatSefaz, RdbICPBrasil, RdbRenovarICPBrasil}) r->setEnabled(false);
}

SeletorCertificado novoSeletorCertificado(PortaDialogos& dialogos, QWidget* pai) {
    auto* campo = novoControle<QLineEdit>("EdCertificado", pai);
    QPushButton* botao = novoBotao("btCertificado", QStringLiteral("..."), pai);
    QObject::connect(botao, &QPushButton::clicked, campo, [&dialogos, campo] {
        const QString caminho = dialogos.abrirArquivo(
            {QStringLiteral("Carregar Certificado..."), QDir::currentPath(),
             QStringLiteral("p12 (*.p12);;pfx (*.pfx)"), QStringLiteral("p12")});
        if (!caminho.isEmpty()) campo->setText(caminho);
    });
    return {campo, botao};
}

QLineEdit* novoCampoSenha(const char* nome, QWidget* pai) {
    auto* campo = novoControle<QLineEdit>(nome, pai);
    campo->setEchoMode(QLineEdit::Password);
    campo->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return campo;
}

QWidget* novaIdentificacaoBiblioteca(const DllSat& dll, QWidget* pai, int larguraCaminho) {
    auto* faixa = novoControle<QWidget>("Biblioteca", pai);
    auto* marca = novoRotulo("LbSatEmulado", QStringLiteral("SAT EMULADO"), faixa);
    marca->setStyleSheet(QStringLiteral(
        "QLabel { background: #c00000; color: white; font-weight: bold; padding: 2px 8px; }"));
    marca->setToolTip(
        QStringLiteral("Esta biblioteca emula o SAT: nenhum SAT real recebe as "
                       "operações."));
    marca->setVisible(dll.emulado());
    const QString texto = QStringLiteral("Biblioteca: ") + dll.caminho();
    auto* caminho = novoRotulo("LbBiblioteca", QString(), faixa);
    caminho->setText(caminho->fontMetrics().elidedText(texto, Qt::ElideMiddle, larguraCaminho));
    caminho->setToolTip(texto);
    caminho->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* linha = new QHBoxLayout(faixa);
    linha->setContentsMargins(0, 0, 0, 0);
    linha->addWidget(marca);
    linha->addWidget(caminho, 1);
    return faixa;
}
