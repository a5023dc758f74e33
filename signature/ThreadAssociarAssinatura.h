#pragma once

#include <QString>

#include "core/Trabalhador.h"

class Contexto;
class QPlainTextEdit;
class TFormAssociarAssinatura;

// Sends the window's signature and CNPJ numbers to the device, logging the
// call in the window; a confirmed association opens six functions of the main
// window.
class ThreadAssociarAssinatura {
  public:
    // Copies the window's fields; on the GUI thread.
    ThreadAssociarAssinatura(Contexto& contexto, const TFormAssociarAssinatura& janela);
    static void iniciar(Contexto& ctx, const TFormAssociarAssinatura& janela);
    void executar();

  private:
    Contexto& ctx;
    QPlainTextEdit* m_log;
    QString m_cnpjs;
    QString m_assinatura;
};
