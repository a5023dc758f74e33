#include "transactions/TesteFimAFim.h"

#include "transactions/DocumentosTeste.h"
#include "transactions/TFormTesteFimaFim.h"
#include "ui/Contexto.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

void executarTesteFimAFim(Contexto& ctx) {
    ParametrosTeste& p = ctx.principal().parametrosTeste();
    p.TesteConfirmado = 0;
    static_cast<TFormTesteFimaFim*>(ctx.janela(Janela::TesteFimaFim))
        ->perguntar(QStringLiteral("TOOL SAT Tivoro - Teste Fim a Fim"));
    if (p.TesteConfirmado != 1) return;

    const OpcoesLog rolando{false, true};
    QPlainTextEdit* log = ctx.principal().RichEdit1();
    EscreveLog(log, CorTX, QStringLiteral("[TX] Enviando teste fim a fim..."), rolando);
    const QString xml = xmlCupomTeste(p, TotalVazio::Par);
    const QString resposta = chamadaComLog(
        ctx, log, xml,
        [&] {
            return ctx.dll.TesteFimAFim(ctx.aleatorio.sessaoAleatoria(), ctx.CodigoAtivacao(),
                                        xml.toUtf8());
        },
        rolando);
    MostraResposta(ctx, resposta);
    AtualizaStatusConexao(ctx, true);
}
