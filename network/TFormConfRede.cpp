#include "network/TFormConfRede.h"

TFormConfRede::TFormConfRede(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT Tivoro - Configurar Rede"),
                 Borda::FixaComMinimizar) {
    setObjectName("TFormConfRede");
}
