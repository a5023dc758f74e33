#pragma once

#include "app/Formulario.h"

class TFormAtivarSat : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormAtivarSat(Contexto& ctx);
};
