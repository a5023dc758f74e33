#pragma once

#include <QMutex>
#include <cstdint>

// One generator for every thread, never seeded: every run draws the same
// sequence of session numbers.
class GeradorAleatorio {
  public:
    static constexpr int LimiteSessao = 9999999;

    // 0 .. limite-1
    int sorteio(int limite);
    int sessaoAleatoria() { return sorteio(LimiteSessao); }
    // A 0 is drawn once more and that second draw is used as it is.
    int sessaoNova();
    void reiniciar();

  private:
    QMutex m_mutex;
    std::uint32_t m_estado = 0;
};
