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
    // could not (tipo says which refusal).
    struct Abertura {
        sat::TipoResposta tipo;
        QString texto;
        // The helper program itself did not start: the library was never tried.
        bool semAuxiliar = false;
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
