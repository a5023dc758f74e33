#include "operations/AtualizarSat.h"

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "ui/Contexto.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

AtualizarSat::AtualizarSat(Contexto& contexto)
    : ctx(contexto),
      principal(contexto.janela(Janela::Principal)),
      log(contexto.principal().RichEdit1()) {}

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
    naGui(principal, [&janela = ctx.principal()] { janela.HabilitarBotoesFuncao(true); });
    AtualizaStatusConexao(ctx, true);
}
