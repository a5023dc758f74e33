#include "operations/thrAtivarSat.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "core/UF.h"
#include "operations/TFormAtivarSat.h"
#include "ui/CampoMascara.h"
#include "ui/Contexto.h"
#include "ui/Log.h"

namespace {
struct Campos {
    QString codigo;
    QString cnpj;
};
}  // namespace

void thrAtivarSat::iniciar(Contexto& ctx, TFormAtivarSat& janela) {
    Trabalhador::iniciar([trabalho = thrAtivarSat(ctx, janela)]() mutable { trabalho.Execute(); });
}

void thrAtivarSat::Execute() {
    const QPointer<TFormAtivarSat> j = janela;
    QPlainTextEdit* const log =
        lerNaGui<QPlainTextEdit*>([j] { return j ? j->RichEdit1 : nullptr; });
    const int sessao = ctx.aleatorio.sessaoNova();
    const int uf = CodigoUF(lerNaGui<int>([j] { return j ? j->CBoxUF->currentIndex() : -1; }));
    EscreveLog(log, CorPreta,
               QStringLiteral("ESTE PROCESSO PODE DEMORAR ALGUNS MINUTOS, AGUARDE!"));
    const Campos campos = lerNaGui<Campos>([j] {
        return j ? Campos{j->EdCodAtivacao->text(), valorCNPJ(j->MskEdCNPJContr)} : Campos{};
    });
    EscreveLog(log, CorTX,
               "[TX] AtivarSAT(" + QString::number(sessao) + ",1," + campos.codigo + ',' +
                   campos.cnpj + ',' + QString::number(uf) + ')');
    const QString resposta = ctx.dll.AtivarSAT(sessao, 1, campos.codigo, campos.cnpj, uf);
    ctx.estado.setRespostaSAT(resposta);
    // The closing status query may write the slots meanwhile: judge our own copy.
    const QString retorno = ExtraiCampo(resposta, 1);
    ctx.estado.setCampoB(retorno);
    if (retorno == QLatin1String("04000")) {
        ctx.setCodigoAtivacao(campos.codigo);
        naGui([&principal = ctx.principal()] {
            principal.habilitar({"BtAssociarAssinatura", "BtTestFimAFim"}, true);
        });
    }
    EscreveLog(log, CorRX, "[RX] " + resposta);
    naGui([j] {
        if (j) j->BtEnviar->setEnabled(true);
    });
}
