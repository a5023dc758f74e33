#pragma once

#include "app/Formulario.h"

class TFormTrocarCodigo : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormTrocarCodigo(Contexto& ctx);
};
