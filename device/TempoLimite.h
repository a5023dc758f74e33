#pragma once

#include <QString>
#include <optional>

#include "sat/FuncoesSat.h"

// How long each function may keep the library busy before the tool gives it
// up: from what the call does on the device, a status query seconds, an
// activation or an update minutes.
int tempoLimitePadrao(sat::Funcao funcao);

// SAT_TEMPO_LIMITE, in whole seconds, for every function: a slow device or a
// test. Nothing when unset; a value that is not a positive number of seconds
// is refused with the text in erro.
std::optional<int> tempoLimiteDoAmbiente(QString* erro);

// Whether a call whose outcome is unknown may have changed the device.
bool mudaDispositivo(sat::Funcao funcao);
