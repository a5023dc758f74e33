#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <type_traits>

class QComboBox;
class QKeyEvent;
class QMimeData;

// Every one-line field (codes, CNPJs, addresses, passwords, paths): a line
// break, typed, pasted, dropped or set, never stays in it, and no length cut
// but one its window sets.
void campoDeUmaLinha(QLineEdit* campo);

// Every log and memo: copying or dragging offers plain text only, as Qt would
// turn a whole log into HTML and Markdown on the GUI thread; Tab moves on.
class TextoPlano : public QPlainTextEdit {
  public:
    explicit TextoPlano(QWidget* pai);

  protected:
    QMimeData* createMimeDataFromSelection() const override;

  private:
    bool temLinhaCortada(int inicio, int fim) const;
    QString textoInteiro(int inicio, int fim) const;
};

// The commercial application's signature: typing and pasting stop at the
// length of a 2048-bit key's signature; text set by the program is never cut,
// as a 4096-bit key's is longer.
class MemoAssinatura : public TextoPlano {
  public:
    static constexpr int Limite = 344;

    explicit MemoAssinatura(QWidget* pai);

  protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void insertFromMimeData(const QMimeData* origem) override;

  private:
    int espaco() const;
};

// How every window makes its controls: named as the tests and the tour look
// them up, and buttons that never become a dialog's default one.
template <typename T>
T* novoControle(const char* nome, QWidget* pai) {
    auto* c = new T(pai);
    c->setObjectName(QString::fromLatin1(nome));
    if constexpr (std::is_base_of_v<QLineEdit, T>) campoDeUmaLinha(c);
    return c;
}

template <typename T>
T* novoControle(const char* nome, QWidget* pai, const QRect& area) {
    T* c = novoControle<T>(nome, pai);
    c->setGeometry(area);
    return c;
}

QPushButton* novoBotao(const char* nome, const QString& texto, QWidget* pai);
QPushButton* novoBotao(const char* nome, const QString& texto, QWidget* pai, const QRect& area);
QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai);
// At that place, as large as its text.
QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai, const QPoint& posicao);
QLabel* novoRotulo(const char* nome, const QString& texto, QWidget* pai, const QRect& area);
// A log or memo.
TextoPlano* novoTexto(const char* nome, QWidget* pai);
TextoPlano* novoTexto(const char* nome, QWidget* pai, const QRect& area);
MemoAssinatura* novoMemoAssinatura(const char* nome, QWidget* pai);
// An editable list whose field is a one-line field.
QComboBox* novaListaEditavel(const char* nome, QWidget* pai);
// The 27 states. Typing or setting its text selects the entry it spells, in
// either case; any other text leaves none selected, so the state code is that
// of the selected entry, always.
QComboBox* novaListaUF(const char* nome, QWidget* pai);
QRadioButton* novoRadio(const char* nome, const QString& texto, QWidget* pai);

// The frame "CERTIFICADOS" of the windows that activate: only AC-SAT/SEFAZ is
// offered, so every showing selects it and keeps the frame disabled.
class GrupoCertificados : public QGroupBox {
  public:
    explicit GrupoCertificados(QWidget* pai);
    void mostrar();

    QRadioButton* RdbAcSatSefaz;
    QRadioButton* RdbICPBrasil;
    QRadioButton* RdbRenovarICPBrasil;
};

class PortaDialogos;
// The certificate file's path field and its "..." button, which fills it from
// the open dialog; the window places them.
struct SeletorCertificado {
    QLineEdit* EdCertificado;
    QPushButton* btCertificado;
};
SeletorCertificado novoSeletorCertificado(PortaDialogos& dialogos, QWidget* pai);
// Shows each character as "*".
QLineEdit* novoCampoSenha(const char* nome, QWidget* pai);

class DllSat;
// Which device library the window works on: its path (cut in the middle past
// that width, whole in the tooltip) and, for the emulated device, a red mark
// no one can miss. Children "LbSatEmulado" and "LbBiblioteca".
QWidget* novaIdentificacaoBiblioteca(const DllSat& dll, QWidget* pai, int larguraCaminho);
