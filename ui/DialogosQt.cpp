#include "ui/DialogosQt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QGridLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QThread>

#include "core/NaGui.h"

namespace {
// A reply of megabytes would take the box minutes to lay out; its start says
// what it is, and the log keeps the whole of it.
constexpr qsizetype LimiteCaixa = 8000;

QString textoDaCaixa(const QString& texto) {
    if (texto.size() <= LimiteCaixa) return texto;
    return texto.left(LimiteCaixa) + QStringLiteral("\n\n[... mais %L1 caracteres não mostrados]")
                                         .arg(texto.size() - LimiteCaixa);
}

// At most half the screen wide and two thirds high; a longer text scrolls.
QScrollArea* areaDoTexto(const QString& texto, const QSize& tela, QWidget* pai) {
    auto* rotulo = new QLabel(texto);
    rotulo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int limite = std::min(tela.width() / 2, 500);
    // Measured unwrapped: a wrapped label's hint is a few words wide.
    const int natural = rotulo->sizeHint().width();
    rotulo->setWordWrap(natural > limite);
    const int largura = std::min(natural, limite);
    const int altura =
        rotulo->wordWrap() ? rotulo->heightForWidth(largura) : rotulo->sizeHint().height();
    auto* area = new QScrollArea(pai);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(rotulo);
    // A word longer than the width cannot wrap: it scrolls sideways.
    const int barra = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int alturaMaxima = tela.height() * 2 / 3;
    area->setFixedSize(
        largura + (altura > alturaMaxima ? barra : 0),
        std::min(altura, alturaMaxima) + (rotulo->minimumSizeHint().width() > largura ? barra : 0));
    return area;
}

// A message box as Qt's, but one that fits the screen whatever the text.
class CaixaMensagem : public QDialog {
  public:
    CaixaMensagem(PortaDialogos::Icone icone, const QString& texto, QWidget* pai) : QDialog(pai) {
        setWindowTitle(QString::fromLatin1(TituloAplicacao));
        auto* grade = new QGridLayout(this);
        grade->setSizeConstraint(QLayout::SetFixedSize);
        grade->addWidget(figura(icone), 0, 0, Qt::AlignTop);
        grade->addWidget(areaDoTexto(texto, screen()->availableGeometry().size(), this), 0, 1);
        auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok, this);
        connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
        grade->addWidget(botoes, 1, 0, 1, 2);
    }

  private:
    QLabel* figura(PortaDialogos::Icone icone) {
        auto* rotulo = new QLabel(this);
        if (icone == PortaDialogos::Icone::Nenhum) return rotulo;
        const auto padrao = icone == PortaDialogos::Icone::Erro ? QStyle::SP_MessageBoxCritical
                                                                : QStyle::SP_MessageBoxInformation;
        const int lado = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        rotulo->setPixmap(style()->standardIcon(padrao, nullptr, this).pixmap(lado));
        return rotulo;
    }
};

// Icons and type names from the file name only: Qt would read each file's
// contents, and a file such as /proc/kmsg never answers.
class IconesPeloNome : public QFileIconProvider {
  public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override {
        if (info.isDir()) return QFileIconProvider::icon(info);
        const QIcon doTema = QIcon::fromTheme(tipo(info).iconName());
        return doTema.isNull() ? icon(File) : doTema;
    }
    QString type(const QFileInfo& info) const override {
        if (info.isDir()) return QFileIconProvider::type(info);
        const QMimeType t = tipo(info);
        return t.comment().isEmpty() ? t.name() : t.comment();
    }

  private:
    QMimeType tipo(const QFileInfo& info) const {
        return m_tipos.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    }
    QMimeDatabase m_tipos;
};

QString dialogoArquivo(const PortaDialogos::Arquivo& d, QFileDialog::AcceptMode modo) {
    QString caminho;
    naGuiEsperando(qApp, [&] {
        IconesPeloNome icones;
        QFileDialog dialogo(QApplication::activeWindow(), d.titulo, d.pasta, d.filtro);
        dialogo.setIconProvider(&icones);
        dialogo.setAcceptMode(modo);
        dialogo.setDefaultSuffix(d.extensao);
        dialogo.setFileMode(modo == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
        // The one file the tool saves is appended to, never replaced: asking
        // whether to replace it would tell the user the opposite.
        dialogo.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialogo.exec() == QDialog::Accepted && !dialogo.selectedFiles().isEmpty())
            caminho = dialogo.selectedFiles().constFirst();
    });
    return caminho;
}
}  // namespace

void DialogosQt::mensagem(Icone icone, const QString& texto) {
    naGuiEsperando(qApp, [&] {
        CaixaMensagem caixa(icone, textoDaCaixa(texto), QApplication::activeWindow());
        caixa.exec();
    });
}

QString DialogosQt::abrirArquivo(const Arquivo& dialogo) {
    return dialogoArquivo(dialogo, QFileDialog::AcceptOpen);
}

QString DialogosQt::salvarArquivo(const Arquivo& dialogo) {
    return dialogoArquivo(dialogo, QFileDialog::AcceptSave);
}

void DialogosQt::abrirEndereco(const QUrl& endereco) {
    naGui(qApp, [endereco] { QDesktopServices::openUrl(endereco); });
}

void RelogioReal::pausa(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}
