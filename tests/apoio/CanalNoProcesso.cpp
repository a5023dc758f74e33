#include "tests/apoio/CanalNoProcesso.h"

#include <QFileInfo>
#include <QLibrary>

CanalNoProcesso::CanalNoProcesso(const QString& caminho) {
    // Stays loaded with the process, as the binding's library did.
    QLibrary biblioteca(caminho);
    if (!biblioteca.load()) qFatal("biblioteca ausente: %s", qPrintable(biblioteca.errorString()));
    if (const char* falta = m_tabela.resolver(
            [&](const char* nome) { return reinterpret_cast<void*>(biblioteca.resolve(nome)); }))
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
