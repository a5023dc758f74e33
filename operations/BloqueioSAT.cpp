#include "operations/BloqueioSAT.h"

#include "ui/Contexto.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

namespace {
using FuncaoBloqueio = QString (DllSat::*)(int, const QString&);

void executar(Contexto& ctx, const QString& nome, FuncaoBloqueio funcao) {
    const int sessao = ctx.aleatorio.sessaoNova();
    const QString codigo = ctx.CodigoAtivacao();
    chamadaComLog(ctx, ctx.principal().RichEdit1(),
                  nome + '(' + QString::number(sessao) + ',' + codigo + ')',
                  [&] { return (ctx.dll.*funcao)(sessao, codigo); });
    AtualizaStatusConexao(ctx, true);
}
}  // namespace

void BloquearSAT(Contexto& ctx) {
    executar(ctx, QStringLiteral("BloquearSAT"), &DllSat::BloquearSAT);
}

void DesbloquearSAT(Contexto& ctx) {
    executar(ctx, QStringLiteral("DesbloquearSAT"), &DllSat::DesbloquearSAT);
}
