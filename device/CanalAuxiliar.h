#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "device/CanalDispositivo.h"
#include "device/ProcessoAuxiliar.h"

// The library hosted by the helper program (sat-auxiliar): a crash, a hang
// or a flood ends the helper, never the tool, and the next call starts a
// fresh one.
class CanalAuxiliar : public CanalDispositivo {
  public:
    // What loading the library gave: the file the platform loaded, or why it
    // could not.
    struct Abertura {
        enum class Tipo {
            Pronta,       // texto: the file loaded
            SemAuxiliar,  // the helper did not start: the library was never tried
            NaoCarrega,   // texto: the platform's reason
            SemFuncao,    // texto: the missing function
            Quebrou       // texto: how loading ended (a signal, no answer in time)
        };
        Tipo tipo;
        QString texto;
    };
    // A library that does not even load within this time is given up on.
    static constexpr int LimiteCargaMs = 30000;

    CanalAuxiliar(const QString& programa, const QString& biblioteca);
    // aguardar runs now and then while the library loads.
    Abertura abrir(const std::function<void()>& aguardar = {});
    Desfecho chamar(const sat::Pedido& pedido, int limiteMs,
                    const std::function<void()>& aguardar) override;

  private:
    // One frame within limiteMs; on a failure the helper is gone and falha
    // says how.
    std::optional<sat::Resposta> receber(int limiteMs, const std::function<void()>& aguardar,
                                         Desfecho& falha);
    bool lerDentroDoPrazo(char* destino, std::size_t tamanho,
                          std::chrono::steady_clock::time_point prazo,
                          const std::function<void()>& aguardar, Desfecho& falha);
    QString m_programa;
    QString m_biblioteca;
    std::unique_ptr<ProcessoAuxiliar> m_processo;
};
