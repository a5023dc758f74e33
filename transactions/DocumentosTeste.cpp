#include "transactions/DocumentosTeste.h"

#include "core/Xml.h"
#include "ui/Janelas.h"

QString XmlTesteFimAFim(const ParametrosTeste& p) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?><CFe><infCFe "
               "versaoDadosEnt=\"0.07\"><ide><CNPJ>") +
           EscapaXml(p.CNPJSoftwareHouse) + QStringLiteral("</CNPJ><signAC>") +
           EscapaXml(p.SignAC) + QStringLiteral("</signAC><numeroCaixa>001") +
           QStringLiteral("</numeroCaixa></ide><emit><CNPJ>") + EscapaXml(p.CNPJEmitente) +
           QStringLiteral("</CNPJ><IE>") + EscapaXml(p.IEEmitente) +
           QStringLiteral(
               "</IE><indRatISSQN>N</indRatISSQN></emit><dest/><det "
               "nItem=\"1\"><prod><cProd>01</cProd><xProd>Produto "
               "1</xProd><NCM>85447030</NCM>") +
           QStringLiteral(
               "<CFOP>5001</CFOP><uCom>un</uCom><qCom>2.0000</qCom><vUnCom>0.10</"
               "vUnCom><indRegra>A</indRegra></prod><imposto><ICMS><ICMS00><Orig>0</"
               "Orig><CST>00</CST><pICMS>5.00</pICMS></ICMS00></ICMS><PIS><PISAliq><CST>"
               "01</CST><vBC>1.00</vBC><pPIS>1.0000</pPIS>") +
           QStringLiteral(
               "</PISAliq></PIS><COFINS><COFINSAliq><CST>01</CST><vBC>1.00</"
               "vBC><pCOFINS>1.0000</pCOFINS></COFINSAliq></COFINS></imposto></"
               "det><total></total><pgto><MP><cMP>01</cMP><vMP>12.00</vMP></MP></"
               "pgto></infCFe></CFe>");
}

QString XmlVendaTeste(const ParametrosTeste& p) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?><CFe><infCFe "
               "versaoDadosEnt=\"0.07\"><ide><CNPJ>") +
           EscapaXml(p.CNPJSoftwareHouse) + QStringLiteral("</CNPJ><signAC>") +
           EscapaXml(p.SignAC) +
           QStringLiteral("</signAC><numeroCaixa>001</numeroCaixa></ide><emit><CNPJ>") +
           EscapaXml(p.CNPJEmitente) + QStringLiteral("</CNPJ><IE>") + EscapaXml(p.IEEmitente) +
           QStringLiteral(
               "</IE><indRatISSQN>N</indRatISSQN></emit><dest/><det "
               "nItem=\"1\"><prod><cProd>01</cProd><xProd>Produto "
               "1</xProd><NCM>85447030</NCM><CFOP>5001</CFOP><uCom>un</"
               "uCom><qCom>2.0000</qCom>") +
           QStringLiteral(
               "<vUnCom>0.10</vUnCom><indRegra>A</indRegra></prod><imposto><ICMS><"
               "ICMS00><Orig>0</Orig><CST>00</CST><pICMS>5.00</pICMS></ICMS00></"
               "ICMS><PIS><PISAliq><CST>01</CST><vBC>1.00</vBC><pPIS>1.0000</pPIS></"
               "PISAliq></PIS><COFINS><COFINSAliq><CST>01</CST>") +
           QStringLiteral(
               "<vBC>1.00</vBC><pCOFINS>1.0000</pCOFINS></COFINSAliq></COFINS></"
               "imposto></det><total/><pgto><MP><cMP>01</cMP><vMP>12.00</vMP></MP></"
               "pgto></infCFe></CFe>");
}

QString XmlCancelamentoTeste(const ParametrosTeste& p, const QString& chave) {
    return QStringLiteral("<CFeCanc><infCFe chCanc=\"") + EscapaAtributoXml(chave) +
           QStringLiteral("\"><ide><CNPJ>") + EscapaXml(p.CNPJSoftwareHouse) +
           QStringLiteral("</CNPJ><signAC>") + EscapaXml(p.SignAC) +
           QStringLiteral(
               "</signAC><numeroCaixa>001</numeroCaixa></ide><emit/><dest></"
               "dest><total/><infAdic/></infCFe></CFeCanc>");
}
