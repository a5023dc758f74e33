#pragma once

#include "core/Trabalhador.h"

class Contexto;
class TFormAssociarAssinatura;

// Sends the window's signature and CNPJ numbers to the device, logging the
// call in the window; a confirmed association opens six functions of the main
// window. Reads everything from the window when it runs.
class ThreadAssociarAssinatura : public Trabalhador {
  public:
    ThreadAssociarAssinatura(Contexto& ctx, TFormAssociarAssinatura& janela);
    static void iniciar(Contexto& ctx, TFormAssociarAssinatura& janela);

  private:
    static void Execute(Contexto& ctx, TFormAssociarAssinatura& janela);
};
