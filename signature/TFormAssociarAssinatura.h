#pragma once

#include "app/Formulario.h"

class TFormAssociarAssinatura : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormAssociarAssinatura(Contexto& ctx);
};
