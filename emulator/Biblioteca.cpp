// The device library's exported functions, by their plain C names.
#include <string>

#include "emulator/Atendimento.h"
#include "emulator/Dispositivo.h"

#define EXPORTA extern "C" __attribute__((visibility("default")))

// The version information the tool reads from the file: the maker's name and
// the file version, in the form the tool's reader documents. SpecialBuild
// ("how this build differs from the standard one") tells the tool, and anyone
// running `readelf -p .versioninfo`, that this is no device.
__attribute__((section(".versioninfo"), used)) static const char VersaoArquivo[] =
    "\\=1,0,2,15\n"
    "\\VarFileInfo\\Translation=0416 04E4\n"
    "\\StringFileInfo\\041604E4\\CompanyName=Tivoro Telecomunicacoes e Informatica S/A\n"
    "\\StringFileInfo\\041604E4\\FileDescription=Biblioteca do SAT KT-470e (emulador)\n"
    "\\StringFileInfo\\041604E4\\FileVersion=1.0.2.15\n"
    "\\StringFileInfo\\041604E4\\ProductName=SAT KT-470e\n"
    "\\StringFileInfo\\041604E4\\ProductVersion=1.0.2.15\n"
    "\\StringFileInfo\\041604E4\\SpecialBuild=SAT EMULADO\n";

namespace {

// Valid until the calling thread's next call, as the callers expect.
thread_local std::string resposta;

template <typename F>
const char* responder(F chamada) {
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

// Declared first: the exported names have no header of their own.
#define EMULADOR_EXPORTAR(nome, codigo, detalhe, parametros, argumentos) \
    EXPORTA const char* nome parametros;                                 \
    EXPORTA const char* nome parametros {                                \
        return responder([&](auto& d) { return d.nome argumentos; });    \
    }
SAT_FUNCOES(EMULADOR_EXPORTAR)
