#include "operations/TFormAtivarSat.h"

TFormAtivarSat::TFormAtivarSat(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT Tivoro - Ativar SAT"), Borda::FixaComMinimizar) {
    setObjectName("TFormAtivarSat");
}
