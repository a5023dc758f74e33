#include "emulator/Dispositivo.h"

#include "emulator/Atendimento.h"
#include "emulator/Regras.h"

namespace emulador {

const char* const Dispositivo::AssinaturaDesenvolvimento =
    "SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT";

namespace {

// The arguments as the journal shows them: texts as their bytes.
std::string paraTexto(int n) {
    return std::to_string(n);
}
std::string paraTexto(const char* bytes) {
    return bytes ? bytes : "";
}
template <typename... A>
std::vector<std::string> textos(A... argumentos) {
    return {paraTexto(argumentos)...};
}

}  // namespace

Dispositivo::Dispositivo(const std::string& pasta) : m_controle(pasta) {}

#define EMULADOR_DEFINIR(nome, codigo, detalhe, parametros, argumentos)              \
    std::string Dispositivo::nome parametros {                                       \
        return atender(                                                              \
            m_controle, *funcaoDe(#nome), sessao, [&] { return textos argumentos; }, \
            [&](const Resposta& r, Estado& e, bool& mudou, Continuacao& depois) {    \
                return Regras(r, e, mudou, depois).nome argumentos;                  \
            });                                                                      \
    }
SAT_FUNCOES(EMULADOR_DEFINIR)
#undef EMULADOR_DEFINIR

}  // namespace emulador
