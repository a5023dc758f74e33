#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "emulator/Xml.h"

// A sale as the device computes it from the document it is sent.
namespace emulador {

struct Item {
    const No* no;
    std::int64_t vProd = 0, vItem = 0;
};

struct Venda {
    int cccc = 0;  // 0 when the sale is valid, else the first fault's detail code
    std::string cnpjSoftwareHouse, signAC, numeroCaixa, cnpjEmitente, ieEmitente, versaoDadosEnt;
    std::string destCnpj, destCpf;
    std::vector<Item> itens;
    std::vector<std::pair<std::string, std::int64_t>> pagamentos;
    std::int64_t total = 0, pago = 0;  // cents
};

// The items point into the document, which must outlive the sale.
Venda calcular(const No& cfe);
// A sale whose document could not be read.
Venda malformada();
// Cents as the device writes amounts: "12.05".
std::string valor(std::int64_t centavos);

}  // namespace emulador
