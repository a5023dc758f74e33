#pragma once

#include <cstdint>
#include <string>

#include "emulator/Estado.h"
#include "emulator/Venda.h"
#include "emulator/Xml.h"

// The documents the device signs and returns: access keys, the CF-e of a
// sale or test, the CF-e of a cancellation, the certificate request.
namespace emulador {

// cUF AAMM CNPJ 59 serie nCFe cNF DV: 44 digits.
std::string novaChave(int uf, const std::string& cnpj, const std::string& serie, int numero,
                      std::int64_t ms, int cnf);
// A random cNF for a new key.
int codigoNumerico();

// The signed CF-e the device returns for a sale or a test.
std::string cfeEmitido(const Estado& e, const Venda& v, const std::string& chave, std::int64_t ms,
                       const std::string& qr);
// The signed CF-e of a cancellation; inf is the infCFe of the document sent.
std::string cfeCancelamento(const Estado& e, const std::string& chave,
                            const std::string& chaveVenda, std::int64_t ms, const No& inf,
                            const std::string& qr);
// The Base64 of a PEM certificate request for the taxpayer.
std::string csr(const Estado& e, const std::string& cnpj);

}  // namespace emulador
