#pragma once

// The emulated device's version, as its library's version information gives it.
namespace emulador {
inline constexpr const char* Versao = "1.0.2.15";
}
