#include "tests/apoio/CanalNoProcesso.h"

#include <dlfcn.h>

#include <QFile>
#include <QFileInfo>

CanalNoProcesso::CanalNoProcesso(const QString& caminho) {
    void* handle = dlopen(QFile::encodeName(caminho).constData(), RTLD_NOW);
    if (!handle) qFatal("biblioteca ausente: %s", dlerror());
    if (const char* falta =
            m_tabela.resolver([&](const char* nome) { return dlsym(handle, nome); }))
        qFatal("%s ausente da biblioteca", falta);
}

Desfecho CanalNoProcesso::chamar(const sat::Pedido& pedido, int /*limiteMs*/,
                                 const std::function<void()>& /*aguardar*/) {
    Desfecho d;
    if (const char* r = m_tabela.chamar(pedido))
        d.bytes = QByteArray(r);
    else
        d.tipo = Desfecho::Tipo::Nula;
    return d;
}

std::unique_ptr<DllSat> carregarNoProcesso(const QString& caminho) {
    const QString absoluto = QFileInfo(caminho).absoluteFilePath();
    return std::make_unique<DllSat>(std::make_unique<CanalNoProcesso>(absoluto), absoluto,
                                    QStringList{absoluto});
}
