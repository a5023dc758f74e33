#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/Documentos.h"
#include "emulator/Estado.h"

// What ConsultarStatusOperacional shows of the device.
namespace emulador {

// The network settings the status shows, from the last accepted document.
Rede redeAtual(const Estado& e);
// The reply's fields after mensagemSEFAZ, in their order.
std::vector<std::string> camposStatus(const Estado& e, std::int64_t agoraMs);
// The next software version: "01.00.99" gives "01.01.00".
std::string versaoMaisUm(const std::string& versao);

}  // namespace emulador
