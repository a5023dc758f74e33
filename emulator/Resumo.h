#pragma once

#include <string>

// The digests and encoding the device's made-up signatures need.
namespace emulador {

// The 32 bytes of the SHA-256 digest.
std::string sha256(const std::string& dados);
std::string base64(const std::string& dados);

}  // namespace emulador
