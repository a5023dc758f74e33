#include "emulator/Texto.h"

#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <random>

#include "emulator/Sistema.h"

namespace emulador {

namespace {

// Code points of 0x80..0x9F; 0 where Windows-1252 has no character.
constexpr char32_t Faixa80[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void anexarUtf8(std::string& s, char32_t c) {
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
}

// The next code point of a UTF-8 text; a malformed byte stands for itself.
char32_t proximo(const std::string& s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    const int seguintes = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (seguintes == 0 || i + seguintes > s.size()) return b;
    char32_t c = b & (0x3F >> seguintes);
    for (int k = 0; k < seguintes; ++k) {
        const auto m = static_cast<unsigned char>(s[i + k]);
        if ((m & 0xC0) != 0x80) return b;
        c = (c << 6) | (m & 0x3F);
    }
    i += seguintes;
    return c;
}

}  // namespace

std::string deWin1252(const char* bytes) {
    std::string s;
    for (const char* p = bytes ? bytes : ""; *p; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        const char32_t c = b >= 0x80 && b < 0xA0 ? Faixa80[b - 0x80] : b;
        anexarUtf8(s, c ? c : b);
    }
    return s;
}

std::string paraWin1252(const std::string& utf8) {
    std::string s;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = proximo(utf8, i);
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            s += char(c);
            continue;
        }
        char substituto = '?';
        for (int k = 0; k < 32; ++k)
            if (Faixa80[k] == c) substituto = char(0x80 + k);
        s += substituto;
    }
    return s;
}

bool utf8Valido(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t antes = i;
        const char32_t c = proximo(bytes, i);
        // A lone byte past ASCII stands for itself only when it is malformed.
        if (c >= 0x80 && i == antes + 1) return false;
    }
    return true;
}

std::size_t caracteres(const std::string& utf8) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++n) proximo(utf8, i);
    return n;
}

std::string aparado(const std::string& s) {
    const char* const brancos = " \t\n\r\v\f";
    const auto inicio = s.find_first_not_of(brancos);
    if (inicio == std::string::npos) return {};
    return s.substr(inicio, s.find_last_not_of(brancos) - inicio + 1);
}

std::string maiusculas(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> partes(const std::string& s, char separador) {
    std::vector<std::string> lista;
    std::size_t inicio = 0;
    for (std::size_t fim; (fim = s.find(separador, inicio)) != std::string::npos; inicio = fim + 1)
        lista.push_back(s.substr(inicio, fim - inicio));
    lista.push_back(s.substr(inicio));
    return lista;
}

bool soDigitos(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool comeca(const std::string& s, const std::string& inicio) {
    return s.compare(0, inicio.size(), inicio) == 0;
}

std::string comZeros(long long n, int largura) {
    std::string s = std::to_string(n);
    return s.size() < std::size_t(largura) ? std::string(largura - s.size(), '0') + s : s;
}

bool inteiro(const std::string& s, long long& n) {
    const std::string t = aparado(s);
    if (t.empty() || t.size() > 18) return false;
    const bool negativo = t[0] == '-';
    const std::string digitos = t.substr(negativo || t[0] == '+' ? 1 : 0);
    if (digitos.empty() || !soDigitos(digitos)) return false;
    std::from_chars(digitos.data(), digitos.data() + digitos.size(), n);
    if (negativo) n = -n;
    return true;
}

bool decimal(const std::string& s, double& d) {
    // from_chars takes no plus sign; one, before a digit, is accepted.
    const std::size_t inicio = s.size() > 1 && s[0] == '+' && s[1] != '-' ? 1 : 0;
    const char* fim = s.data() + s.size();
    const auto [resto, erro] = std::from_chars(s.data() + inicio, fim, d);
    return !s.empty() && erro == std::errc() && resto == fim;
}

int sorteado(int de, int ate) {
    static std::mutex m;
    static std::mt19937 gerador{std::random_device{}()};
    std::lock_guard<std::mutex> vez(m);
    return std::uniform_int_distribution<int>(de, ate)(gerador);
}

std::int64_t agoraMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string dataHora(std::int64_t ms, const char* formato) {
    const std::time_t t = ms / 1000;
    const std::tm local = sistema::horaLocal(t);
    char texto[32];
    return std::string(texto, std::strftime(texto, sizeof texto, formato, &local));
}

std::int64_t anosDepois(std::int64_t ms, int anos) {
    const std::time_t t = ms / 1000;
    std::tm local = sistema::horaLocal(t);
    local.tm_year += anos;
    local.tm_isdst = -1;
    return std::int64_t(std::mktime(&local)) * 1000 + ms % 1000;
}

}  // namespace emulador
