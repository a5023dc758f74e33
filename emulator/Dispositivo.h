#pragma once

#include <string>

#include "emulator/Controle.h"
#include "emulator/Funcoes.h"

// The emulated device's fourteen functions: arguments as the library gets them
// (Windows-1252 texts, UTF-8 documents, null for empty), replies as the
// Windows-1252 bytes it returns. Each call re-reads the state, since another
// process may have changed it. Calls of one process are served one at a time,
// as the device handles one command at a time: a second caller waits, and past
// a short wait is told the device is busy.
namespace emulador {

class Dispositivo {
  public:
    explicit Dispositivo(const std::string& pasta = Controle::pastaPadrao());

#define EMULADOR_DECLARAR(nome, codigo, detalhe, parametros, argumentos) \
    std::string nome parametros;
    SAT_FUNCOES(EMULADOR_DECLARAR)
#undef EMULADOR_DECLARAR

    // The development signature that development kits accept.
    static const char* const AssinaturaDesenvolvimento;

  private:
    Controle m_controle;
};

}  // namespace emulador
