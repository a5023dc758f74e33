#include "core/NaGui.h"

#include <QCoreApplication>
#include <QThread>

namespace {
bool naThreadGui() {
    auto* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void entregar(QObject* contexto, std::function<void()> acao, Qt::ConnectionType tipo) {
    if (!contexto) return;
    if (naThreadGui())
        acao();
    else
        QMetaObject::invokeMethod(contexto, std::move(acao), tipo);
}
}  // namespace

void naGui(QObject* contexto, std::function<void()> acao) {
    entregar(contexto, std::move(acao), Qt::QueuedConnection);
}

void naGuiEsperando(QObject* contexto, std::function<void()> acao) {
    entregar(contexto, std::move(acao), Qt::BlockingQueuedConnection);
}
