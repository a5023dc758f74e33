#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What the emulated device checks and makes of texts: identity numbers,
// access keys, the network settings and its log.
namespace emulador {

bool cnpjValido(const std::string& cnpj);
bool cpfValido(const std::string& cpf);
bool ufValida(long long codigoIbge);
// Modulo 11 over the 43 digits, weights 2..9 from the right.
int digitoChave(const std::string& digitos43);
bool chaveValida(const std::string& chave44);
// "CFe" followed by the 44 digits, or the 44 digits alone.
std::string semPrefixo(const std::string& chave);

// Network settings as the device keeps them; IPs zero-padded.
struct Rede {
    std::string tipoInter = "ETHE";
    std::string tipoLan = "DHCP";
    std::string ip, mascara, gateway, dns1, dns2;
    int proxy = 0;
    std::string proxyIp, proxyPorta;
};
// Nothing when the document is malformed or a required value is missing.
std::optional<Rede> lerRede(const std::string& xml);
// "192.168.1.10" to "192.168.001.010"; nothing when it is no address, blanks
// a masked field leaves included.
std::optional<std::string> ipPreenchido(const std::string& ip);

// The device log: lines "AAAAMMDDhhmmss|SAT|info|..." one second apart, the
// last one at fimMs, cut at exactly that many bytes; the same size and end
// always give the same text.
std::string textoLog(std::int64_t tamanho, std::int64_t fimMs);
// The same log in Base64, added to saida bit by bit while continuar() holds;
// false when it gave up.
bool logEmBase64(std::int64_t tamanho, std::int64_t fimMs, std::string& saida,
                 const std::function<bool()>& continuar);
inline constexpr int TamanhoLinhaLog = 64;

// 344 Base64 characters derived from the text, as a signature would look.
std::string assinaturaFalsa(const std::string& semente);

}  // namespace emulador
