#include <windows.h>

#include <QDir>
#include <vector>

#include "device/Sistema.h"
#include "device/VersaoArquivo.h"

namespace {

QString faltaDe(DWORD codigo) {
    switch (codigo) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return QStringLiteral("o arquivo não existe");
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return QStringLiteral("sem permissão de leitura do arquivo");
        default:
            return QStringLiteral("sem o recurso de versão (VERSIONINFO) do arquivo");
    }
}

ErroSistemaOperacional erroDe(DWORD codigo, const QString& falta) {
    return ErroSistemaOperacional(int(codigo), sistema::textoDoErro(codigo), falta);
}

// The file's version resource, read as data: the library is not loaded.
std::vector<char> lerRecurso(const QString& arquivo) {
    const std::wstring caminho = QDir::toNativeSeparators(arquivo).toStdWString();
    DWORD descarte = 0;
    const DWORD tamanho = GetFileVersionInfoSizeW(caminho.c_str(), &descarte);
    std::vector<char> dados(tamanho);
    if (tamanho == 0 || !GetFileVersionInfoW(caminho.c_str(), 0, tamanho, dados.data())) {
        const DWORD erro = GetLastError() ? GetLastError() : DWORD(ERROR_RESOURCE_DATA_NOT_FOUND);
        throw erroDe(erro, faltaDe(erro));
    }
    return dados;
}

bool consultar(std::vector<char>& dados, const QString& chave, void*& valor, UINT& tamanho) {
    const std::wstring c = chave.toStdWString();
    return VerQueryValueW(dados.data(), c.c_str(), &valor, &tamanho) && valor && tamanho > 0;
}

}  // namespace

QString textoArquivo(const QString& arquivo, const QString& nome) {
    std::vector<char> dados = lerRecurso(arquivo);
    void* valor = nullptr;
    UINT tamanho = 0;
    if (!consultar(dados, QStringLiteral("\\VarFileInfo\\Translation"), valor, tamanho) ||
        tamanho < sizeof(DWORD))
        throw erroDe(ERROR_RESOURCE_TYPE_NOT_FOUND,
                     QStringLiteral("sem a entrada \\VarFileInfo\\Translation no recurso de "
                                    "versão"));
    const auto* traducao = static_cast<const WORD*>(valor);
    const QString bloco = QStringLiteral("%1%2")
                              .arg(traducao[0], 4, 16, QLatin1Char('0'))
                              .arg(traducao[1], 4, 16, QLatin1Char('0'))
                              .toUpper();
    if (!consultar(dados, "\\StringFileInfo\\" + bloco + "\\" + nome, valor, tamanho)) return {};
    // The length counts the closing null.
    const auto* texto = static_cast<const wchar_t*>(valor);
    return QString::fromWCharArray(texto, int(wcsnlen(texto, tamanho)));
}

QString VersaoArquivo(const QString& arquivo) {
    try {
        std::vector<char> dados = lerRecurso(arquivo);
        void* valor = nullptr;
        UINT tamanho = 0;
        if (!consultar(dados, QStringLiteral("\\"), valor, tamanho) ||
            tamanho < sizeof(VS_FIXEDFILEINFO))
            return QStringLiteral("0.0.0.0");
        const auto* fixa = static_cast<const VS_FIXEDFILEINFO*>(valor);
        return QStringLiteral("%1.%2.%3.%4")
            .arg(HIWORD(fixa->dwFileVersionMS))
            .arg(LOWORD(fixa->dwFileVersionMS))
            .arg(HIWORD(fixa->dwFileVersionLS))
            .arg(LOWORD(fixa->dwFileVersionLS));
    } catch (const ErroSistemaOperacional&) {
        return QStringLiteral("0.0.0.0");
    }
}
