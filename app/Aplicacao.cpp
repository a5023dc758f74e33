#include "app/Aplicacao.h"

#include "network/TFormConfRede.h"
#include "operations/TFormAtivarSat.h"
#include "operations/TFormConsultas.h"
#include "operations/TFormTrocarCodigo.h"
#include "setup/TFormSetupAutom.h"
#include "shell/TFormCodAtivacao.h"
#include "shell/TFormPrincipal.h"
#include "signature/TFormAssociarAssinatura.h"
#include "tour/TFormConhecendoSAT.h"
#include "transactions/TFormTesteFimaFim.h"
#include "transactions/TFormTesteVendaCanc.h"
#include "ui/CursorOcupado.h"
#include "ui/Recursos.h"

template <typename T>
T* Aplicacao::criar(Janela janela) {
    auto* widget = new T(m_ctx);
    m_janelas.emplace_back(widget);
    m_ctx.registrar(janela, widget);
    return widget;
}

Aplicacao::Aplicacao(DllSat& dll, PortaDialogos& dialogos, Relogio& relogio)
    : m_ctx(dll, dialogos, relogio), m_espera(std::make_unique<EsperaComCursor>(dialogos)) {
    dll.setEspera(m_espera.get());
    iniciaRecursos();
    carregaTraducaoQt();
    m_inicial = criar<TFormCodAtivacao>(Janela::CodAtivacao);
    m_ctx.registrarInicial(m_inicial);
    m_principal = criar<TFormPrincipal>(Janela::Principal);
    m_ctx.registrarPrincipal(m_principal);
    criar<TFormConfRede>(Janela::ConfRede);
    criar<TFormTrocarCodigo>(Janela::TrocarCodigo);
    criar<TFormConsultas>(Janela::Consultas);
    criar<TFormTesteVendaCanc>(Janela::TesteVendaCanc);
    criar<TFormAssociarAssinatura>(Janela::AssociarAssinatura);
    criar<TFormAtivarSat>(Janela::AtivarSat);
    criar<TFormSetupAutom>(Janela::SetupAutom);
    criar<TFormConhecendoSAT>(Janela::ConhecendoSAT);
    criar<TFormTesteFimaFim>(Janela::TesteFimaFim);
}

// Windows go in the reverse order of their creation. No worker is inside a
// call by now: the program ends at once while one is (Trabalhador).
Aplicacao::~Aplicacao() {
    m_ctx.dll.setEspera(nullptr);
    while (!m_janelas.empty()) m_janelas.pop_back();
}
