#pragma once

#include <QString>
#include <memory>
#include <string>

// The running helper program, as the platform sees it: started with two
// pipes, fed bytes, read with a time limit, killed and reaped.
class ProcessoAuxiliar {
  public:
    // The helper program beside the running one that can host that library
    // (on Windows, one per architecture).
    static QString programa(const QString& biblioteca);
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
    // The platform's handles on it: its process, our ends of its pipes, how
    // it ended.
    struct Nativo;
    explicit ProcessoAuxiliar(std::unique_ptr<Nativo> nativo);
    // Waits up to ms for its end; true once it is reaped.
    bool colher(int ms);
    std::unique_ptr<Nativo> m;
};
