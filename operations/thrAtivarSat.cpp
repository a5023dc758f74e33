#include "operations/thrAtivarSat.h"

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "core/UF.h"
#include "operations/TFormAtivarSat.h"
#include "ui/Contexto.h"
#include "ui/Log.h"

thrAtivarSat::thrAtivarSat(Contexto& contexto, TFormAtivarSat& janela)
    : ctx(contexto),
      m_janela(&janela),
      m_log(janela.log()),
      m_indiceUF(janela.indiceUF()),
      m_codigo(janela.codigoAtivacao()),
      m_cnpj(janela.cnpjContribuinte()) {}

void thrAtivarSat::iniciar(Contexto& ctx, TFormAtivarSat& janela) {
    Trabalhador::iniciar([trabalho = thrAtivarSat(ctx, janela)]() mutable { trabalho.executar(); });
}

void thrAtivarSat::executar() {
    const int sessao = ctx.aleatorio.sessaoNova();
    const int uf = codigoUF(m_indiceUF);
    EscreveLog(m_log, CorPreta,
               QStringLiteral("ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
    EscreveLog(m_log, CorTX,
               "[TX] AtivarSAT(" + QString::number(sessao) + ",1," + m_codigo + ',' + m_cnpj + ',' +
                   QString::number(uf) + ')');
    const QString resposta = ctx.dll.AtivarSAT(sessao, 1, m_codigo, m_cnpj, uf);
    ctx.estado.setRespostaSAT(resposta);
    // The closing status query may write the slots meanwhile: judge our own copy.
    const QString retorno = ExtraiCampo(resposta, 1);
    ctx.estado.setCampoB(retorno);
    if (retorno == QLatin1String("04000")) {
        ctx.setCodigoAtivacao(m_codigo);
        naGui(ctx.janela(Janela::Principal), [&principal = ctx.principal()] {
            principal.habilitar({"BtAssociarAssinatura", "BtTestFimAFim"}, true);
        });
    }
    EscreveLog(m_log, CorRX, "[RX] " + resposta);
    naGui(m_janela, [j = m_janela] { j->liberarEnvio(); });
}
