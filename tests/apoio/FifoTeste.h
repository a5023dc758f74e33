#pragma once

#include <QString>
#include <atomic>
#include <thread>

// A named pipe that nobody reads or writes: whoever opens it waits for ever.
// So that a test fails instead of hanging, after a while the pipe gets both
// ends for a moment, which lets such an open return, and says it had to.
class FifoTeste {
  public:
    explicit FifoTeste(const QString& arquivo, int esperaMs = 2000);
    ~FifoTeste();
    FifoTeste(const FifoTeste&) = delete;
    FifoTeste& operator=(const FifoTeste&) = delete;

    const QString caminho;
    bool precisouLiberar() const { return m_liberou; }

  private:
    std::atomic<bool> m_fim{false};
    std::atomic<bool> m_liberou{false};
    std::thread m_liberador;
};
