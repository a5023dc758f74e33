#ifndef SAT_FUNCOES_SAT_H
#define SAT_FUNCOES_SAT_H

/* The fourteen functions of the device library, written once for everyone
 * who declares, exports, forwards or calls them: the tool's binding, the
 * helper program that hosts the library, the emulated device and the tests'
 * stand-in. Plain preprocessor text, so C reads it too.
 *
 * X(name, function code (the first digits of every return code), whether the
 *   reply carries a detail code (CCCC), parameters, the same as arguments)
 *
 * Parameters are int or const char* only: the helper's frames carry nothing
 * else. */

/* How the library is called: 32-bit Windows libraries use the platform's
 * standard convention, everywhere else the C one. A library exports the
 * plain names (SAT_EXPORTA; 32-bit Windows builds link with --kill-at, so
 * no @N decoration is left). */
#if defined(_WIN32) && !defined(_WIN64)
#define SAT_CHAMADA __stdcall
#else
#define SAT_CHAMADA
#endif
#ifdef _WIN32
#define SAT_EXPORTA extern "C" __declspec(dllexport)
#else
#define SAT_EXPORTA extern "C" __attribute__((visibility("default")))
#endif
#define SAT_FUNCOES(X)                                                                             \
    X(ConsultarSAT, 8, 0, (int sessao), (sessao))                                                  \
    X(ConsultarStatusOperacional, 10, 0, (int sessao, const char* codigo), (sessao, codigo))       \
    X(ConsultarNumeroSessao, 11, 0, (int sessao, const char* codigo, int consultada),              \
      (sessao, codigo, consultada))                                                                \
    X(AtivarSAT, 4, 0, (int sessao, int subComando, const char* codigo, const char* cnpj, int uf), \
      (sessao, subComando, codigo, cnpj, uf))                                                      \
    X(AssociarAssinatura, 13, 1,                                                                   \
      (int sessao, const char* codigo, const char* cnpjs, const char* assinatura),                 \
      (sessao, codigo, cnpjs, assinatura))                                                         \
    X(TesteFimAFim, 9, 0, (int sessao, const char* codigo, const char* documento),                 \
      (sessao, codigo, documento))                                                                 \
    X(EnviarDadosVenda, 6, 1, (int sessao, const char* codigo, const char* documento),             \
      (sessao, codigo, documento))                                                                 \
    X(CancelarUltimaVenda, 7, 1,                                                                   \
      (int sessao, const char* codigo, const char* chave, const char* documento),                  \
      (sessao, codigo, chave, documento))                                                          \
    X(ConfigurarInterfaceDeRede, 12, 0, (int sessao, const char* codigo, const char* documento),   \
      (sessao, codigo, documento))                                                                 \
    X(TrocarCodigoDeAtivacao, 18, 0,                                                               \
      (int sessao, const char* codigo, int opcao, const char* novo, const char* confirmacao),      \
      (sessao, codigo, opcao, novo, confirmacao))                                                  \
    X(ExtrairLogs, 15, 0, (int sessao, const char* codigo), (sessao, codigo))                      \
    X(AtualizarSoftwareSAT, 14, 0, (int sessao, const char* codigo), (sessao, codigo))             \
    X(BloquearSAT, 16, 0, (int sessao, const char* codigo), (sessao, codigo))                      \
    X(DesbloquearSAT, 17, 0, (int sessao, const char* codigo), (sessao, codigo))

#ifdef __cplusplus

#include <cstddef>
#include <string_view>

namespace sat {

// The functions by their place in the list: the helper's frames name a
// function by this number.
enum class Funcao : unsigned char {
#define SAT_ENUMERAR(nome, codigo, detalhe, parametros, argumentos) nome,
    SAT_FUNCOES(SAT_ENUMERAR)
#undef SAT_ENUMERAR
};

struct InfoFuncao {
    const char* nome;
    int codigo;
    bool comDetalhe;
};

#define SAT_INFO(nome, codigo, detalhe, parametros, argumentos) {#nome, codigo, (detalhe) != 0},
inline constexpr InfoFuncao Funcoes[] = {SAT_FUNCOES(SAT_INFO)};
#undef SAT_INFO
inline constexpr std::size_t NumeroFuncoes = sizeof(Funcoes) / sizeof(Funcoes[0]);

inline const InfoFuncao& info(Funcao f) {
    return Funcoes[static_cast<std::size_t>(f)];
}

// Each function's type, as the library exports it; the parameters come in
// their own parentheses.
#define SAT_TIPO(nome, codigo, detalhe, parametros, argumentos) \
    using Tipo##nome = const char* SAT_CHAMADA parametros;  // NOLINT(bugprone-macro-parentheses)
SAT_FUNCOES(SAT_TIPO)
#undef SAT_TIPO

}  // namespace sat

#endif
#endif
