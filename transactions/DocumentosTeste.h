#pragma once

#include <QString>

struct ParametrosTeste;

// The test CF-e documents built from the test parameters, each typed value
// escaped and everything else fixed.

// The coupon of the end-to-end test.
QString XmlTesteFimAFim(const ParametrosTeste& p);
// The one-item test sale.
QString XmlVendaTeste(const ParametrosTeste& p);
// The cancellation of the sale with this key.
QString XmlCancelamentoTeste(const ParametrosTeste& p, const QString& chave);
