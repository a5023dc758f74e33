#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "emulator/Controle.h"
#include "emulator/Historico.h"
#include "emulator/Resposta.h"

// What every function does around its own rule: one caller at a time, the
// port, the busy device, the state, the reply delay, the journal and the
// session history.
namespace emulador {

// What a rule leaves for after the device is released: the rest of a reply
// too long to make while others wait, made bit by bit while continuar()
// holds; false when it gave up.
using Continuar = std::function<bool()>;
using Continuacao = std::function<bool(std::string& resposta, const Continuar& continuar)>;
// The rule of a function: its reply; mudou when it changed the state.
using Regra =
    std::function<std::string(const Resposta&, Estado&, bool& mudou, Continuacao& depois)>;
// The call's arguments as the journal shows them, made only when it is on:
// documents are megabytes.
using Argumentos = std::function<std::vector<std::string>()>;

// A function told to answer a null pointer (Estado::falhas) throws this
// instead of a reply.
class SemResposta : public std::exception {};

std::string atender(Controle& controle, const Funcao& funcao, int sessao,
                    const Argumentos& argumentos, const Regra& regra);

// The replies of this process's sessions.
Historico& historico();

}  // namespace emulador
