#include "device/EscolhaBiblioteca.h"

#include <QDir>
#include <QFileInfo>

#include "device/Sistema.h"

namespace {

QString naPasta(const QString& pasta) {
    return QDir::cleanPath(QDir(pasta).absoluteFilePath(sistema::NomeBiblioteca));
}

EscolhaBiblioteca nomeada(const QString& caminho, const QString& como) {
    const QString absoluto = QFileInfo(caminho).absoluteFilePath();
    return {absoluto, {como + absoluto}, false};
}

}  // namespace

QString pastaEmulador(const QString& pastaPrograma) {
    return QDir::cleanPath(pastaPrograma + QStringLiteral("/" SAT_EMULADOR_DO_PROGRAMA));
}

EscolhaBiblioteca escolherBiblioteca(const PedidoBiblioteca& pedido, const QString& pastaPrograma) {
    if (!pedido.caminho.isEmpty()) return nomeada(pedido.caminho, QStringLiteral("--biblioteca "));
    if (pedido.emulador)
        return nomeada(naPasta(pastaEmulador(pastaPrograma)), QStringLiteral("--emulador: "));
    if (!pedido.variavel.isEmpty())
        return nomeada(pedido.variavel, QStringLiteral("SAT_BIBLIOTECA="));
    const QString local = naPasta(pastaPrograma);
    if (QFileInfo::exists(local)) return {local, {local}, false};
    return {QString::fromLatin1(sistema::NomeBiblioteca),
            QStringList{local} + sistema::pastasDaBusca(), true};
}

QString descreveRecusa(const QString& caminho, const QString& falta,
                       const QStringList& procurados) {
    return QStringLiteral("Arquivo: %1\nFalta: %2\n").arg(caminho, falta) +
           descreveProcura(procurados);
}

QString descreveProcura(const QStringList& procurados) {
    QString texto = QStringLiteral("Procurada, nesta ordem:");
    int n = 0;
    for (const QString& p : procurados) texto += QStringLiteral("\n  %1. %2").arg(++n).arg(p);
    return texto;
}
