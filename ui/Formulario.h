#pragma once

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>
#include <algorithm>

class Contexto;

// What every window of the tool shares: its caption, centred on the screen on
// its first show, FormShow each time it becomes visible, FormClose on close,
// Escape closing it as it closes a box.
template <typename Base = QWidget>
class Formulario : public Base {
  public:
    Formulario(Contexto& contexto, const QString& titulo, Qt::WindowFlags flags)
        : Base(nullptr, flags), ctx(contexto) {
        this->setWindowTitle(titulo);
    }

  protected:
    virtual void FormShow() {}
    virtual void FormClose() {}

    void showEvent(QShowEvent* evento) override {
        Base::showEvent(evento);
        if (evento->spontaneous()) return;
        if (!m_centralizado) centralizar();
        FormShow();
    }

    void closeEvent(QCloseEvent* evento) override {
        Base::closeEvent(evento);
        if (evento->isAccepted()) FormClose();
    }

    // The two windows whose close ends the program keep it from a stray key.
    virtual bool fechaComEsc() const { return true; }

    void keyPressEvent(QKeyEvent* evento) override {
        if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier &&
            fechaComEsc()) {
            this->close();
            return;
        }
        Base::keyPressEvent(evento);
    }

    // The largest size that keeps the window, frame included, inside the
    // free area of its screen.
    QSize tamanhoNaTela() const {
        const QScreen* tela = this->screen();
        if (!tela) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
        return tela->availableGeometry().size() - (this->frameGeometry().size() - this->size());
    }

    // A window that grew comes back inside the free area of its screen; one
    // larger than the area keeps its top left corner in it.
    void caberNaTela() {
        const QScreen* tela = this->screen();
        if (!tela) return;
        const QRect area = tela->availableGeometry();
        QRect quadro = this->frameGeometry();
        quadro.moveRight(std::min(quadro.right(), area.right()));
        quadro.moveBottom(std::min(quadro.bottom(), area.bottom()));
        quadro.moveLeft(std::max(quadro.left(), area.left()));
        quadro.moveTop(std::max(quadro.top(), area.top()));
        this->move(quadro.topLeft());
    }

    Contexto& ctx;

  private:
    void centralizar() {
        m_centralizado = true;
        if (const QScreen* tela = QGuiApplication::primaryScreen()) {
            QRect area = this->frameGeometry();
            area.moveCenter(tela->availableGeometry().center());
            this->move(area.topLeft());
        }
    }
    bool m_centralizado = false;
};

// Window flags of the kinds of border the windows use.
namespace Borda {
// System menu, minimise box and close box, no maximise box; whether the
// window can be resized is the window's own size policy.
inline constexpr Qt::WindowFlags FixaComMinimizar =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
// No title-bar buttons at all.
inline constexpr Qt::WindowFlags SemBotoes =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}  // namespace Borda
