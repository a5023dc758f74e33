#include "operations/AtualizarSat.h"

#include "app/Contexto.h"
#include "app/Log.h"
#include "app/NaGui.h"
#include "app/Respostas.h"
#include "app/Sessao.h"
#include "app/Trabalhador.h"

void HabilitarBotoesFuncao(JanelaPrincipal& principal, bool habilitado) {
    principal.habilitar(
        {"BtSetupAutomatico", "BtConfRede", "BtAtivarSat", "BtAssociarAssinatura", "BtTestFimAFim",
         "BtAtualizarSat", "BtTestesVCan", "BtBloquearSat", "BtDesbloquearSat", "BtConsultas",
         "BtTrocarCodAtiv", "BtConhecerSatTivoro"},
        habilitado);
}

AtualizarSat::AtualizarSat(Contexto& ctx)
    : ctx(ctx), principal(ctx.janela(Janela::Principal)), log(ctx.principal().RichEdit1()) {}

void AtualizarSat::iniciar(Contexto& ctx) {
    Trabalhador::iniciar([trabalho = AtualizarSat(ctx)]() mutable { trabalho.executar(); });
}

void AtualizarSat::executar() {
    const int sessao = ctx.aleatorio.sessaoNova();
    ctx.estado.setRespostaSAT({});
    const QString codigo = ctx.CodigoAtivacao();
    const QString resposta = ChamadaComLog(
        ctx, log, "AtualizarSoftwareSAT(" + QString::number(sessao) + ',' + codigo + ')',
        [&] { return ctx.dll.AtualizarSoftwareSAT(sessao, codigo); });
    const bool atualizado = ExtraiCampo(resposta, 1) == QLatin1String("14000");
    MostraResposta(ctx, resposta,
                   atualizado ? PortaDialogos::Icone::Informacao : PortaDialogos::Icone::Erro);
    ctx.estado.setCampoA({});
    naGui(principal, [&janela = ctx.principal()] { HabilitarBotoesFuncao(janela, true); });
    AtualizaStatusConexao(ctx, true);
}
