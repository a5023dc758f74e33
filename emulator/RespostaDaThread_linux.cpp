#include "emulator/RespostaDaThread.h"

namespace emulador {

std::string& respostaDaThread() {
    thread_local std::string resposta;
    return resposta;
}

}  // namespace emulador
