#pragma once

#include <QString>
#include <memory>
#include <string>

// The running helper program, as the platform sees it: started with two
// pipes, fed bytes, read with a time limit, killed and reaped.
class ProcessoAuxiliar {
  public:
    // Where the helper program lives beside the running one.
    static QString programa();
    // Starts `programa biblioteca`; null, with why in erro, when it cannot.
    static std::unique_ptr<ProcessoAuxiliar> iniciar(const QString& programa,
                                                     const QString& biblioteca, QString& erro);

    // Kills it if it still runs: nothing of it outlives its binding.
    ~ProcessoAuxiliar();
    ProcessoAuxiliar(const ProcessoAuxiliar&) = delete;
    ProcessoAuxiliar& operator=(const ProcessoAuxiliar&) = delete;

    bool enviar(const std::string& bytes);
    // Bytes read (up to tamanho) within ms, 0 when none came in time, -1 when
    // the helper closed its side.
    long ler(char* destino, std::size_t tamanho, int ms);
    // Kills it and waits for its end.
    void matar();
    // After it closed its side: how it ended, as "o sinal 11" or "o código
    // de saída 3".
    QString comoTerminou();

  private:
    ProcessoAuxiliar(long pid, int entrada, int saida);
    // Waits up to ms for its end; true once it is reaped.
    bool colher(int ms);
    long m_pid;
    int m_entrada;  // its standard input, our requests
    int m_saida;    // its replies
    bool m_reaped = false;
    int m_status = 0;
};
