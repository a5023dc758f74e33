#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdlib>

#include "emulator/Console.h"
#include "sat/Texto_windows.h"

namespace emulador::console {

namespace {

UINT paginaAnterior = 0;

// The console's own code page again, as the user had it.
void devolverPagina() {
    ::SetConsoleOutputCP(paginaAnterior);
}

}  // namespace

std::vector<std::string> argumentos(int, char**) {
    paginaAnterior = ::GetConsoleOutputCP();
    if (paginaAnterior != 0 && paginaAnterior != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
        std::atexit(devolverPagina);
    int n = 0;
    wchar_t** lista = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    std::vector<std::string> r;
    for (int i = 1; lista && i < n; ++i) r.push_back(sat::utf8(lista[i]));
    ::LocalFree(lista);
    return r;
}

}  // namespace emulador::console
