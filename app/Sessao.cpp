#include "app/Sessao.h"

#include "app/Contexto.h"
#include "app/NaGui.h"
#include "app/Respostas.h"

void MostraResposta(Contexto& ctx, const QString& resposta, PortaDialogos::Icone icone) {
    ctx.estado.setCampoA(ExtraiCampo(resposta, 0));
    ctx.estado.setCampoB(ExtraiCampo(resposta, 1));
    ctx.estado.setCampoC(ExtraiCampo(resposta, 2));
    ctx.dialogos.mensagem(icone, "Sess\u00e3o: " + ctx.estado.CampoA() + "\r\nRetorno: " +
                                     ctx.estado.CampoB() + "\r\nResposta: " + ctx.estado.CampoC());
}

namespace {
QString statusDe(const QString& resposta, const QString& codigo) {
    if (codigo == QLatin1String("08000")) return StatusConectado;
    if (codigo == QLatin1String("08098")) return StatusEmProcessamento;
    if (resposta == TextoPortaNaoPronta) return StatusDesconectado;
    return StatusDesconhecido;
}
}  // namespace

void AtualizaStatusConexao(Contexto& ctx, bool pintar) {
    const QString resposta = ctx.dll.ConsultarSAT(SessaoStatus);
    ctx.estado.setRespostaSAT(resposta);
    ctx.estado.setCampoA(ExtraiCampo(resposta, 1));
    const QString status = statusDe(resposta, ctx.estado.CampoA());
    ctx.estado.setStatusConexao(status);
    if (pintar) naGui([&principal = ctx.principal(), status] { principal.pintarStatus(status); });
}
