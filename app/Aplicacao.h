#pragma once

#include <memory>
#include <vector>

#include "ui/Contexto.h"

class TFormCodAtivacao;
class TFormPrincipal;

// The composition root: the shared context and the eleven windows, each
// created once, hidden, in the start-up's order, and kept until the end.
class Aplicacao {
  public:
    Aplicacao(DllSat& dll, PortaDialogos& dialogos, Relogio& relogio);
    ~Aplicacao();

    Contexto& contexto() { return m_ctx; }
    TFormCodAtivacao& inicial() { return *m_inicial; }
    TFormPrincipal& principal() { return *m_principal; }
    QWidget* janela(Janela janela) const { return m_ctx.janela(janela); }

  private:
    template <typename T>
    T* criar(Janela janela);

    Contexto m_ctx;
    // Shows the library's calls and failures.
    std::unique_ptr<EsperaDispositivo> m_espera;
    std::vector<std::unique_ptr<QWidget>> m_janelas;
    TFormCodAtivacao* m_inicial;
    TFormPrincipal* m_principal;
};
