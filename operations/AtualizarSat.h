#pragma once

class Contexto;
class JanelaPrincipal;

// The main window's function buttons, which the update keeps disabled while
// it runs; enabled or disabled in their menu order.
void HabilitarBotoesFuncao(JanelaPrincipal& principal, bool habilitado);

// The software update on a thread of its own: TX and RX lines in the main
// window's log, the reply box it waits for, the buttons back and the painted
// status refresh.
class AtualizarSat {
  public:
    explicit AtualizarSat(Contexto& ctx) : ctx(ctx) {}

    // Started at once; nobody waits for it.
    static void iniciar(Contexto& ctx);
    void Execute();

  private:
    Contexto& ctx;
};
