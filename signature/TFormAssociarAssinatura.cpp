#include "signature/TFormAssociarAssinatura.h"

TFormAssociarAssinatura::TFormAssociarAssinatura(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT Tivoro - Associar Assinatura "),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormAssociarAssinatura");
}
