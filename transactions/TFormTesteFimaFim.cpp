#include "transactions/TFormTesteFimaFim.h"

TFormTesteFimaFim::TFormTesteFimaFim(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT Tivoro - Teste Fim a Fim"), Borda::SemBotoes) {
    setObjectName("TFormTesteFimaFim");
}
