#include "operations/TFormConsultas.h"

TFormConsultas::TFormConsultas(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT Tivoro - Consultar SAT"), Borda::FixaComMinimizar) {
    setObjectName("TFormConsultas");
}
