#pragma once

#include "app/Formulario.h"

class TFormConfRede : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormConfRede(Contexto& ctx);
};
