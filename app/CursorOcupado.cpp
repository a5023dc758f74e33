#include "app/CursorOcupado.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

namespace {
int s_profundidade = 0;

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
