#include "emulator/Venda.h"

#include <algorithm>
#include <cmath>

#include "emulator/Documentos.h"
#include "emulator/Texto.h"

namespace emulador {

namespace {

// Fields of 15 positions, 2 of them decimals: the largest amount, in cents,
// the device computes with; summed over every item still far inside an int64.
constexpr std::int64_t MaximoCentavos = 999999999999999;

std::int64_t centavos(double v) {
    return std::llround(v * 100.0);
}

// A value that fits those fields, or 0 and false.
bool valorDecimal(const std::string& t, double& v) {
    v = 0;
    double d = 0;
    if (t.find_first_not_of("0123456789.eE+-") != std::string::npos || !decimal(t, d) ||
        !std::isfinite(d) || std::fabs(d) * 100.0 > double(MaximoCentavos))
        return false;
    v = d;
    return true;
}

// An optional amount: absent is zero, present must be a value not below zero.
bool opcional(const std::string& t, double& v) {
    v = 0;
    return t.empty() || (valorDecimal(t, v) && v >= 0);
}

class Calculo {
  public:
    explicit Calculo(Venda& v) : m_v(v) {}
    void falha(int cccc) {
        if (!m_v.cccc) m_v.cccc = cccc;
    }
    void item(const No& det, int numero) {
        Item item{&det};
        long long n = 0;
        if (!inteiro(det.atributo("nItem"), n) || n != numero) falha(1019);
        double q = 0, un = 0, desc = 0, outro = 0;
        if (!valorDecimal(det.valor("prod/qCom"), q) || q <= 0) falha(1464);
        if (!valorDecimal(det.valor("prod/vUnCom"), un) || un <= 0) falha(1465);
        const std::string regra = det.valor("prod/indRegra");
        if (regra != "A" && regra != "T") falha(1467);
        if (!opcional(det.valor("prod/vDesc"), desc)) falha(1468);
        if (!opcional(det.valor("prod/vOutro"), outro)) falha(1469);
        double bruto = q * un * 100.0;
        if (std::fabs(bruto) > double(MaximoCentavos)) {
            falha(1999);
            bruto = 0;
        }
        // A: rounded; T: truncated, past the float's error.
        item.vProd = regra == "T" ? std::int64_t(std::floor(bruto + 1e-6)) : std::llround(bruto);
        item.vItem = item.vProd - centavos(desc) + centavos(outro);
        if (item.vItem < 0)
            falha(1998);
        else if (m_v.total + item.vItem > MaximoCentavos)
            falha(1999);
        else
            m_v.total += item.vItem;
        m_v.itens.push_back(item);
    }
    void pagamento(const No& mp) {
        static const std::string meios[] = {"01", "02", "03", "04", "05",
                                            "10", "11", "12", "13", "99"};
        const std::string meio = mp.valor("cMP");
        if (std::find(std::begin(meios), std::end(meios), meio) == std::end(meios)) falha(1527);
        double vmp = 0;
        if (!valorDecimal(mp.valor("vMP"), vmp) || vmp <= 0) falha(1528);
        m_v.pagamentos.emplace_back(meio, centavos(vmp));
        if (m_v.pago + centavos(vmp) > MaximoCentavos)
            falha(1528);
        else
            m_v.pago += centavos(vmp);
    }

  private:
    Venda& m_v;
};

}  // namespace

Venda calcular(const No& cfe) {
    Venda v;
    const No* inf = cfe.filho("infCFe");
    if (cfe.nome != "CFe" || !inf) return malformada();
    v.versaoDadosEnt = inf->atributo("versaoDadosEnt");
    v.cnpjSoftwareHouse = inf->valor("ide/CNPJ");
    v.signAC = inf->valor("ide/signAC");
    v.numeroCaixa = inf->valor("ide/numeroCaixa");
    v.cnpjEmitente = inf->valor("emit/CNPJ");
    v.ieEmitente = inf->valor("emit/IE");
    v.destCnpj = inf->valor("dest/CNPJ");
    v.destCpf = inf->valor("dest/CPF");
    Calculo c(v);
    if (!cnpjValido(v.cnpjSoftwareHouse)) c.falha(1224);
    if (!cnpjValido(v.cnpjEmitente)) c.falha(1207);
    if (v.ieEmitente.empty()) c.falha(1229);
    if (!v.destCnpj.empty() && !cnpjValido(v.destCnpj)) c.falha(1235);
    // Both go back in the reply's own field: anything else would break its layout.
    if (!v.destCpf.empty() && !cpfValido(v.destCpf)) c.falha(1237);
    int numero = 0;
    for (const No* det : inf->todos("det")) c.item(*det, ++numero);
    if (v.itens.empty()) c.falha(1999);
    if (const No* pgto = inf->filho("pgto"))
        for (const No* mp : pgto->todos("MP")) c.pagamento(*mp);
    if (v.pagamentos.empty()) c.falha(1527);
    if (v.pago < v.total) c.falha(1408);
    return v;
}

Venda malformada() {
    Venda v;
    v.cccc = 1999;
    return v;
}

std::string valor(std::int64_t centavos) {
    return std::to_string(centavos / 100) + '.' + comZeros(centavos % 100, 2);
}

}  // namespace emulador
