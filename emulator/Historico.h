#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>

// The replies kept for ConsultarNumeroSessao, the latest sessions first to
// stay, bounded in number and in bytes.
namespace emulador {

class Historico {
  public:
    void guardar(int sessao, const std::string& resposta);
    std::optional<std::string> buscar(int sessao) const;

  private:
    void esquecer(int sessao);
    static constexpr std::size_t LimiteSessoes = 100;
    static constexpr std::size_t LimiteBytes = 64 << 20;
    std::map<int, std::string> m_respostas;
    std::deque<int> m_ordem;
    std::size_t m_bytes = 0;
};

}  // namespace emulador
