#include "emulator/Documentos.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "emulator/Resumo.h"
#include "emulator/Sistema.h"
#include "emulator/Texto.h"
#include "emulator/Xml.h"

namespace emulador {

namespace {

int numeral(char c) {
    return c - '0';
}

// Modulo 11 check digit of the first n digits, with these weights.
int digitoModulo11(const std::string& s, int n, const int* pesos) {
    int soma = 0;
    for (int i = 0; i < n; ++i) soma += numeral(s[i]) * pesos[i];
    const int r = soma % 11;
    return r < 2 ? 0 : 11 - r;
}

}  // namespace

bool cnpjValido(const std::string& cnpj) {
    if (cnpj.size() != 14 || !soDigitos(cnpj)) return false;
    static const int pesos[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    return digitoModulo11(cnpj, 12, pesos + 1) == numeral(cnpj[12]) &&
           digitoModulo11(cnpj, 13, pesos) == numeral(cnpj[13]);
}

bool cpfValido(const std::string& cpf) {
    if (cpf.size() != 11 || !soDigitos(cpf)) return false;
    static const int pesos[] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    return digitoModulo11(cpf, 9, pesos + 1) == numeral(cpf[9]) &&
           digitoModulo11(cpf, 10, pesos) == numeral(cpf[10]);
}

bool ufValida(long long c) {
    static const int codigos[] = {11, 12, 13, 14, 15, 16, 17, 21, 22, 23, 24, 25, 26, 27,
                                  28, 29, 31, 32, 33, 35, 41, 42, 43, 50, 51, 52, 53};
    for (int v : codigos)
        if (v == c) return true;
    return false;
}

int digitoChave(const std::string& digitos43) {
    int soma = 0, peso = 2;
    for (auto i = digitos43.size(); i-- > 0;) {
        soma += numeral(digitos43[i]) * peso;
        peso = peso == 9 ? 2 : peso + 1;
    }
    const int dv = 11 - soma % 11;
    return dv >= 10 ? 0 : dv;
}

bool chaveValida(const std::string& chave) {
    return chave.size() == 44 && soDigitos(chave) &&
           digitoChave(chave.substr(0, 43)) == numeral(chave[43]);
}

std::string semPrefixo(const std::string& chave) {
    return comeca(chave, "CFe") ? chave.substr(3) : chave;
}

std::optional<std::string> ipPreenchido(const std::string& ip) {
    const auto numeros = partes(ip, '.');
    if (numeros.size() != 4) return std::nullopt;
    std::string saida;
    for (const std::string& p : numeros) {
        long long n = 0;
        if (p.empty() || p.size() > 3 || !soDigitos(p) || !inteiro(p, n) || n > 255)
            return std::nullopt;
        saida += (saida.empty() ? "" : ".") + comZeros(n, 3);
    }
    return saida;
}

namespace {

// The values of the fixed-address mode, or false when one is missing or wrong.
bool lerIpFixo(const No& raiz, Rede& r) {
    const auto ip = ipPreenchido(raiz.valor("lanIP"));
    const auto mascara = ipPreenchido(raiz.valor("lanMask"));
    const auto gateway = ipPreenchido(raiz.valor("lanGW"));
    if (!ip || !mascara || !gateway) return false;
    r.ip = *ip;
    r.mascara = *mascara;
    r.gateway = *gateway;
    for (auto [tag, destino] : {std::pair{"lanDNS1", &r.dns1}, std::pair{"lanDNS2", &r.dns2}}) {
        const std::string v = raiz.valor(tag);
        if (v.empty()) continue;
        const auto dns = ipPreenchido(v);
        if (!dns) return false;
        *destino = *dns;
    }
    return true;
}

bool lerProxy(const No& raiz, Rede& r) {
    const std::string proxy = raiz.valor("proxy");
    if (!proxy.empty()) {
        if (proxy != "0" && proxy != "1" && proxy != "2") return false;
        r.proxy = numeral(proxy[0]);
    }
    if (r.proxy != 1) return true;
    const auto ip = ipPreenchido(raiz.valor("proxy_ip"));
    long long porta = 0;
    if (!ip || !inteiro(raiz.valor("proxy_porta"), porta) || porta < 0 || porta > 65535)
        return false;
    r.proxyIp = *ip;
    r.proxyPorta = std::to_string(porta);
    return true;
}

}  // namespace

std::optional<Rede> lerRede(const std::string& xml) {
    const auto raiz = lerXml(xml);
    if (!raiz || raiz->nome != "config") return std::nullopt;
    Rede r;
    r.tipoInter = maiusculas(raiz->valor("tipoInter"));
    if (r.tipoInter != "ETHE" && r.tipoInter != "WIFI") return std::nullopt;
    if (r.tipoInter == "WIFI" && raiz->valor("SSID").empty()) return std::nullopt;
    r.tipoLan = maiusculas(raiz->valor("tipoLan"));
    if (r.tipoLan == "IPFIX") {
        if (!lerIpFixo(*raiz, r)) return std::nullopt;
    } else if (r.tipoLan == "PPPOE") {
        if (raiz->valor("usuario").empty() || raiz->valor("senha").empty()) return std::nullopt;
        r.tipoLan = "PPPoE";
    } else if (r.tipoLan != "DHCP") {
        return std::nullopt;
    }
    if (!lerProxy(*raiz, r)) return std::nullopt;
    return r;
}

namespace {

// Lines de to ate (excluded) of a log of that many lines, one second apart and
// the last one at fimMs.
void escreverLinhas(char* destino, std::int64_t de, std::int64_t ate, std::int64_t linhas,
                    std::int64_t fimMs) {
    std::time_t segundo = std::time_t(fimMs / 1000 - (linhas - 1) + de);
    std::tm local = sistema::horaLocal(segundo);
    for (std::int64_t i = de; i < ate; ++i, destino += TamanhoLinhaLog, ++segundo) {
        // The local time again only when the minute turns: logs are millions of lines.
        if (i > de && local.tm_sec >= 59)
            local = sistema::horaLocal(segundo);
        else if (i > de)
            ++local.tm_sec;
        const int n = std::snprintf(
            destino, TamanhoLinhaLog, "%04d%02d%02d%02d%02d%02d|SAT|info|Evento %08lld",
            local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
            local.tm_sec, static_cast<long long>(i % 100000000));
        destino[n] = '.';  // over the terminating zero
        destino[TamanhoLinhaLog - 1] = '\n';
    }
}

std::int64_t linhasDe(std::int64_t tamanho) {
    return (tamanho + TamanhoLinhaLog - 1) / TamanhoLinhaLog;
}

}  // namespace

std::string textoLog(std::int64_t tamanho, std::int64_t fimMs) {
    if (tamanho <= 0) return {};
    const std::int64_t linhas = linhasDe(tamanho);
    std::string texto(linhas * TamanhoLinhaLog, '.');
    escreverLinhas(texto.data(), 0, linhas, linhas, fimMs);
    texto.resize(tamanho);
    return texto;
}

bool logEmBase64(std::int64_t tamanho, std::int64_t fimMs, std::string& saida,
                 const std::function<bool()>& continuar) {
    // Blocks of a multiple of 3 bytes encode to whole groups, with no padding
    // but at the very end.
    constexpr std::int64_t LinhasPorBloco = std::int64_t(3) * 1024;
    const std::int64_t linhas = linhasDe(std::max<std::int64_t>(tamanho, 0));
    std::string bloco(LinhasPorBloco * TamanhoLinhaLog, '.');
    saida.reserve(saida.size() + std::size_t(linhas * TamanhoLinhaLog / 3 * 4 + 4));
    for (std::int64_t de = 0; de < linhas; de += LinhasPorBloco) {
        if (!continuar()) return false;
        const std::int64_t ate = std::min(linhas, de + LinhasPorBloco);
        escreverLinhas(bloco.data(), de, ate, linhas, fimMs);
        const std::int64_t bytes = std::min(tamanho, ate * TamanhoLinhaLog) - de * TamanhoLinhaLog;
        saida += base64(bloco.substr(0, std::size_t(bytes)));
    }
    return true;
}

std::string assinaturaFalsa(const std::string& semente) {
    std::string bytes;
    std::string bloco = semente;
    while (bytes.size() < 256) {
        bloco = sha256(bloco);
        bytes += bloco;
    }
    return base64(bytes.substr(0, 256));
}

}  // namespace emulador
