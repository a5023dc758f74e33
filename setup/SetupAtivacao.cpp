#include "setup/SetupAtivacao.h"

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "core/UF.h"
#include "setup/TFormSetupAutom.h"
#include "ui/Contexto.h"
#include "ui/Log.h"
#include "ui/Sessao.h"

namespace {
// Thrown when a newer run exists: this one ends at once, without a trace.
struct Substituida {};

bool codigo(const QString& resposta, const char* esperado) {
    return ExtraiCampo(resposta, 1) == QLatin1String(esperado);
}

const QString TextoTimeout = QStringLiteral("TIMEOUT");

// A device busy with another call (the window's own status query, say) is
// still on the port: it neither left nor arrived.
bool ocupado(const QString& resposta) {
    return codigo(resposta, "08098");
}
}  // namespace

SetupAtivacao::SetupAtivacao(Contexto& contexto, TFormSetupAutom& janela, int execucao)
    : ctx(contexto), m_janela(&janela), m_log(janela.log()), m_execucao(execucao) {}

void SetupAtivacao::iniciar(Contexto& ctx, TFormSetupAutom& janela, int execucao) {
    Trabalhador::iniciar(
        [trabalho = SetupAtivacao(ctx, janela, execucao)]() mutable { trabalho.executar(); });
}

// Fourteen zeros for the software house's CNPJ, 344 for the signature.
QByteArray SetupAtivacao::cupomTeste() {
    return QStringLiteral(
               R"(<?xml version="1.0" encoding="utf-8"?><CFe><infCFe versaoDadosEnt="0.07">)"
               R"(<ide><CNPJ>%1</CNPJ><signAC>%2</signAC><numeroCaixa>001</numeroCaixa></ide>)"
               R"(<emit><CNPJ>12345678000195</CNPJ><IE>111222333444</IE><IM>123123</IM>)"
               R"(<cRegTribISSQN>1</cRegTribISSQN><indRatISSQN>N</indRatISSQN></emit><dest/>)"
               R"(<det nItem="1"><prod><cProd>01</cProd><xProd>Produto 1</xProd>)"
               R"(<NCM>85447030</NCM><CFOP>5001</CFOP><uCom>un</uCom><qCom>2.0000</qCom>)"
               R"(<vUnCom>1.000</vUnCom><indRegra>A</indRegra></prod>)"
               R"(<imposto><ICMS><ICMS00><Orig>0</Orig><CST>00</CST><pICMS>5.00</pICMS>)"
               R"(</ICMS00></ICMS>)"
               R"(<PIS><PISAliq><CST>01</CST><vBC>1.00</vBC><pPIS>1.0000</pPIS></PISAliq></PIS>)"
               R"(<COFINS><COFINSAliq><CST>01</CST><vBC>1.00</vBC><pCOFINS>1.0000</pCOFINS>)"
               R"(</COFINSAliq></COFINS></imposto></det><total></total>)"
               R"(<pgto><MP><cMP>01</cMP><vMP>12.00</vMP></MP></pgto></infCFe></CFe>)")
        .arg(QString(14, QLatin1Char('0')), QString(344, QLatin1Char('0')))
        .toLatin1();
}

void SetupAtivacao::executar() {
    try {
        int sessao = ctx.aleatorio.sessaoNova();
        while (segue())
            if (!ciclo(sessao)) return;
    } catch (const Substituida&) {
    }
}

bool SetupAtivacao::ciclo(int& sessao) {
    if (!ativar(sessao)) return false;
    const int sessaoAssociacao = ctx.aleatorio.sessaoAleatoria();
    escrever(CorTX, QStringLiteral("[TX] Associando assinatura..."));
    pausa(60000);
    if (!associar(sessaoAssociacao) || !aguardarReinicio(sessaoAssociacao)) return false;
    publicar(4, "SAT REINICIADO");
    pausa(20000);
    int sessaoTeste = 0;
    const bool passou = testar(sessaoTeste);
    if (!aguardarTroca(passou, sessaoTeste)) return false;
    sessao = proximoSat();
    return true;
}

bool SetupAtivacao::ativar(int sessao) {
    const int uf = codigoDaUF();
    const QString codigoAtiv = codigoAtivacao();
    const QString cnpj = cnpjContribuinte();
    escrever(CorTX, "[TX] AtivarSAT(" + QString::number(sessao) + ',' + codigoAtiv + ',' + cnpj +
                        ',' + QString::number(uf) + ')');
    const QString resposta = guardar(ctx.dll.AtivarSAT(sessao, 1, codigoAtiv, cnpj, uf));
    pausa(500);
    escrever(CorRX, "[RX] " + resposta);
    if (!codigo(resposta, "04000")) {
        publicar(2, "ERRO");
        naGui(m_janela, [j = m_janela] { j->liberarExecucao(); });
        return false;
    }
    publicar(2, "SAT ATIVO");
    naGui(ctx.janela(Janela::Principal), [&principal = ctx.principal()] {
        principal.habilitar({"BtTestFimAFim", "BtAssociarAssinatura"}, true);
    });
    ctx.setCodigoAtivacao(codigoAtivacao());
    return true;
}

bool SetupAtivacao::associar(int sessao) {
    const QString codigoAtiv = codigoAtivacao();
    const QString cnpjs = cnpjSoftwareHouse() + cnpjContribuinte();
    const QString sign = assinatura();
    escrever(CorTX, "[TX] AssociarAssinatura(" + QString::number(sessao) + ',' + codigoAtiv + ',' +
                        cnpjs + ',' + sign + ')');
    const QString resposta = guardar(ctx.dll.AssociarAssinatura(sessao, codigoAtiv, cnpjs, sign));
    pausa(500);
    escrever(CorRX, "[RX] " + resposta);
    if (!codigo(resposta, "13000")) {
        publicar(3, "ERRO");
        return false;
    }
    publicar(3, "SAT ASSINADO");
    return true;
}

// The device restarts after the association; it is back when it answers.
bool SetupAtivacao::aguardarReinicio(int sessao) {
    QString resposta = consultar(sessao);
    pausa(2000);
    while (!codigo(resposta, "08000") && segue()) {
        resposta = consultar(sessao);
        pausa(5000);
    }
    if (!segue()) {
        publicar(0, "CANCELADO");
        return false;
    }
    return true;
}

bool SetupAtivacao::testar(int& sessao) {
    sessao = ctx.aleatorio.sessaoAleatoria();
    escrever(CorTX, QStringLiteral("[TX] Iniciando teste fim a fim..."));
    const QByteArray cupom = cupomTeste();
    const QString codigoAtiv = codigoAtivacao();
    escrever(CorTX, "[TX] TesteFimAFim(" + QString::number(sessao) + ',' + codigoAtiv + ',' +
                        QString::fromLatin1(cupom) + ')');
    const QString resposta = guardar(ctx.dll.TesteFimAFim(sessao, codigoAtiv, cupom));
    pausa(500);
    escrever(CorRX, "[RX] " + resposta);
    pausa(2000);
    return codigo(resposta, "09000");
}

// The tested device is taken off its port, then the next one answers.
bool SetupAtivacao::aguardarTroca(bool passou, int sessaoTeste) {
    int sessao = sessaoTeste;
    QString resposta;
    if (passou) {
        sessao = ctx.aleatorio.sessaoAleatoria();
        escrever(CorRX, QStringLiteral("DESCONECTE E CONECTE OUTRO SAT PARA CONTINUAR, OU CLIQUE "
                                       "EM CANCELAR PARA SAIR!"));
        publicar(5, "SAT TESTADO");
        pausa(200);
    } else {
        publicar(5, "ERRO TESTE");
        escrever(CorRX, QStringLiteral("OCORREU UM ERRO NO TESTE FIM A FIM, CLIQUE EM CANCELAR E "
                                       "VERIFIQUE O ERRO, OU CONECTE OUTRO SAT PARA CONTINUAR!"));
        pausa(2000);
    }
    resposta = consultar(sessao);
    while ((codigo(resposta, "08000") || ocupado(resposta)) && segue()) {
        resposta = consultar(sessao);
        pausa(2000);
    }
    if (!segue()) {
        publicar(5, "CANCELADO");
        return false;
    }
    sessao = ctx.aleatorio.sessaoAleatoria();
    if (passou) pausa(200);
    resposta = consultar(sessao);
    while (segue() &&
           (resposta == TextoPortaNaoPronta || resposta == TextoTimeout || ocupado(resposta))) {
        resposta = consultar(sessao);
        pausa(5000);
    }
    if (!segue()) {
        publicar(5, "CANCELADO");
        return false;
    }
    return true;
}

// The next device answers: its serial number is shown, and its status query's
// session number is the next activation's.
int SetupAtivacao::proximoSat() {
    publicar(1, "SAT PCONECTADO");
    const int sessao = ctx.aleatorio.sessaoAleatoria();
    pausa(500);
    const QString resposta = guardar(ctx.dll.ConsultarStatusOperacional(sessao, QString()));
    const QString serie = ExtraiCampo(resposta, 5);
    ctx.estado.setCampoB(serie);
    naGui(m_janela, [j = m_janela, serie] { j->mostrarConectado(serie); });
    escrever(CorRX, QStringLiteral("[TX] SAT CONECTADO..."));
    return sessao;
}

bool SetupAtivacao::segue() {
    verificar();
    return ctx.estado.execucaoSetupSegue(m_execucao);
}

void SetupAtivacao::verificar() const {
    if (ctx.estado.execucaoSetupSubstituida(m_execucao)) throw Substituida{};
}

void SetupAtivacao::pausa(int ms) {
    ctx.relogio.pausa(ms);
    verificar();
}

void SetupAtivacao::publicar(int numero, const char* texto) {
    if (!ctx.estado.publicarEtapa(m_execucao, numero, QString::fromLatin1(texto)))
        throw Substituida{};
}

void SetupAtivacao::escrever(const QColor& cor, const QString& corpo) {
    verificar();
    EscreveLog(m_log, cor, corpo, OpcoesLog{false, true});
}

QString SetupAtivacao::guardar(const QString& resposta) {
    verificar();
    ctx.estado.setRespostaSAT(resposta);
    ctx.estado.setCampoA(ExtraiCampo(resposta, 1));
    return resposta;
}

QString SetupAtivacao::consultar(int sessao) {
    return guardar(ctx.dll.ConsultarSAT(sessao));
}

// The controls are read at each use, not copied at the start: a value edited
// during a run takes effect at its next use.
QString SetupAtivacao::codigoAtivacao() const {
    return lerNaGui<QString>(m_janela, [j = m_janela] { return j->codigoAtivacao(); });
}

QString SetupAtivacao::cnpjContribuinte() const {
    return lerNaGui<QString>(m_janela, [j = m_janela] { return j->cnpjContribuinte(); });
}

QString SetupAtivacao::cnpjSoftwareHouse() const {
    return lerNaGui<QString>(m_janela, [j = m_janela] { return j->cnpjSoftwareHouse(); });
}

QString SetupAtivacao::assinatura() const {
    return lerNaGui<QString>(m_janela, [j = m_janela] { return j->assinatura(); });
}

int SetupAtivacao::codigoDaUF() const {
    int indice = -1;
    naGuiEsperando(m_janela, [&indice, j = m_janela] { indice = j->indiceUF(); });
    return codigoUF(indice);
}
