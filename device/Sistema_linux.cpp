#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "device/Sistema.h"

namespace sistema {

const char* const NomeBiblioteca = "libdllsat.so";
const char* const LugarDaVersao = "na seção .versioninfo";
const char* const ResumoDaBusca = "LD_LIBRARY_PATH, pastas do sistema";

QString pastaDoPrograma() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QStringList pastasDaBusca() {
    QStringList pastas;
    for (const QString& p : qEnvironmentVariable("LD_LIBRARY_PATH").split(':', Qt::SkipEmptyParts))
        pastas << QStringLiteral("LD_LIBRARY_PATH: ") +
                      QDir::cleanPath(QDir(p).absoluteFilePath(QLatin1String(NomeBiblioteca)));
    pastas << QStringLiteral("as pastas do sistema (/etc/ld.so.cache, /lib, /usr/lib)");
    return pastas;
}

QString textoDoErro(unsigned long codigo) {
    return QString::fromLocal8Bit(std::strerror(int(codigo)));
}

// One helper hosts every library this system loads.
Arquitetura arquiteturaBiblioteca(const QString& /*caminho*/) {
    return Arquitetura::Desconhecida;
}

QString marcaArquitetura(const QString& /*caminho*/) {
    return {};
}

}  // namespace sistema
