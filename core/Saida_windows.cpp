#include <windows.h>
// windows.h first: io.h's handles build on it.
#include <io.h>

#include "core/Saida.h"

void escreverTexto(std::FILE* saida, const QString& texto) {
    std::fflush(saida);
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(saida)));
    DWORD modo = 0;
    if (h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &modo)) {
        const std::wstring largo = texto.toStdWString();
        DWORD escritos = 0;
        WriteConsoleW(h, largo.c_str(), DWORD(largo.size()), &escritos, nullptr);
        return;
    }
    std::fputs(texto.toUtf8().constData(), saida);
    std::fflush(saida);
}
