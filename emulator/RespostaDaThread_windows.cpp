#include <windows.h>

#include <set>

#include "emulator/RespostaDaThread.h"

// Each thread's reply in a slot of the library's own, freed when the thread
// ends (DLL_THREAD_DETACH) and, every one still held, when the library is
// unloaded: a thread that outlives the library runs none of its code.
namespace {

DWORD indice = TLS_OUT_OF_INDEXES;
CRITICAL_SECTION guarda;
std::set<std::string*>* respostas = nullptr;

void liberar(std::string* r) {
    if (!r) return;
    ::EnterCriticalSection(&guarda);
    respostas->erase(r);
    ::LeaveCriticalSection(&guarda);
    delete r;
}

}  // namespace

namespace emulador {

std::string& respostaDaThread() {
    auto* r = static_cast<std::string*>(::TlsGetValue(indice));
    if (!r) {
        r = new std::string;
        ::EnterCriticalSection(&guarda);
        respostas->insert(r);
        ::LeaveCriticalSection(&guarda);
        ::TlsSetValue(indice, r);
    }
    return *r;
}

}  // namespace emulador

// Called by the C runtime's own entry point of the DLL.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD motivo, LPVOID fimDoProcesso);
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD motivo, LPVOID fimDoProcesso) {
    switch (motivo) {
        case DLL_PROCESS_ATTACH:
            indice = ::TlsAlloc();
            if (indice == TLS_OUT_OF_INDEXES) return FALSE;
            ::InitializeCriticalSection(&guarda);
            respostas = new std::set<std::string*>;
            break;
        case DLL_THREAD_DETACH:
            liberar(static_cast<std::string*>(::TlsGetValue(indice)));
            ::TlsSetValue(indice, nullptr);
            break;
        case DLL_PROCESS_DETACH:
            // A process that ends gives everything back at once.
            if (fimDoProcesso) break;
            for (std::string* r : *respostas) delete r;
            delete respostas;
            ::DeleteCriticalSection(&guarda);
            ::TlsFree(indice);
            break;
        default:
            break;
    }
    return TRUE;
}
