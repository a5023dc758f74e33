#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "sat/Quadro.h"

// How one call into the device library ended.
struct Desfecho {
    enum class Tipo {
        Resposta,     // the reply's bytes
        Nula,         // the library returned NULL
        Grande,       // a reply over sat::LimiteResposta; detalhe holds its size
        Prazo,        // no reply within the time limit
        Terminou,     // the library's process ended; detalhe says how
        NaoRecarrega  // the library could not be loaded again; detalhe says why
    };
    Tipo tipo = Tipo::Resposta;
    QByteArray bytes;
    QString detalhe;
};

// The way calls reach the library: the helper process for the tool, the
// library in the test's own process for tests that steer a stand-in.
class CanalDispositivo {
  public:
    virtual ~CanalDispositivo() = default;
    // One call, within limiteMs; aguardar runs now and then while the reply
    // is awaited.
    virtual Desfecho chamar(const sat::Pedido& pedido, int limiteMs,
                            const std::function<void()>& aguardar) = 0;
};
