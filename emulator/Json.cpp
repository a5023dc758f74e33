#include "emulator/Json.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

#include "emulator/Texto.h"

namespace emulador {

const Json* Json::membro(const std::string& chave) const {
    for (const auto& [nome, valor] : membros)
        if (nome == chave) return &valor;
    return nullptr;
}

namespace {

class Leitor {
  public:
    explicit Leitor(const std::string& t) : m_t(t) {}

    Json documento() {
        Json j = valor(0);
        espacos();
        if (m_i != m_t.size()) falha();
        return j;
    }

  private:
    // Nested documents are read recursively: bounded, as no state is deep.
    static constexpr int ProfundidadeMaxima = 32;

    [[noreturn]] static void falha() { throw std::runtime_error("json"); }
    void espacos() {
        while (m_i < m_t.size() &&
               (m_t[m_i] == ' ' || m_t[m_i] == '\n' || m_t[m_i] == '\r' || m_t[m_i] == '\t'))
            ++m_i;
    }
    bool pula(const char* palavra) {
        const std::string p(palavra);
        if (m_t.compare(m_i, p.size(), p) != 0) return false;
        m_i += p.size();
        return true;
    }
    char proximo() {
        espacos();
        if (m_i >= m_t.size()) falha();
        return m_t[m_i];
    }

    Json valor(int profundidade) {
        if (profundidade > ProfundidadeMaxima) falha();
        Json j;
        const char c = proximo();
        if (c == '{') {
            j.tipo = Json::Objeto;
            lista('}', [&] {
                if (proximo() != '"') falha();
                std::string chave = texto();
                if (proximo() != ':') falha();
                ++m_i;
                j.membros.emplace_back(std::move(chave), valor(profundidade + 1));
            });
        } else if (c == '[') {
            j.tipo = Json::Lista;
            lista(']', [&] { j.itens.push_back(valor(profundidade + 1)); });
        } else if (c == '"') {
            j.tipo = Json::Texto;
            j.texto = texto();
        } else if (pula("true")) {
            j.tipo = Json::Logico;
            j.logico = true;
        } else if (pula("false")) {
            j.tipo = Json::Logico;
        } else if (pula("null")) {
            j.tipo = Json::Nulo;
        } else {
            j.tipo = Json::Numero;
            j.numero = numero();
        }
        return j;
    }

    template <typename F>
    void lista(char fim, F item) {
        ++m_i;
        if (proximo() == fim) {
            ++m_i;
            return;
        }
        for (;;) {
            item();
            const char c = proximo();
            ++m_i;
            if (c == fim) return;
            if (c != ',') falha();
        }
    }

    double numero() {
        const std::size_t inicio = m_i;
        while (m_i < m_t.size() &&
               std::string("+-0123456789.eE").find(m_t[m_i]) != std::string::npos)
            ++m_i;
        double d = 0;
        if (!decimal(m_t.substr(inicio, m_i - inicio), d)) falha();
        return d;
    }

    unsigned hex4() {
        if (m_i + 4 > m_t.size()) falha();
        unsigned u = 0;
        const char* fim = m_t.data() + m_i + 4;
        const auto [resto, erro] = std::from_chars(m_t.data() + m_i, fim, u, 16);
        if (erro != std::errc() || resto != fim) falha();
        m_i += 4;
        return u;
    }

    void utf8(std::string& s, unsigned c) {
        if (c < 0x80) {
            s += char(c);
        } else if (c < 0x800) {
            s += {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            s += {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        } else {
            s += {char(0xF0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3F)),
                  char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        }
    }

    void escape(std::string& s) {
        if (m_i >= m_t.size()) falha();
        const char c = m_t[m_i++];
        static const std::string de = "\"\\/bfnrt", para = "\"\\/\b\f\n\r\t";
        if (const auto k = de.find(c); k != std::string::npos) {
            s += para[k];
            return;
        }
        if (c != 'u') falha();
        unsigned u = hex4();
        if (u >= 0xD800 && u < 0xDC00) {
            if (!pula("\\u")) falha();
            const unsigned baixo = hex4();
            if (baixo < 0xDC00 || baixo >= 0xE000) falha();
            u = 0x10000 + ((u - 0xD800) << 10) + (baixo - 0xDC00);
        } else if (u >= 0xDC00 && u < 0xE000) {
            falha();
        }
        utf8(s, u);
    }

    std::string texto() {
        ++m_i;
        std::string s;
        for (;;) {
            if (m_i >= m_t.size()) falha();
            const char c = m_t[m_i++];
            if (c == '"') return s;
            if (static_cast<unsigned char>(c) < 0x20) falha();
            if (c == '\\')
                escape(s);
            else
                s += c;
        }
    }

    const std::string& m_t;
    std::size_t m_i = 0;
};

}  // namespace

Json lerJson(const std::string& texto) {
    return Leitor(texto).documento();
}

std::string jsonTexto(const std::string& s) {
    std::string r = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') {
            r += '\\';
            r += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char u[8];
            std::snprintf(u, sizeof u, "\\u%04x", c);
            r += u;
        } else {
            r += c;
        }
    }
    return r + '"';
}

}  // namespace emulador
