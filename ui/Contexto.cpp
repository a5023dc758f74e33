#include "ui/Contexto.h"

void Contexto::mostrar(Janela janela) const {
    QWidget* w = m_janelas.value(janela);
    if (!w) return;
    // Showing a visible window only brings it to the front.
    w->show();
    w->raise();
    w->activateWindow();
}

void Contexto::esconder(Janela janela) const {
    if (QWidget* w = m_janelas.value(janela)) w->hide();
}
