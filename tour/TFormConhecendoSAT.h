#pragma once

#include "app/Formulario.h"

class TFormConhecendoSAT : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormConhecendoSAT(Contexto& ctx);
};
