#include "operations/TFormTrocarCodigo.h"

TFormTrocarCodigo::TFormTrocarCodigo(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT TIVORO - Trocar c\u00f3digo de ativa\u00e7\u00e3o"),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormTrocarCodigo");
}
