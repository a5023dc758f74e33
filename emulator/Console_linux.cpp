#include <algorithm>

#include "emulator/Console.h"

namespace emulador::console {

std::vector<std::string> argumentos(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

}  // namespace emulador::console
