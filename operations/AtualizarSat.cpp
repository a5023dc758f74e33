#include "operations/AtualizarSat.h"

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "ui/Contexto.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

AtualizarSat::AtualizarSat(Contexto& contexto)
    : ctx(contexto),
      m_principal(contexto.janela(Janela::Principal)),
      m_log(contexto.principal().RichEdit1()) {}

void AtualizarSat::iniciar(Contexto& ctx) {
    Trabalhador::iniciar([trabalho = AtualizarSat(ctx)]() mutable { trabalho.executar(); });
}

void AtualizarSat::executar() {
    const int sessao = ctx.aleatorio.sessaoNova();
    ctx.estado.setRespostaSAT({});
    const QString codigo = ctx.CodigoAtivacao();
    const QString resposta = chamadaComLog(
        ctx, m_log, "AtualizarSoftwareSAT(" + QString::number(sessao) + ',' + codigo + ')',
        [&] { return ctx.dll.AtualizarSoftwareSAT(sessao, codigo); });
    const bool atualizado = ExtraiCampo(resposta, 1) == QLatin1String("14000");
    MostraResposta(ctx, resposta,
                   atualizado ? PortaDialogos::Icone::Informacao : PortaDialogos::Icone::Erro);
    ctx.estado.setCampoA({});
    naGui(m_principal, [&janela = ctx.principal()] { janela.habilitarBotoesFuncao(true); });
    AtualizaStatusConexao(ctx, true);
}
