#pragma once

#include <string_view>

// The fourteen functions of the device, written once: name, function code
// (the first digits of every return code), whether the reply carries a detail
// code (CCCC), parameters and the same as arguments.
#define EMULADOR_FUNCOES(X)                                                                      \
    X(ConsultarSAT, 8, false, (int sessao), (sessao))                                            \
    X(ConsultarStatusOperacional, 10, false, (int sessao, const char* codigo), (sessao, codigo)) \
    X(ConsultarNumeroSessao, 11, false, (int sessao, const char* codigo, int consultada),        \
      (sessao, codigo, consultada))                                                              \
    X(AtivarSAT, 4, false,                                                                       \
      (int sessao, int subComando, const char* codigo, const char* cnpj, int uf),                \
      (sessao, subComando, codigo, cnpj, uf))                                                    \
    X(AssociarAssinatura, 13, true,                                                              \
      (int sessao, const char* codigo, const char* cnpjs, const char* assinatura),               \
      (sessao, codigo, cnpjs, assinatura))                                                       \
    X(TesteFimAFim, 9, false, (int sessao, const char* codigo, const char* documento),           \
      (sessao, codigo, documento))                                                               \
    X(EnviarDadosVenda, 6, true, (int sessao, const char* codigo, const char* documento),        \
      (sessao, codigo, documento))                                                               \
    X(CancelarUltimaVenda, 7, true,                                                              \
      (int sessao, const char* codigo, const char* chave, const char* documento),                \
      (sessao, codigo, chave, documento))                                                        \
    X(ConfigurarInterfaceDeRede, 12, false,                                                      \
      (int sessao, const char* codigo, const char* documento), (sessao, codigo, documento))      \
    X(TrocarCodigoDeAtivacao, 18, false,                                                         \
      (int sessao, const char* codigo, int opcao, const char* novo, const char* confirmacao),    \
      (sessao, codigo, opcao, novo, confirmacao))                                                \
    X(ExtrairLogs, 15, false, (int sessao, const char* codigo), (sessao, codigo))                \
    X(AtualizarSoftwareSAT, 14, false, (int sessao, const char* codigo), (sessao, codigo))       \
    X(BloquearSAT, 16, false, (int sessao, const char* codigo), (sessao, codigo))                \
    X(DesbloquearSAT, 17, false, (int sessao, const char* codigo), (sessao, codigo))

namespace emulador {

struct Funcao {
    const char* nome;
    int codigo;
    bool comDetalhe;
};

#define EMULADOR_FUNCAO(nome, codigo, detalhe, parametros, argumentos) {#nome, codigo, detalhe},
inline constexpr Funcao Funcoes[] = {EMULADOR_FUNCOES(EMULADOR_FUNCAO)};
#undef EMULADOR_FUNCAO

// The function of that name, or null.
inline const Funcao* funcaoDe(const char* nome) {
    for (const Funcao& f : Funcoes)
        if (std::string_view(f.nome) == nome) return &f;
    return nullptr;
}

}  // namespace emulador
