#include "operations/ConverBase64.h"

#include <array>
#include <cstdint>

namespace {
constexpr std::uint8_t Invalido = 0xFF;

constexpr std::array<std::uint8_t, 256> montarTabela() {
    std::array<std::uint8_t, 256> t{};
    for (auto& v : t) v = Invalido;
    for (int i = 0; i < 26; ++i) {
        t['A' + i] = static_cast<std::uint8_t>(i);
        t['a' + i] = static_cast<std::uint8_t>(26 + i);
    }
    for (int i = 0; i < 10; ++i) t['0' + i] = static_cast<std::uint8_t>(52 + i);
    t['+'] = 62;
    t['/'] = 63;
    return t;
}
constexpr std::array<std::uint8_t, 256> Tabela = montarTabela();

// A UTF-16 unit above 255 is no digit either.
inline std::uint32_t digito(char c) {
    return Tabela[static_cast<unsigned char>(c)];
}
inline std::uint32_t digito(QChar c) {
    return c.unicode() < 256 ? Tabela[c.unicode()] : Invalido;
}
inline bool igual(char c) {
    return c == '=';
}
inline bool igual(QChar c) {
    return c == QLatin1Char('=');
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
    for (; p < ultimo; p += 4, o += 3) {
        const std::uint32_t d1 = digito(p[0]), d2 = digito(p[1]), d3 = digito(p[2]),
                            d4 = digito(p[3]);
        // Every valid digit is below 64, the invalid mark is not.
        if ((d1 | d2 | d3 | d4) & 0xC0) return {};
        const std::uint32_t grupo = d1 << 18 | d2 << 12 | d3 << 6 | d4;
        o[0] = static_cast<std::uint8_t>(grupo >> 16);
        o[1] = static_cast<std::uint8_t>(grupo >> 8);
        o[2] = static_cast<std::uint8_t>(grupo);
    }
    const std::uint32_t d1 = digito(p[0]), d2 = digito(p[1]);
    if ((d1 | d2) & 0xC0) return {};
    o[0] = static_cast<std::uint8_t>(d1 << 2 | d2 >> 4);
    if (igual(p[2])) return resultado;
    const std::uint32_t d3 = digito(p[2]);
    if (d3 & 0xC0) return {};
    o[1] = static_cast<std::uint8_t>((d2 & 15) << 4 | d3 >> 2);
    if (igual(p[3])) return resultado;
    const std::uint32_t d4 = digito(p[3]);
    if (d4 & 0xC0) return {};
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
