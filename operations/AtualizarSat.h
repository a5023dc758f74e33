#pragma once

class Contexto;

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
