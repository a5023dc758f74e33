#pragma once

#include "app/Formulario.h"

class TFormSetupAutom : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormSetupAutom(Contexto& ctx);
};
