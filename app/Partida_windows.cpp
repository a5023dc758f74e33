#include <windows.h>
// windows.h first: the other system headers build on it.
#include <shellapi.h>

#include <cstdio>

#include "app/Partida.h"

namespace partida {

void ligarConsole() {
    // Streams the caller redirected are kept as they are.
    if (GetStdHandle(STD_ERROR_HANDLE) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE* f = nullptr;
    freopen_s(&f, "CONOUT$", "w", stdout);
    freopen_s(&f, "CONOUT$", "w", stderr);
}

QStringList argumentos(int /*argc*/, char** /*argv*/) {
    // argv is the ANSI code page's rendering, which loses what it lacks.
    int n = 0;
    wchar_t** largos = CommandLineToArgvW(GetCommandLineW(), &n);
    QStringList lista;
    for (int i = 0; i < n; ++i) lista << QString::fromWCharArray(largos[i]);
    LocalFree(largos);
    return lista;
}

// A Windows session always has its display.
bool haTela() {
    return true;
}

void telaAberta() {}

}  // namespace partida
