#include "emulator/Historico.h"

#include <algorithm>

namespace emulador {

void Historico::guardar(int sessao, const std::string& resposta) {
    esquecer(sessao);
    m_ordem.push_back(sessao);
    m_respostas[sessao] = resposta;
    m_bytes += resposta.size();
    // Log extractions are megabytes: keep the memory bounded.
    while (m_ordem.size() > LimiteSessoes || (m_bytes > LimiteBytes && m_ordem.size() > 1))
        esquecer(m_ordem.front());
}

std::optional<std::string> Historico::buscar(int sessao) const {
    const auto it = m_respostas.find(sessao);
    if (it == m_respostas.end()) return std::nullopt;
    return it->second;
}

void Historico::esquecer(int sessao) {
    const auto it = m_respostas.find(sessao);
    if (it == m_respostas.end()) return;
    m_bytes -= it->second.size();
    m_respostas.erase(it);
    m_ordem.erase(std::find(m_ordem.begin(), m_ordem.end(), sessao));
}

}  // namespace emulador
