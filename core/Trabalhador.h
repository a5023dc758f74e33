#pragma once

#include <QThread>
#include <atomic>
#include <functional>

// A worker thread: started at once, deleted when its run ends, waited for by
// nobody.
class Trabalhador : public QThread {
  public:
    explicit Trabalhador(std::function<void()> execucao);
    ~Trabalhador() override;

    static void iniciar(std::function<void()> execucao);
    static int vivos() { return s_vivos.load(); }
    // Ends the process at once when a worker may still be inside a device
    // call: nothing would return from that call to end it cleanly.
    static int encerrar(int status);

  protected:
    void run() override;

  private:
    std::function<void()> m_execucao;
    static std::atomic<int> s_vivos;
};
