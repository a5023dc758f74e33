#include "signature/ThreadAssociarAssinatura.h"

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "signature/TFormAssociarAssinatura.h"
#include "ui/Contexto.h"
#include "ui/Log.h"

namespace {
struct Campos {
    QString cnpjs;
    QString assinatura;
};
}  // namespace

ThreadAssociarAssinatura::ThreadAssociarAssinatura(Contexto& ctx, TFormAssociarAssinatura& janela)
    : Trabalhador([&ctx, &janela] { Execute(ctx, janela); }) {}

void ThreadAssociarAssinatura::iniciar(Contexto& ctx, TFormAssociarAssinatura& janela) {
    (new ThreadAssociarAssinatura(ctx, janela))->start();
}

void ThreadAssociarAssinatura::Execute(Contexto& ctx, TFormAssociarAssinatura& janela) {
    const int sessao = ctx.aleatorio.sessaoNova();
    EscreveLog(janela.log(), CorPreta,
               QStringLiteral("ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
    const Campos campos = lerNaGui<Campos>([&janela] {
        return Campos{janela.cnpjSoftwareHouse() + janela.cnpjContribuinte(), janela.assinatura()};
    });
    const QString codigo = ctx.CodigoAtivacao();
    const QString resposta = ChamadaComLog(
        ctx, janela.log(),
        "AssociarAssinatura(" + QString::number(sessao) + ',' + codigo + ',' + campos.cnpjs + ',' +
            campos.assinatura + ')',
        [&] {
            return ctx.dll.AssociarAssinatura(sessao, codigo, campos.cnpjs, campos.assinatura);
        });
    // Judged on this worker's own reply: another send may change CampoB
    // in between.
    const QString retorno = ExtraiCampo(resposta, 1);
    ctx.estado.setCampoB(retorno);
    if (retorno != QLatin1String("13000")) return;
    naGui([&principal = ctx.principal()] {
        principal.habilitar({"BtAtualizarSat", "BtTestesVCan", "BtTrocarCodAtiv", "BtTestFimAFim",
                             "BtBloquearSat", "BtDesbloquearSat"},
                            true);
    });
}
