#include "ui/Sessao.h"

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "ui/Contexto.h"

// The box is built from this reply's own fields: another thread may write the
// shared slots at any moment.
void MostraResposta(Contexto& ctx, const QString& resposta, PortaDialogos::Icone icone) {
    const QString sessao = ExtraiCampo(resposta, 0);
    const QString retorno = ExtraiCampo(resposta, 1);
    const QString mensagem = ExtraiCampo(resposta, 2);
    ctx.estado.setCampoA(sessao);
    ctx.estado.setCampoB(retorno);
    ctx.estado.setCampoC(mensagem);
    ctx.dialogos.mensagem(
        icone, "Sessão: " + sessao + "\r\nRetorno: " + retorno + "\r\nResposta: " + mensagem);
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
    const QString codigo = ExtraiCampo(resposta, 1);
    ctx.estado.setCampoA(codigo);
    const QString status = statusDe(resposta, codigo);
    ctx.estado.setStatusConexao(status);
    if (pintar)
        naGui(ctx.janela(Janela::Principal),
              [&principal = ctx.principal(), status] { principal.pintarStatus(status); });
}
