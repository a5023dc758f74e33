#pragma once

#include <QString>

class Contexto;
class QPlainTextEdit;
class TFormAtivarSat;

// The activation worker: sends the activation window's fields, writes its
// log, and on "04000" puts the new code in use and opens the signature and
// end-to-end functions of the main window. Gives "Enviar" back when it ends.
class thrAtivarSat {
  public:
    // Copies the window's fields; on the GUI thread.
    thrAtivarSat(Contexto& contexto, TFormAtivarSat& janela);
    static void iniciar(Contexto& ctx, TFormAtivarSat& janela);
    void executar();

  private:
    Contexto& ctx;
    TFormAtivarSat* m_janela;
    QPlainTextEdit* m_log;
    int m_indiceUF;
    QString m_codigo;
    QString m_cnpj;
};
