#include <windows.h>
// windows.h first: the other system headers build on it.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "auxiliar/Plataforma.h"
#include "sat/Texto_windows.h"

namespace auxiliar {

namespace {

std::string textoDoErro(DWORD codigo) {
    wchar_t* texto = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, codigo, 0, reinterpret_cast<LPWSTR>(&texto), 0, nullptr);
    std::string saida = n ? sat::utf8(texto, int(n)) : std::string();
    LocalFree(texto);
    while (!saida.empty() && (saida.back() == '\n' || saida.back() == '\r')) saida.pop_back();
    return "erro " + std::to_string(codigo) + (saida.empty() ? "" : ": " + saida);
}

// A crash inside the library ends the helper with its exception code, which
// the tool reports, instead of a dialog nobody would answer.
LONG WINAPI terminarComExcecao(EXCEPTION_POINTERS* excecao) {
    TerminateProcess(GetCurrentProcess(), excecao->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

DWORD processoPai() {
    const DWORD eu = GetCurrentProcessId();
    HANDLE lista = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (lista == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W p{};
    p.dwSize = sizeof p;
    DWORD pai = 0;
    for (BOOL ha = Process32FirstW(lista, &p); ha; ha = Process32NextW(lista, &p))
        if (p.th32ProcessID == eu) pai = p.th32ParentProcessID;
    CloseHandle(lista);
    return pai;
}

}  // namespace

Canais prepararCanais() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(terminarComExcecao);
    // A library's DLLs come from its own folder or the system's, never from
    // wherever the helper was started.
    SetDllDirectoryW(L"");
    const int saida = _dup(_fileno(stdout));
    if (saida < 0 || _dup2(_fileno(stderr), _fileno(stdout)) != 0) std::_Exit(2);
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(saida, _O_BINARY);
    return {_fileno(stdin), saida};
}

bool lerTudo(int canal, char* destino, std::size_t tamanho) {
    while (tamanho > 0) {
        const int n = _read(canal, destino, unsigned(std::min<std::size_t>(tamanho, INT_MAX)));
        if (n <= 0) return false;
        destino += n;
        tamanho -= std::size_t(n);
    }
    return true;
}

bool escreverTudo(int canal, const char* origem, std::size_t tamanho) {
    while (tamanho > 0) {
        const int n = _write(canal, origem, unsigned(std::min<std::size_t>(tamanho, INT_MAX)));
        if (n <= 0) return false;
        origem += n;
        tamanho -= std::size_t(n);
    }
    return true;
}

std::string argumento(char** /*argv*/, int i) {
    // argv holds the ANSI code page's rendering, which loses what it lacks.
    int n = 0;
    wchar_t** largos = CommandLineToArgvW(GetCommandLineW(), &n);
    std::string saida = largos && i < n ? sat::utf8(largos[i]) : std::string();
    LocalFree(largos);
    return saida;
}

void vigiarTool(const Canais& /*canais*/) {
    // The tool keeps the helper in a Job object that kills it when the tool
    // ends or gives up; watching the tool's process covers a tool that could
    // not make one.
    HANDLE tool = OpenProcess(SYNCHRONIZE, FALSE, processoPai());
    if (!tool) return;
    std::thread([tool] {
        WaitForSingleObject(tool, INFINITE);
        std::_Exit(0);
    }).detach();
}

std::string Biblioteca::carregar(const std::string& caminho) {
    m_handle = LoadLibraryExW(sat::utf16(caminho).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return m_handle ? std::string() : textoDoErro(GetLastError());
}

void* Biblioteca::funcao(const char* nome) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), nome));
}

std::string Biblioteca::caminhoCarregado(void* /*umaFuncao*/) const {
    std::wstring caminho(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(static_cast<HMODULE>(m_handle), caminho.data(),
                                           DWORD(caminho.size()));
        if (n == 0) return {};
        if (n < caminho.size()) return sat::utf8(caminho.data(), int(n));
        caminho.resize(caminho.size() * 2);
    }
}

}  // namespace auxiliar
