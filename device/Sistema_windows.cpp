#include <windows.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

#include "device/Sistema.h"

namespace sistema {

const char* const NomeBiblioteca = "dllsat.dll";
const char* const LugarDaVersao = "no recurso de versão (VERSIONINFO)";
const char* const ResumoDaBusca = "pastas do sistema e do Windows, PATH";

QString pastaDoPrograma() {
    std::wstring caminho(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, caminho.data(), DWORD(caminho.size()));
        if (n == 0) return {};
        if (n < caminho.size()) {
            caminho.resize(n);
            break;
        }
        caminho.resize(caminho.size() * 2);
    }
    return QFileInfo(QDir::fromNativeSeparators(QString::fromStdWString(caminho))).absolutePath();
}

namespace {
QString pastaDe(UINT(WINAPI* consulta)(LPWSTR, UINT)) {
    wchar_t pasta[MAX_PATH + 1] = {};
    const UINT n = consulta(pasta, MAX_PATH);
    return n > 0 && n <= MAX_PATH ? QDir::toNativeSeparators(QString::fromWCharArray(pasta, int(n)))
                                  : QString();
}
}  // namespace

// The order LoadLibrary follows once the program's folder is passed, with
// the current folder left out (the helper removes it from the search).
QStringList pastasDaBusca() {
    QStringList pastas;
    const QString nome = QLatin1String(NomeBiblioteca);
    if (const QString s = pastaDe(GetSystemDirectoryW); !s.isEmpty())
        pastas << QStringLiteral("a pasta do sistema: ") + s + '\\' + nome;
    if (const QString w = pastaDe(GetWindowsDirectoryW); !w.isEmpty())
        pastas << QStringLiteral("a pasta do Windows: ") + w + '\\' + nome;
    for (const QString& p : qEnvironmentVariable("PATH").split(';', Qt::SkipEmptyParts))
        pastas << QStringLiteral("PATH: ") +
                      QDir::toNativeSeparators(QDir::cleanPath(QDir(p).absoluteFilePath(nome)));
    return pastas;
}

QString textoDoErro(unsigned long codigo) {
    wchar_t* texto = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(codigo), 0, reinterpret_cast<LPWSTR>(&texto), 0, nullptr);
    QString saida = n ? QString::fromWCharArray(texto, int(n)).trimmed()
                      : QStringLiteral("erro %1 do sistema").arg(codigo);
    LocalFree(texto);
    return saida;
}

// The machine field of the PE header: 32-bit libraries need the 32-bit helper.
Arquitetura arquiteturaBiblioteca(const QString& caminho) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly)) return Arquitetura::Desconhecida;
    const QByteArray dos = arquivo.read(0x40);
    if (dos.size() < 0x40 || !dos.startsWith("MZ")) return Arquitetura::Desconhecida;
    const quint32 pe = qFromLittleEndian<quint32>(dos.constData() + 0x3C);
    if (!arquivo.seek(pe)) return Arquitetura::Desconhecida;
    const QByteArray cabecalho = arquivo.read(6);
    if (cabecalho.size() < 6 || !cabecalho.startsWith(QByteArray("PE\0\0", 4)))
        return Arquitetura::Desconhecida;
    switch (qFromLittleEndian<quint16>(cabecalho.constData() + 4)) {
        case IMAGE_FILE_MACHINE_I386:
            return Arquitetura::X86;
        case IMAGE_FILE_MACHINE_AMD64:
            return Arquitetura::X64;
        default:
            return Arquitetura::Desconhecida;
    }
}

QString marcaArquitetura(const QString& caminho) {
    switch (arquiteturaBiblioteca(caminho)) {
        case Arquitetura::X86:
            return QStringLiteral(" (32 bits)");
        case Arquitetura::X64:
            return QStringLiteral(" (64 bits)");
        default:
            return {};
    }
}

}  // namespace sistema
