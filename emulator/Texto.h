#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Plain-text helpers of the emulated device. Texts inside are UTF-8; the
// library's arguments and replies are Windows-1252, as a device's are.
namespace emulador {

// Windows-1252 bytes (null for empty) as UTF-8.
std::string deWin1252(const char* bytes);
// UTF-8 as Windows-1252; what that code page lacks becomes '?'.
std::string paraWin1252(const std::string& utf8);
bool utf8Valido(const std::string& bytes);
// Characters, not bytes, of a UTF-8 text.
std::size_t caracteres(const std::string& utf8);

std::string aparado(const std::string& s);
std::string maiusculas(std::string s);
std::vector<std::string> partes(const std::string& s, char separador);
bool soDigitos(const std::string& s);
bool comeca(const std::string& s, const std::string& inicio);
// n with zeros on the left up to largura digits.
std::string comZeros(long long n, int largura);
// A whole number of the text, nothing else in it. Both read the C way
// whatever the locale: a Brazilian one takes the comma for the point.
bool inteiro(const std::string& s, long long& n);
bool decimal(const std::string& s, double& d);

// A random whole number from de to ate, both included.
int sorteado(int de, int ate);

std::int64_t agoraMs();
// Local time, in strftime's form ("%Y%m%d%H%M%S" by default).
std::string dataHora(std::int64_t ms, const char* formato = "%Y%m%d%H%M%S");
// The same local time that many years later.
std::int64_t anosDepois(std::int64_t ms, int anos);

}  // namespace emulador
