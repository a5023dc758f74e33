#include "operations/ConverBase64.h"

#include <QtEndian>
#include <array>
#include <cstdint>
#include <cstring>

namespace {
// An invalid character sets bits above the 24 of a group.
constexpr std::uint32_t Invalido = 0xFF000000;

using Tabela = std::array<std::uint32_t, 256>;

// One table per place in a group of four, each digit already shifted to its
// place: a group is four look-ups joined.
constexpr std::array<Tabela, 4> montarTabelas() {
    std::array<Tabela, 4> t{};
    for (Tabela& tabela : t)
        for (std::uint32_t& v : tabela) v = Invalido;
    auto definir = [&t](unsigned char c, std::uint32_t digito) {
        for (int lugar = 0; lugar < 4; ++lugar) t[lugar][c] = digito << (18 - 6 * lugar);
    };
    for (std::uint32_t i = 0; i < 26; ++i) {
        definir(static_cast<unsigned char>('A' + i), i);
        definir(static_cast<unsigned char>('a' + i), 26 + i);
    }
    for (std::uint32_t i = 0; i < 10; ++i) definir(static_cast<unsigned char>('0' + i), 52 + i);
    definir('+', 62);
    definir('/', 63);
    return t;
}
constexpr std::array<Tabela, 4> Tabelas = montarTabelas();

// The low byte indexes the tables; a UTF-16 unit above 255 is no digit.
inline unsigned char baixo(char c) {
    return static_cast<unsigned char>(c);
}
inline unsigned char baixo(QChar c) {
    return static_cast<unsigned char>(c.unicode());
}
inline std::uint32_t alto(char) {
    return 0;
}
inline std::uint32_t alto(QChar c) {
    return c.unicode() >> 8;
}
inline bool igual(char c) {
    return c == '=';
}
inline bool igual(QChar c) {
    return c == QLatin1Char('=');
}

// The digit alone, above 63 when the character is none.
template <typename Caractere>
std::uint32_t digito(Caractere c) {
    return alto(c) ? Invalido : Tabelas[3][baixo(c)];
}

// The 24 bits of a group, with bits above them when any character is no digit.
template <typename Caractere>
std::uint32_t grupo(const Caractere* p) {
    const std::uint32_t altos = alto(p[0]) | alto(p[1]) | alto(p[2]) | alto(p[3]);
    return Tabelas[0][baixo(p[0])] | Tabelas[1][baixo(p[1])] | Tabelas[2][baixo(p[2])] |
           Tabelas[3][baixo(p[3])] | altos << 24;
}

template <typename Caractere>
QByteArray decodificar(const Caractere* p, qsizetype tamanho) {
    if (tamanho == 0 || tamanho % 4 != 0) return {};
    qsizetype saida = tamanho / 4 * 3;
    if (igual(p[tamanho - 2]))
        saida -= 2;
    else if (igual(p[tamanho - 1]))
        saida -= 1;
    QByteArray resultado(saida, Qt::Uninitialized);
    auto* o = reinterpret_cast<std::uint8_t*>(resultado.data());
    const Caractere* const ultimo = p + tamanho - 4;
    // Faults are gathered and judged once: the result is dropped whole anyway.
    std::uint32_t faltas = 0;
    for (; p < ultimo; p += 4, o += 3) {
        const std::uint32_t g = grupo(p);
        faltas |= g;
        // Four bytes at once; the fourth is overwritten by the next group.
        const std::uint32_t bytes = qToBigEndian(g << 8);
        std::memcpy(o, &bytes, sizeof bytes);
    }
    const std::uint32_t d1 = digito(p[0]), d2 = digito(p[1]);
    if ((faltas & Invalido) || ((d1 | d2) > 63)) return {};
    o[0] = static_cast<std::uint8_t>(d1 << 2 | d2 >> 4);
    if (igual(p[2])) return resultado;
    const std::uint32_t d3 = digito(p[2]);
    if (d3 > 63) return {};
    o[1] = static_cast<std::uint8_t>((d2 & 15) << 4 | d3 >> 2);
    if (igual(p[3])) return resultado;
    const std::uint32_t d4 = digito(p[3]);
    if (d4 > 63) return {};
    o[2] = static_cast<std::uint8_t>((d3 & 3) << 6 | d4);
    return resultado;
}
}  // namespace

QByteArray DecodificarBase64(QByteArrayView texto) {
    return decodificar(texto.data(), texto.size());
}

QByteArray DecodificarBase64(QStringView texto) {
    return decodificar(texto.data(), texto.size());
}
