#include "sat/Quadro.h"

#include "sat/Chamada.h"

namespace sat {

namespace {

enum class Tipo : std::uint8_t { Inteiro, Texto, Nulo };

void gravar32(std::string& destino, std::uint32_t valor) {
    for (int i = 0; i < 4; ++i) destino += static_cast<char>((valor >> (8 * i)) & 0xFFu);
}

// Reads what a frame holds, refusing to run past its end.
class Leitor {
  public:
    explicit Leitor(const std::string& bytes) : m_bytes(bytes) {}
    bool fim() const { return m_pos == m_bytes.size(); }
    std::optional<std::uint8_t> byte() {
        if (m_pos >= m_bytes.size()) return std::nullopt;
        return static_cast<std::uint8_t>(m_bytes[m_pos++]);
    }
    std::optional<std::uint32_t> u32() {
        if (m_bytes.size() - m_pos < 4) return std::nullopt;
        const auto v = tamanhoDoQuadro(reinterpret_cast<const unsigned char*>(&m_bytes[m_pos]));
        m_pos += 4;
        return v;
    }
    std::optional<std::string> bytes(std::uint32_t n) {
        if (m_bytes.size() - m_pos < n) return std::nullopt;
        std::string r = m_bytes.substr(m_pos, n);
        m_pos += n;
        return r;
    }

  private:
    const std::string& m_bytes;
    std::size_t m_pos = 0;
};

std::optional<Argumento> lerArgumento(Leitor& leitor) {
    const auto tipo = leitor.byte();
    const auto valor = leitor.u32();
    if (!tipo || !valor) return std::nullopt;
    switch (static_cast<Tipo>(*tipo)) {
        case Tipo::Inteiro:
            return Argumento::deInteiro(static_cast<int>(*valor));
        case Tipo::Nulo:
            return Argumento::deTexto({}, true);
        case Tipo::Texto: {
            auto texto = leitor.bytes(*valor);
            if (!texto || texto->find('\0') != std::string::npos) return std::nullopt;
            return Argumento::deTexto(std::move(*texto), false);
        }
    }
    return std::nullopt;
}

}  // namespace

Argumento Argumento::deInteiro(int valor) {
    Argumento a;
    a.inteiro = valor;
    return a;
}

Argumento Argumento::deTexto(std::string valor, bool nulo) {
    Argumento a;
    a.texto = true;
    a.nulo = nulo;
    a.bytes = std::move(valor);
    return a;
}

std::uint32_t tamanhoDoQuadro(const unsigned char cabecalho[4]) {
    return std::uint32_t(cabecalho[0]) | std::uint32_t(cabecalho[1]) << 8 |
           std::uint32_t(cabecalho[2]) << 16 | std::uint32_t(cabecalho[3]) << 24;
}

std::string quadro(const Pedido& pedido) {
    std::string conteudo(1, static_cast<char>(pedido.funcao));
    for (const Argumento& a : pedido.argumentos) {
        if (!a.texto) {
            conteudo += static_cast<char>(Tipo::Inteiro);
            gravar32(conteudo, static_cast<std::uint32_t>(a.inteiro));
        } else if (a.nulo) {
            conteudo += static_cast<char>(Tipo::Nulo);
            gravar32(conteudo, 0);
        } else {
            conteudo += static_cast<char>(Tipo::Texto);
            gravar32(conteudo, static_cast<std::uint32_t>(a.bytes.size()));
            conteudo += a.bytes;
        }
    }
    std::string q;
    q.reserve(conteudo.size() + 4);
    gravar32(q, static_cast<std::uint32_t>(conteudo.size()));
    return q + conteudo;
}

std::string quadro(TipoResposta tipo, const char* bytes, std::size_t tamanho) {
    std::string q;
    q.reserve(tamanho + 5);
    gravar32(q, static_cast<std::uint32_t>(tamanho + 1));
    q += static_cast<char>(tipo);
    q.append(bytes, tamanho);
    return q;
}

std::optional<Pedido> lerPedido(const std::string& conteudo) {
    Leitor leitor(conteudo);
    const auto funcao = leitor.byte();
    if (!funcao || *funcao >= NumeroFuncoes) return std::nullopt;
    Pedido pedido{static_cast<Funcao>(*funcao), {}};
    while (!leitor.fim()) {
        auto a = lerArgumento(leitor);
        if (!a) return std::nullopt;
        pedido.argumentos.push_back(std::move(*a));
    }
    if (!confere(pedido.funcao, pedido.argumentos)) return std::nullopt;
    return pedido;
}

std::optional<Resposta> lerResposta(std::string conteudo) {
    if (conteudo.empty() ||
        static_cast<std::uint8_t>(conteudo[0]) > static_cast<std::uint8_t>(TipoResposta::Invalido))
        return std::nullopt;
    const auto tipo = static_cast<TipoResposta>(conteudo[0]);
    conteudo.erase(0, 1);
    return Resposta{tipo, std::move(conteudo)};
}

bool confere(Funcao funcao, const std::vector<Argumento>& argumentos) {
    switch (funcao) {
#define SAT_CONFERE(nome, codigo, detalhe, parametros, argumentos_) \
    case Funcao::nome:                                              \
        return Assinatura<Tipo##nome>::confere(argumentos);
        SAT_FUNCOES(SAT_CONFERE)
#undef SAT_CONFERE
    }
    return false;
}

const char* TabelaFuncoes::chamar(const Pedido& pedido) const {
    switch (pedido.funcao) {
#define SAT_CHAMAR(nome, codigo, detalhe, parametros, argumentos_) \
    case Funcao::nome:                                             \
        return Assinatura<Tipo##nome>::chamar(nome, pedido.argumentos);
        SAT_FUNCOES(SAT_CHAMAR)
#undef SAT_CHAMAR
    }
    return nullptr;
}

}  // namespace sat
