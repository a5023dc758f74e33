#pragma once

#include "app/Formulario.h"

class TFormTesteVendaCanc : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormTesteVendaCanc(Contexto& ctx);
};
