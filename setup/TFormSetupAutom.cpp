#include "setup/TFormSetupAutom.h"

TFormSetupAutom::TFormSetupAutom(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT Tivoro - Setup Autom\u00e1tico"),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormSetupAutom");
}
