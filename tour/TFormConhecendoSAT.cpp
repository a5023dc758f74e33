#include "tour/TFormConhecendoSAT.h"

TFormConhecendoSAT::TFormConhecendoSAT(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT Tivoro - Conhecendo o SAT"),
                 Borda::RedimensionavelComMinimizar) {
    setObjectName("TFormConhecendoSAT");
}
