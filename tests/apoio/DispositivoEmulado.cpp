#include "tests/apoio/DispositivoEmulado.h"

#include <QFile>

DispositivoEmulado::DispositivoEmulado() : DispositivoEmulado(std::make_unique<QTemporaryDir>()) {}

DispositivoEmulado::DispositivoEmulado(std::unique_ptr<QTemporaryDir> pasta)
    : Controle(QFile::encodeName(pasta->path()).toStdString()), m_pasta(std::move(pasta)) {
    if (!m_pasta->isValid()) qFatal("sem pasta para o dispositivo emulado");
    qputenv("SAT_EMULADOR_DIR", QFile::encodeName(m_pasta->path()));
    novo();
}
