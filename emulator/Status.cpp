#include "emulator/Status.h"

#include <algorithm>
#include <cstdio>

#include "emulator/Texto.h"

namespace emulador {

Rede redeAtual(const Estado& e) {
    Rede r;
    if (!e.redeXml.empty()) r = lerRede(e.redeXml).value_or(Rede{});
    if (r.tipoLan == "IPFIX") {
        if (r.dns1.empty()) r.dns1 = "000.000.000.000";
        if (r.dns2.empty()) r.dns2 = "000.000.000.000";
        return r;
    }
    // An address from the network's server, the same for the same device.
    long long final = 0;
    inteiro(e.serie.substr(e.serie.size() - 2), final);
    r.ip = "192.168.001." + comZeros(100 + final, 3);
    r.mascara = "255.255.255.000";
    r.gateway = "192.168.001.001";
    r.dns1 = "192.168.001.001";
    r.dns2 = "008.008.008.008";
    return r;
}

namespace {

std::string mac(const std::string& serie) {
    long long n = 0;
    inteiro(serie, n);
    char texto[32];
    std::snprintf(texto, sizeof texto, "00:07:25:%02llx:%02llx:%02llx", (n >> 16) & 0xFF,
                  (n >> 8) & 0xFF, n & 0xFF);
    return texto;
}

}  // namespace

std::vector<std::string> camposStatus(const Estado& e, std::int64_t agora) {
    const Rede rede = redeAtual(e);
    const std::string zeros = e.ultimoCFe.empty() ? "" : std::string(44, '0');
    // Clients insist on valid dates: before its activation the device holds the
    // certificate it would get that day.
    const std::int64_t emissao = e.ativado ? e.ativadoEmMs : agora;
    return {
        e.serie,
        rede.tipoLan,
        rede.ip,
        mac(e.serie),
        rede.mascara,
        rede.gateway,
        rede.dns1,
        rede.dns2,
        "CONECTADO",
        "ALTO",
        "4 GB",
        std::to_string(e.numeroCFe * 8) + " KB",
        dataHora(agora),
        e.versaoSoftware,
        e.versaoLayout,
        e.ultimoCFe,
        zeros,
        zeros,
        e.ultimoCFeMs ? dataHora(e.ultimoCFeMs) : "",
        dataHora(agora),
        dataHora(emissao, "%Y%m%d"),
        dataHora(anosDepois(emissao, 5), "%Y%m%d"),
        e.bloqueado ? "2" : "0",
    };
}

std::string versaoMaisUm(const std::string& versao) {
    std::vector<std::string> numeros = partes(versao, '.');
    for (std::size_t i = numeros.size(); i-- > 0;) {
        long long n = 0;
        inteiro(numeros[i], n);
        const int largura = std::max<int>(2, int(numeros[i].size()));
        if (n + 1 < 100 || i == 0) {
            numeros[i] = comZeros(n + 1, largura);
            std::string v = numeros[0];
            for (std::size_t k = 1; k < numeros.size(); ++k) v += '.' + numeros[k];
            return v;
        }
        numeros[i] = comZeros(0, largura);
    }
    return versao;
}

}  // namespace emulador
