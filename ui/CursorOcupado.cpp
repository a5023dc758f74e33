#include "ui/CursorOcupado.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include "core/Inicio.h"

namespace {
int s_profundidade = 0;

bool naThreadGui() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Only the outermost wait acts; off the GUI thread nothing does.
void comecarEspera() {
    if (!naThreadGui() || s_profundidade++ > 0) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The loop paints nothing while the GUI thread waits: a window closed just
    // before would stay on screen over the ones beneath it.
    for (QWidget* janela : QApplication::topLevelWidgets())
        if (janela->isVisible()) janela->repaint();
}

void terminarEspera() {
    if (naThreadGui() && --s_profundidade == 0) QApplication::restoreOverrideCursor();
}
}  // namespace

CursorOcupado::CursorOcupado() {
    comecarEspera();
}

CursorOcupado::~CursorOcupado() {
    terminarEspera();
}

void EsperaComCursor::comecar() {
    comecarEspera();
}

void EsperaComCursor::aguardar() {
    // Another call meanwhile gets the device's busy reply: the binding holds
    // one call at a time.
    if (naThreadGui()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void EsperaComCursor::terminar() {
    terminarEspera();
}

void EsperaComCursor::falhou(const QString& texto) {
    avisarDaBiblioteca(texto, m_dialogos);
}
