#pragma once

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

// The rule of a function: its reply; mudou when it changed the state.
using Regra = std::function<std::string(const Resposta&, Estado&, bool& mudou)>;
// The call's arguments as the journal shows them, made only when it is on:
// documents are megabytes.
using Argumentos = std::function<std::vector<std::string>()>;

std::string atender(Controle& controle, const Funcao& funcao, int sessao,
                    const Argumentos& argumentos, const Regra& regra);

// The replies of this process's sessions.
Historico& historico();

}  // namespace emulador
