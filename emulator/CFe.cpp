#include "emulator/CFe.h"

#include <algorithm>

#include "emulator/Documentos.h"
#include "emulator/Resumo.h"
#include "emulator/Texto.h"

namespace emulador {

std::string novaChave(int uf, const std::string& cnpj, const std::string& serie, int numero,
                      std::int64_t ms, int cnf) {
    const std::string cnpj14 = std::string(cnpj.size() < 14 ? 14 - cnpj.size() : 0, '0') + cnpj;
    const std::string corpo = comZeros(uf, 2) + dataHora(ms, "%y%m") + cnpj14 + "59" + serie +
                              comZeros(numero % 1000000, 6) + comZeros(cnf, 6);
    return corpo + std::to_string(digitoChave(corpo));
}

int codigoNumerico() {
    return sorteado(0, 999999);
}

namespace {

std::string versaoSB(const Estado& e) {
    std::string v = e.versaoSoftware;
    v.erase(std::remove(v.begin(), v.end(), '.'), v.end());
    return v;
}

void escreverIde(EscritorXml& x, const Estado& e, const std::string& chave, std::int64_t ms,
                 const std::string& cnpjSH, const std::string& signAC, const std::string& caixa,
                 const std::string& qr) {
    x.abrir("ide")
        .elemento("cUF", chave.substr(0, 2))
        .elemento("cNF", chave.substr(37, 6))
        .elemento("mod", "59")
        .elemento("nserieSAT", e.serie)
        .elemento("nCFe", chave.substr(31, 6))
        .elemento("dEmi", dataHora(ms, "%Y%m%d"))
        .elemento("hEmi", dataHora(ms, "%H%M%S"))
        .elemento("cDV", chave.substr(43))
        .elemento("tpAmb", "2")
        .elemento("CNPJ", cnpjSH)
        .elemento("signAC", signAC)
        .elemento("assinaturaQRCODE", qr)
        .elemento("numeroCaixa", caixa)
        .fechar();
}

void escreverAssinatura(EscritorXml& x, const std::string& chave) {
    x.abrir("Signature")
        .atributo("xmlns", "http://www.w3.org/2000/09/xmldsig#")
        .elemento("SignatureValue", assinaturaFalsa("CFe" + chave))
        .fechar();
}

void escreverItem(EscritorXml& x, const Item& item, int numero) {
    x.abrir("det").atributo("nItem", std::to_string(numero)).abrir("prod");
    for (const char* tag : {"cProd", "xProd", "NCM", "CFOP", "uCom", "qCom", "vUnCom"})
        x.elemento(tag, item.no->valor(std::string("prod/") + tag));
    x.elemento("vProd", valor(item.vProd))
        .elemento("indRegra", item.no->valor("prod/indRegra"))
        .elemento("vItem", valor(item.vItem))
        .fechar()
        .fechar();
}

}  // namespace

std::string cfeEmitido(const Estado& e, const Venda& v, const std::string& chave, std::int64_t ms,
                       const std::string& qr) {
    EscritorXml x;
    x.abrir("CFe")
        .abrir("infCFe")
        .atributo("Id", "CFe" + chave)
        .atributo("versao", "0.07")
        .atributo("versaoDadosEnt", v.versaoDadosEnt)
        .atributo("versaoSB", versaoSB(e));
    escreverIde(x, e, chave, ms, v.cnpjSoftwareHouse, v.signAC, v.numeroCaixa, qr);
    x.abrir("emit").elemento("CNPJ", v.cnpjEmitente).elemento("IE", v.ieEmitente).fechar();
    x.abrir("dest");
    if (!v.destCnpj.empty()) x.elemento("CNPJ", v.destCnpj);
    if (!v.destCpf.empty()) x.elemento("CPF", v.destCpf);
    x.fechar();
    for (std::size_t i = 0; i < v.itens.size(); ++i) escreverItem(x, v.itens[i], int(i + 1));
    x.abrir("total").elemento("vCFe", valor(v.total)).fechar();
    x.abrir("pgto");
    for (const auto& [meio, quantia] : v.pagamentos)
        x.abrir("MP").elemento("cMP", meio).elemento("vMP", valor(quantia)).fechar();
    x.elemento("vTroco", valor(std::max<std::int64_t>(0, v.pago - v.total))).fechar();
    x.fechar();
    escreverAssinatura(x, chave);
    x.fechar();
    return x.texto();
}

std::string cfeCancelamento(const Estado& e, const std::string& chave,
                            const std::string& chaveVenda, std::int64_t ms, const No& inf,
                            const std::string& qr) {
    EscritorXml x;
    x.abrir("CFeCanc")
        .abrir("infCFe")
        .atributo("Id", "CFe" + chave)
        .atributo("chCanc", "CFe" + chaveVenda)
        .atributo("versao", "0.07")
        .elemento("dEmi", dataHora(e.ultimaVendaMs, "%Y%m%d"))
        .elemento("hEmi", dataHora(e.ultimaVendaMs, "%H%M%S"));
    escreverIde(x, e, chave, ms, inf.valor("ide/CNPJ"), inf.valor("ide/signAC"),
                inf.valor("ide/numeroCaixa"), qr);
    x.abrir("emit").elemento("CNPJ", chaveVenda.substr(6, 14)).fechar();
    x.vazio("dest");
    x.abrir("total").elemento("vCFe", e.ultimoValor).fechar();
    x.vazio("infAdic");
    x.fechar();
    escreverAssinatura(x, chave);
    x.fechar();
    return x.texto();
}

std::string csr(const Estado& e, const std::string& cnpj) {
    std::string bytes;
    for (std::string bloco = "CSR" + e.serie + cnpj; bytes.size() < 512;) {
        bloco = sha256(bloco);
        bytes += bloco;
    }
    const std::string corpo = base64(bytes);
    std::string pem = "-----BEGIN CERTIFICATE REQUEST-----\n";
    for (std::size_t i = 0; i < corpo.size(); i += 64) pem += corpo.substr(i, 64) + '\n';
    pem += "-----END CERTIFICATE REQUEST-----\n";
    return base64(pem);
}

}  // namespace emulador
