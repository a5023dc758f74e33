#pragma once

// Calling a library function with arguments that arrived as a list: the
// helper program does it for the tool, and so does the tests' in-process
// stand-in for the binding.

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "sat/Quadro.h"

namespace sat {

template <typename T>
struct Assinatura;

// In the library's own convention (SAT_CHAMADA: __stdcall on 32-bit Windows).
template <typename... P>
struct Assinatura<const char * SAT_CHAMADA(P...)> {
    using Ponteiro = const char*(SAT_CHAMADA*)(P...);

    // The arguments are as many, and of the kinds, the function takes.
    static bool confere(const std::vector<Argumento>& a) {
        return a.size() == sizeof...(P) && confereCada(a, std::index_sequence_for<P...>{});
    }

    static const char* chamar(Ponteiro f, const std::vector<Argumento>& a) {
        return chamarCom(f, a, std::index_sequence_for<P...>{});
    }

  private:
    template <typename T>
    static bool ehDoTipo(const Argumento& a) {
        static_assert(std::is_same_v<T, int> || std::is_same_v<T, const char*>);
        return a.texto == std::is_same_v<T, const char*>;
    }
    static int valor(const Argumento& a, int* /*tipo*/) { return a.inteiro; }
    static const char* valor(const Argumento& a, const char** /*tipo*/) {
        return a.nulo ? nullptr : a.bytes.c_str();
    }

    template <std::size_t... I>
    static bool confereCada(const std::vector<Argumento>& a, std::index_sequence<I...> /*i*/) {
        return (ehDoTipo<P>(a[I]) && ...);
    }
    template <std::size_t... I>
    static const char* chamarCom(Ponteiro f, const std::vector<Argumento>& a,
                                 std::index_sequence<I...> /*i*/) {
        return f(valor(a[I], static_cast<P*>(nullptr))...);
    }
};

// Whether these arguments fit that function.
bool confere(Funcao funcao, const std::vector<Argumento>& argumentos);

// The library's fourteen functions by their place in the list.
struct TabelaFuncoes {
// A name, not an expression: it takes no parentheses.
#define SAT_PONTEIRO(nome, codigo, detalhe, parametros, argumentos) \
    Tipo##nome* nome = nullptr;  // NOLINT(bugprone-macro-parentheses)
    SAT_FUNCOES(SAT_PONTEIRO)
#undef SAT_PONTEIRO

    // Looks up every function through buscar(name), which gives its address
    // or null; the name of the first one missing, or null.
    template <typename Buscar>
    const char* resolver(Buscar buscar) {
#define SAT_RESOLVER(nome, codigo, detalhe, parametros, argumentos)   \
    nome = reinterpret_cast<Tipo##nome*>(buscar(#nome)); /* NOLINT */ \
    if (!(nome)) return #nome;
        SAT_FUNCOES(SAT_RESOLVER)
#undef SAT_RESOLVER
        return nullptr;
    }

    // The reply of the call; the arguments must fit (confere).
    const char* chamar(const Pedido& pedido) const;
};

}  // namespace sat
