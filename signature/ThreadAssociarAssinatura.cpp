#include "signature/ThreadAssociarAssinatura.h"

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "signature/TFormAssociarAssinatura.h"
#include "ui/Contexto.h"
#include "ui/Log.h"

ThreadAssociarAssinatura::ThreadAssociarAssinatura(Contexto& contexto,
                                                   const TFormAssociarAssinatura& janela)
    : ctx(contexto),
      log(janela.log()),
      cnpjs(janela.cnpjSoftwareHouse() + janela.cnpjContribuinte()),
      assinatura(janela.assinatura()) {}

void ThreadAssociarAssinatura::iniciar(Contexto& ctx, const TFormAssociarAssinatura& janela) {
    Trabalhador::iniciar(
        [trabalho = ThreadAssociarAssinatura(ctx, janela)]() mutable { trabalho.executar(); });
}

void ThreadAssociarAssinatura::executar() {
    const int sessao = ctx.aleatorio.sessaoNova();
    EscreveLog(log, CorPreta,
               QStringLiteral("ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
    const QString codigo = ctx.CodigoAtivacao();
    const QString resposta = ChamadaComLog(
        ctx, log,
        "AssociarAssinatura(" + QString::number(sessao) + ',' + codigo + ',' + cnpjs + ',' +
            assinatura + ')',
        [&] { return ctx.dll.AssociarAssinatura(sessao, codigo, cnpjs, assinatura); });
    // Judged on this worker's own reply: another send may change CampoB
    // in between.
    const QString retorno = ExtraiCampo(resposta, 1);
    ctx.estado.setCampoB(retorno);
    if (retorno != QLatin1String("13000")) return;
    naGui(ctx.janela(Janela::Principal), [&principal = ctx.principal()] {
        principal.habilitar({"BtAtualizarSat", "BtTestesVCan", "BtTrocarCodAtiv", "BtTestFimAFim",
                             "BtBloquearSat", "BtDesbloquearSat"},
                            true);
    });
}
