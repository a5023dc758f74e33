#pragma once

#include <string>

#include "emulator/Atendimento.h"
#include "emulator/Estado.h"
#include "emulator/Funcoes.h"
#include "emulator/Resposta.h"

// The rule of each of the fourteen functions, on the state the call pipeline
// read, once it has dealt with the port and the busy device: the reply, and
// mudou set when the state changed.
namespace emulador {

// The largest document each document function takes, in bytes.
inline constexpr std::size_t LimiteCFe = std::size_t(1500) * 1024;
inline constexpr std::size_t LimiteRede = std::size_t(16) * 1024;

class Regras {
  public:
    Regras(const Resposta& resposta, Estado& estado, bool& mudouEstado, Continuacao& continuacao)
        : r(resposta), e(estado), mudou(mudouEstado), depois(continuacao) {}

#define EMULADOR_DECLARAR(nome, codigo, detalhe, parametros, argumentos) \
    std::string nome parametros;
    SAT_FUNCOES(EMULADOR_DECLARAR)
#undef EMULADOR_DECLARAR

  private:
    // The state changed: one more event in the device log.
    void registrarEvento();

    const Resposta& r;
    Estado& e;
    bool& mudou;
    Continuacao& depois;
};

}  // namespace emulador
