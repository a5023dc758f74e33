#pragma once

#include <QDialog>

#include "app/Formulario.h"

class TFormTesteFimaFim : public Formulario<QDialog> {
    Q_OBJECT
  public:
    explicit TFormTesteFimaFim(Contexto& ctx);
};
