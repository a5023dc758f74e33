#include "core/UF.h"

#include <array>

namespace {
// IBGE codes in the order of siglasUF().
constexpr std::array<int, 27> CodigosIBGE = {12, 27, 16, 13, 29, 23, 53, 32, 52, 21, 51, 50, 31, 15,
                                             25, 41, 26, 22, 33, 24, 43, 11, 14, 42, 35, 28, 17};
}  // namespace

const QStringList& siglasUF() {
    static const QStringList siglas = {"AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO",
                                       "MA", "MT", "MS", "MG", "PA", "PB", "PR", "PE", "PI",
                                       "RJ", "RN", "RS", "RO", "RR", "SC", "SP", "SE", "TO"};
    return siglas;
}

int codigoUF(int indice) {
    if (indice < 0 || indice >= static_cast<int>(CodigosIBGE.size())) return 35;
    return CodigosIBGE[static_cast<size_t>(indice)];
}
