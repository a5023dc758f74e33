#pragma once

#include <string_view>

#include "sat/FuncoesSat.h"

namespace emulador {

// Name, function code and whether the reply carries a detail code.
using Funcao = sat::InfoFuncao;
using sat::Funcoes;

// The function of that name, or null.
inline const Funcao* funcaoDe(const char* nome) {
    for (const Funcao& f : Funcoes)
        if (std::string_view(f.nome) == nome) return &f;
    return nullptr;
}

}  // namespace emulador
