#include "transactions/DocumentosTeste.h"

#include "core/Xml.h"
#include "ui/Janelas.h"

// The values go in through one pass of arg(), so a "%1" typed into one of
// them stays as typed.

QString xmlCupomTeste(const ParametrosTeste& p, TotalVazio total) {
    return QStringLiteral(
               R"(<?xml version="1.0" encoding="utf-8"?><CFe><infCFe versaoDadosEnt="0.07">)"
               R"(<ide><CNPJ>%1</CNPJ><signAC>%2</signAC><numeroCaixa>001</numeroCaixa></ide>)"
               R"(<emit><CNPJ>%3</CNPJ><IE>%4</IE><indRatISSQN>N</indRatISSQN></emit><dest/>)"
               R"(<det nItem="1"><prod><cProd>01</cProd><xProd>Produto 1</xProd>)"
               R"(<NCM>85447030</NCM><CFOP>5001</CFOP><uCom>un</uCom><qCom>2.0000</qCom>)"
               R"(<vUnCom>0.10</vUnCom><indRegra>A</indRegra></prod>)"
               R"(<imposto><ICMS><ICMS00><Orig>0</Orig><CST>00</CST><pICMS>5.00</pICMS>)"
               R"(</ICMS00></ICMS>)"
               R"(<PIS><PISAliq><CST>01</CST><vBC>1.00</vBC><pPIS>1.0000</pPIS></PISAliq></PIS>)"
               R"(<COFINS><COFINSAliq><CST>01</CST><vBC>1.00</vBC><pCOFINS>1.0000</pCOFINS>)"
               R"(</COFINSAliq></COFINS></imposto></det>%5)"
               R"(<pgto><MP><cMP>01</cMP><vMP>12.00</vMP></MP></pgto></infCFe></CFe>)")
        .arg(escapaXml(p.CNPJSoftwareHouse), escapaXml(p.SignAC), escapaXml(p.CNPJEmitente),
             escapaXml(p.IEEmitente),
             total == TotalVazio::Par ? QStringLiteral("<total></total>")
                                      : QStringLiteral("<total/>"));
}

QString xmlCancelamentoTeste(const ParametrosTeste& p, const QString& chave) {
    return QStringLiteral(
               R"(<CFeCanc><infCFe chCanc="%1"><ide><CNPJ>%2</CNPJ><signAC>%3</signAC>)"
               R"(<numeroCaixa>001</numeroCaixa></ide><emit/><dest></dest><total/><infAdic/>)"
               R"(</infCFe></CFeCanc>)")
        .arg(escapaAtributoXml(chave), escapaXml(p.CNPJSoftwareHouse), escapaXml(p.SignAC));
}
