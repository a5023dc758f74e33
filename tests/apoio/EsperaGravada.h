#pragma once

#include <QStringList>

#include "device/DllSat.h"

// What the binding told whoever waits: the failure boxes.
class EsperaGravada : public EsperaDispositivo {
  public:
    void comecar() override {}
    void aguardar() override {}
    void terminar() override {}
    void falhou(const QString& texto) override { falhas << texto; }
    QStringList falhas;
};
