// The device library's exported functions, by their plain C names.
#include <string>

#include "emulator/Atendimento.h"
#include "emulator/Dispositivo.h"
#include "emulator/RespostaDaThread.h"

// The version information the tool reads from the file is the system's own:
// VersaoArquivo_linux.cpp (an ELF section), VersaoArquivo_windows.rc (the
// version resource).

namespace {

template <typename F>
const char* responder(F chamada) {
    std::string& resposta = emulador::respostaDaThread();
    try {
        emulador::Dispositivo dispositivo;
        resposta = chamada(dispositivo);
    } catch (const emulador::SemResposta&) {
        return nullptr;
    } catch (...) {
        resposta = "0|99999|Erro desconhecido||";
    }
    return resposta.c_str();
}

}  // namespace

// Declared first: the exported names have no header of their own. The
// convention is the standard's (__stdcall on 32-bit Windows, sat/FuncoesSat.h).
#define EMULADOR_EXPORTAR(nome, codigo, detalhe, parametros, argumentos) \
    SAT_EXPORTA const char* SAT_CHAMADA nome parametros;                 \
    SAT_EXPORTA const char* SAT_CHAMADA nome parametros {                \
        return responder([&](auto& d) { return d.nome argumentos; });    \
    }
SAT_FUNCOES(EMULADOR_EXPORTAR)
