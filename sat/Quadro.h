#pragma once

// The frames between the tool and the helper program that hosts the device
// library: a 4-byte little-endian length, then that many bytes. Arguments and
// replies are bytes, so Windows-1252 texts pass untouched. Plain C++, no
// platform: both ends of the pipe share it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sat/FuncoesSat.h"

namespace sat {

// The longest reply the helper hands over: an 8 MiB device log is about
// 11 MiB of Base64, so real replies stay far below it.
inline constexpr std::uint32_t LimiteResposta = 32u << 20;
// No request comes near it: documents are bounded at 1.5 MB by the device.
inline constexpr std::uint32_t LimitePedido = 16u << 20;

// One argument: an int, or a text that may be null.
struct Argumento {
    bool texto = false;
    int inteiro = 0;
    bool nulo = false;
    std::string bytes;

    static Argumento deInteiro(int valor);
    static Argumento deTexto(std::string valor, bool nulo);
};

struct Pedido {
    Funcao funcao;
    std::vector<Argumento> argumentos;
};

// What the helper answers: once when it starts (Pronta with the file it
// loaded, or a refusal), then once per request.
enum class TipoResposta : std::uint8_t {
    Texto,       // the reply's bytes
    Nula,        // the library returned NULL
    Grande,      // a reply over LimiteResposta; bytes hold its size in decimal
    Pronta,      // the library is loaded; bytes hold its path
    NaoCarrega,  // the library cannot be loaded; bytes hold why
    SemFuncao,   // a function is missing; bytes hold its name
    Invalido,    // a request the helper cannot read
};

struct Resposta {
    TipoResposta tipo;
    std::string bytes;
};

// A whole frame, length included.
std::string quadro(const Pedido& pedido);
std::string quadro(TipoResposta tipo, const char* bytes, std::size_t tamanho);
// The length at the start of a frame.
std::uint32_t tamanhoDoQuadro(const unsigned char cabecalho[4]);
// A frame's content, without its length; nothing when it is malformed or
// does not fit the function's parameters.
std::optional<Pedido> lerPedido(const std::string& conteudo);
std::optional<Resposta> lerResposta(std::string conteudo);

}  // namespace sat
