#include "transactions/TFormTesteVendaCanc.h"

TFormTesteVendaCanc::TFormTesteVendaCanc(Contexto& ctx)
    : Formulario(ctx, QStringLiteral("TOOL SAT Tivoro - Teste de venda e cancelamento"),
                 Borda::RedimensionavelComMinimizar) {
    setObjectName("TFormTesteVendaCanc");
}
