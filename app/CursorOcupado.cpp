#include "app/CursorOcupado.h"

#include <QApplication>
#include <QThread>
#include <QWidget>
#include <memory>
#include <vector>

namespace {
int s_profundidade = 0;
// The guards of calls under way on this thread, innermost last.
thread_local std::vector<std::unique_ptr<CursorOcupado>> t_guardas;

bool naThreadGui() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}
}  // namespace

CursorOcupado::CursorOcupado() : m_naGui(naThreadGui()) {
    if (!m_naGui || s_profundidade++ > 0) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The loop paints nothing while the GUI thread waits: a window closed just
    // before would stay on screen over the ones beneath it.
    for (QWidget* janela : QApplication::topLevelWidgets())
        if (janela->isVisible()) janela->repaint();
}

CursorOcupado::~CursorOcupado() {
    if (m_naGui && --s_profundidade == 0) QApplication::restoreOverrideCursor();
}

void EsperaComCursor::comecar() {
    t_guardas.push_back(std::make_unique<CursorOcupado>());
}

void EsperaComCursor::terminar() {
    if (!t_guardas.empty()) t_guardas.pop_back();
}
