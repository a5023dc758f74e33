#include "operations/StatusAoFechar.h"

#include <QLabel>

#include "core/Respostas.h"
#include "ui/Contexto.h"
#include "ui/Sessao.h"

namespace {
void voltarAoInicio(Contexto& ctx) {
    ctx.esconder(Janela::Principal);
    ctx.mostrar(Janela::CodAtivacao);
}

void mostrarPrincipal(Contexto& ctx, const QString& status, const QString& resposta) {
    ctx.estado.setStatusConexao(status);
    ctx.estado.setVersaoSAT(ExtraiCampo(resposta, 18));
    ctx.principal().LbLayout()->setText("LAYOUT - " + ExtraiCampo(resposta, 19));
    ctx.mostrar(Janela::Principal);
}
}  // namespace

void statusAoFechar(Contexto& ctx, OpcoesStatusAoFechar opcoes) {
    if (opcoes.limparAntes) {
        ctx.estado.setRespostaSAT(QString());
        ctx.estado.setCampoA(QString());
        ctx.estado.setCampoB(QString());
        ctx.estado.setCampoC(QString());
    }
    const QString resposta =
        ctx.dll.ConsultarStatusOperacional(ctx.aleatorio.sessaoAleatoria(), ctx.CodigoAtivacao());
    ctx.estado.setRespostaSAT(resposta);
    const QString codigo = ExtraiCampo(resposta, 1);
    ctx.estado.setCampoA(codigo);
    ctx.estado.setCampoB(ExtraiCampo(resposta, 19));
    ctx.estado.setCampoC(ExtraiCampo(resposta, 18));

    // The order of the tests decides, so one outcome appears twice.
    // NOLINTNEXTLINE(bugprone-branch-clone)
    if (codigo == QLatin1String("10001")) {
        voltarAoInicio(ctx);
    } else if (codigo == QLatin1String("10000")) {
        mostrarPrincipal(ctx, StatusConectado, resposta);
        if (opcoes.conectadoEncerraModoAtivacao) ctx.estado.setModoAtivacao(0);
    } else if (codigo == QLatin1String("08098")) {
        mostrarPrincipal(ctx, StatusEmProcessamento, resposta);
    } else if (resposta != TextoPortaNaoPronta) {
        mostrarPrincipal(ctx, StatusDesconhecido, resposta);
    } else if (opcoes.semPortaEmAtivacaoVaiAoInicio && ctx.estado.ModoAtivacao() == 1) {
        voltarAoInicio(ctx);
    } else {
        mostrarPrincipal(ctx, StatusDesconectado, resposta);
    }
}
