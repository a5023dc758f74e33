#pragma once

#include <QString>
#include <memory>

#include "device/CanalDispositivo.h"
#include "device/DllSat.h"
#include "sat/Chamada.h"

// The library loaded into the test's own process and called directly, so
// that the test steers the stand-in through its exported controls.
class CanalNoProcesso : public CanalDispositivo {
  public:
    explicit CanalNoProcesso(const QString& caminho);
    Desfecho chamar(const sat::Pedido& pedido, int limiteMs,
                    const std::function<void()>& aguardar) override;

  private:
    sat::TabelaFuncoes m_tabela;
};

// The binding over that channel.
std::unique_ptr<DllSat> carregarNoProcesso(const QString& caminho);
