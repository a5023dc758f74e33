#pragma once

#include <QPointer>

class Contexto;
class TFormAtivarSat;

// The activation worker: reads the activation window's fields, writes its
// log, and on "04000" puts the new code in use and opens the signature and
// end-to-end functions of the main window. Gives "Enviar" back when it ends.
class thrAtivarSat {
  public:
    static void iniciar(Contexto& ctx, TFormAtivarSat& janela);

  private:
    thrAtivarSat(Contexto& ctx, TFormAtivarSat& janela) : ctx(ctx), janela(&janela) {}
    void Execute();

    Contexto& ctx;
    // Read and used on the GUI thread only.
    QPointer<TFormAtivarSat> janela;
};
