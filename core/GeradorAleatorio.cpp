#include "core/GeradorAleatorio.h"

int GeradorAleatorio::sorteio(int limite) {
    QMutexLocker trava(&m_mutex);
    m_estado = m_estado * 134775813u + 1u;
    return static_cast<int>((std::uint64_t(m_estado) * std::uint32_t(limite)) >> 32);
}

int GeradorAleatorio::sessaoNova() {
    const int sessao = sessaoAleatoria();
    return sessao == 0 ? sessaoAleatoria() : sessao;
}

void GeradorAleatorio::reiniciar() {
    QMutexLocker trava(&m_mutex);
    m_estado = 0;
}
