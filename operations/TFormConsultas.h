#pragma once

#include "app/Formulario.h"

class TFormConsultas : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormConsultas(Contexto& ctx);
};
