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
      m_log(janela.log()),
      m_cnpjs(janela.cnpjSoftwareHouse() + janela.cnpjContribuinte()),
      m_assinatura(janela.assinatura()) {}

void ThreadAssociarAssinatura::iniciar(Contexto& ctx, const TFormAssociarAssinatura& janela) {
    Trabalhador::iniciar(
        [trabalho = ThreadAssociarAssinatura(ctx, janela)]() mutable { trabalho.executar(); });
}

void ThreadAssociarAssinatura::executar() {
    const int sessao = ctx.aleatorio.sessaoNova();
    EscreveLog(m_log, CorPreta,
               QStringLiteral("ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
    const QString codigo = ctx.CodigoAtivacao();
    const QString resposta = chamadaComLog(
        ctx, m_log,
        "AssociarAssinatura(" + QString::number(sessao) + ',' + codigo + ',' + m_cnpjs + ',' +
            m_assinatura + ')',
        [&] { return ctx.dll.AssociarAssinatura(sessao, codigo, m_cnpjs, m_assinatura); });
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
