#include "operations/thrAtivarSat.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "core/UF.h"
#include "operations/TFormAtivarSat.h"
#include "ui/CampoMascara.h"
#include "ui/Contexto.h"
#include "ui/Log.h"

thrAtivarSat::thrAtivarSat(Contexto& contexto, TFormAtivarSat& alvo)
    : ctx(contexto),
      janela(&alvo),
      log(alvo.RichEdit1),
      indiceUF(alvo.CBoxUF->currentIndex()),
      codigo(alvo.EdCodAtivacao->text()),
      cnpj(valorCNPJ(alvo.MskEdCNPJContr)) {}

void thrAtivarSat::iniciar(Contexto& ctx, TFormAtivarSat& janela) {
    Trabalhador::iniciar([trabalho = thrAtivarSat(ctx, janela)]() mutable { trabalho.executar(); });
}

void thrAtivarSat::executar() {
    const int sessao = ctx.aleatorio.sessaoNova();
    const int uf = CodigoUF(indiceUF);
    EscreveLog(log, CorPreta,
               QStringLiteral("ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
    EscreveLog(log, CorTX,
               "[TX] AtivarSAT(" + QString::number(sessao) + ",1," + codigo + ',' + cnpj + ',' +
                   QString::number(uf) + ')');
    const QString resposta = ctx.dll.AtivarSAT(sessao, 1, codigo, cnpj, uf);
    ctx.estado.setRespostaSAT(resposta);
    // The closing status query may write the slots meanwhile: judge our own copy.
    const QString retorno = ExtraiCampo(resposta, 1);
    ctx.estado.setCampoB(retorno);
    if (retorno == QLatin1String("04000")) {
        ctx.setCodigoAtivacao(codigo);
        naGui(ctx.janela(Janela::Principal), [&principal = ctx.principal()] {
            principal.habilitar({"BtAssociarAssinatura", "BtTestFimAFim"}, true);
        });
    }
    EscreveLog(log, CorRX, "[RX] " + resposta);
    naGui(janela, [j = janela] { j->BtEnviar->setEnabled(true); });
}
