#include "core/NaGui.h"

#include <QCoreApplication>
#include <QThread>

namespace {
bool naThreadGui() {
    auto* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}
}  // namespace

void naGui(std::function<void()> acao) {
    if (naThreadGui())
        acao();
    else
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(acao),
                                  Qt::QueuedConnection);
}

void naGuiEsperando(std::function<void()> acao) {
    if (naThreadGui())
        acao();
    else
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(acao),
                                  Qt::BlockingQueuedConnection);
}
