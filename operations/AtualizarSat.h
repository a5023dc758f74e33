#pragma once

class Contexto;
class QPlainTextEdit;
class QWidget;

// The software update on a thread of its own: TX and RX lines in the main
// window's log, the reply box it waits for, the buttons back and the painted
// status refresh.
class AtualizarSat {
  public:
    // Takes the main window's log; on the GUI thread.
    explicit AtualizarSat(Contexto& contexto);
    // Started at once; nobody waits for it.
    static void iniciar(Contexto& ctx);
    void executar();

  private:
    Contexto& ctx;
    QWidget* m_principal;
    QPlainTextEdit* m_log;
};
