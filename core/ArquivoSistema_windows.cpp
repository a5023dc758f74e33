#include <windows.h>

#include <QDir>
#include <algorithm>

#include "core/ArquivoSistema.h"

const QString ArquivoSistema::NaoComum = QStringLiteral("não é um arquivo comum");

namespace {
HANDLE nativo(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);  // NOLINT(performance-no-int-to-ptr)
}
}  // namespace

ArquivoSistema::~ArquivoSistema() {
    if (m_nativo != -1) CloseHandle(nativo(m_nativo));
}

void ArquivoSistema::lembrarErro() {
    m_erro = qt_error_string(int(GetLastError()));
}

// A reparse point (a link) is opened as itself, never followed, and then
// refused; so are pipes and devices (CON, COM1, ...), which are not disk
// files.
bool ArquivoSistema::abrir(const QString& caminho, Modo modo) {
    const std::wstring nome = QDir::toNativeSeparators(caminho).toStdWString();
    const bool ler = modo == Modo::Ler;
    HANDLE h = CreateFileW(nome.c_str(), ler ? GENERIC_READ : GENERIC_WRITE,
                           FILE_SHARE_READ | (ler ? FILE_SHARE_WRITE : 0), nullptr,
                           ler ? OPEN_EXISTING : OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        lembrarErro();
        return false;
    }
    m_nativo = reinterpret_cast<std::intptr_t>(h);
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER tamanho{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        !GetFileSizeEx(h, &tamanho)) {
        m_erro = NaoComum;
        return false;
    }
    m_tamanho = tamanho.QuadPart;
    // Appending: from the end, where truncar() can also take it back.
    return ler || SetFilePointerEx(h, LARGE_INTEGER{}, nullptr, FILE_END);
}

qint64 ArquivoSistema::ler(char* destino, qint64 maximo) {
    DWORD lidos = 0;
    const DWORD parte = DWORD(std::min<qint64>(maximo, 1 << 30));
    if (ReadFile(nativo(m_nativo), destino, parte, &lidos, nullptr)) return lidos;
    lembrarErro();
    return -1;
}

bool ArquivoSistema::gravarTudo(const char* origem, qint64 tamanho) {
    qint64 gravados = 0;
    while (gravados < tamanho) {
        DWORD n = 0;
        const DWORD parte = DWORD(std::min<qint64>(tamanho - gravados, 1 << 30));
        if (!WriteFile(nativo(m_nativo), origem + gravados, parte, &n, nullptr)) {
            lembrarErro();
            return false;
        }
        gravados += n;
    }
    if (FlushFileBuffers(nativo(m_nativo))) return true;
    lembrarErro();
    return false;
}

bool ArquivoSistema::truncar(qint64 tamanho) {
    LARGE_INTEGER fim{};
    fim.QuadPart = tamanho;
    return SetFilePointerEx(nativo(m_nativo), fim, nullptr, FILE_BEGIN) &&
           SetEndOfFile(nativo(m_nativo));
}
