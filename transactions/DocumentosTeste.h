#pragma once

#include <QString>

struct ParametrosTeste;

// The test CF-e documents built from the test parameters, each typed value
// escaped and everything else fixed.

// How the one-item coupon writes its empty total: the end-to-end test as a
// pair of tags, the test sale as one empty-element tag.
enum class TotalVazio { Par, Unico };

// The one-item coupon of the end-to-end test and of the test sale.
QString xmlCupomTeste(const ParametrosTeste& p, TotalVazio total);
// The cancellation of the sale with this key.
QString xmlCancelamentoTeste(const ParametrosTeste& p, const QString& chave);
