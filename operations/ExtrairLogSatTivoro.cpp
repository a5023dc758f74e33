#include "operations/ExtrairLogSatTivoro.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "core/NaGui.h"
#include "core/Respostas.h"
#include "core/Trabalhador.h"
#include "operations/ConverBase64.h"
#include "operations/TFormConsultas.h"
#include "ui/Contexto.h"
#include "ui/Log.h"

QString campoDoLog(const QString& resposta) {
    return ExtraiResto(resposta, 5);
}

namespace {
// Only a completed transfer holds a log; anything else (a refusal, no
// device, a failure of the library) is a reply to show.
bool trazLog(const QString& resposta) {
    return ExtraiCampo(resposta, 1) == QLatin1String("15000") && !campoDoLog(resposta).isEmpty();
}
}  // namespace

namespace {
// Lines handed over at a time: a log of megabytes is shown piece by piece, so
// the window keeps answering while it fills.
constexpr qsizetype Fatia = qsizetype(256) * 1024;

// Nothing of it is kept to be undone: that would cost as much again as the
// insertion, and the log is a record, not a draft.
void anexarAoFim(QPlainTextEdit* log, const QString& texto) {
    QTextDocument* documento = log->document();
    const bool desfazer = documento->isUndoRedoEnabled();
    documento->setUndoRedoEnabled(false);
    QTextCursor cursor(documento);
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat formato;
    formato.setForeground(CorPreta);
    // Set once, not looked up again for every line.
    cursor.setCharFormat(formato);
    cursor.beginEditBlock();
    cursor.insertText(texto);
    cursor.endEditBlock();
    documento->setUndoRedoEnabled(desfazer);
    log->viewport()->repaint();
}

qsizetype fimDaFatia(const QString& texto, qsizetype inicio) {
    if (inicio + Fatia >= texto.size()) return texto.size();
    const qsizetype quebra = texto.indexOf(QLatin1Char('\n'), inicio + Fatia);
    return quebra < 0 ? texto.size() : quebra + 1;
}

// A new line at the very end, whatever the caret, in black; each piece ends
// at a line end. A view emptied between pieces (the window reopened) takes
// the log again from its start: it never shows a part without the rest.
void anexarLog(QPlainTextEdit* log, const QString& texto) {
    int deixados = 0;
    qsizetype inicio = 0;
    do {
        const qsizetype fim = fimDaFatia(texto, inicio);
        bool entregue = false;
        bool esvaziado = false;
        naGuiEsperando(log, [&] {
            entregue = true;
            QTextDocument* documento = log->document();
            esvaziado = inicio > 0 && documento->characterCount() != deixados;
            if (esvaziado) return;
            const QString parte = texto.mid(inicio, fim - inicio);
            anexarAoFim(log, inicio == 0 ? '\n' + parte : parte);
            deixados = documento->characterCount();
        });
        // A view that is gone takes nothing more.
        if (!entregue) return;
        inicio = esvaziado ? 0 : fim;
    } while (inicio < texto.size());
}
}  // namespace

ExtrairLogSatTivoro::ExtrairLogSatTivoro(Contexto& contexto, TFormConsultas& janela)
    : ctx(contexto), m_janela(&janela), m_log(janela.log()) {}

void ExtrairLogSatTivoro::iniciar(Contexto& ctx, TFormConsultas& janela) {
    Trabalhador::iniciar(
        [trabalho = ExtrairLogSatTivoro(ctx, janela)]() mutable { trabalho.executar(); });
}

void ExtrairLogSatTivoro::executar() {
    const int sessao = ctx.aleatorio.sessaoNova();
    const QString numero = QString::number(sessao);
    habilitar(false);
    EscreveLog(m_log, CorTX, "[TX] ExtrairLogs(" + numero + ')');
    const QString resposta = ctx.dll.ExtrairLogs(sessao, ctx.CodigoAtivacao());
    // A reply without a log leaves the log extracted before for "Salvar Log".
    if (!trazLog(resposta)) {
        EscreveLog(m_log, CorRX, "[RX] (" + numero + ')' + resposta);
        habilitar(true);
        return;
    }
    ctx.inicial().setRetornoLog(resposta);
    const QString campo = campoDoLog(resposta);
    ctx.estado.setCampoA(campo);
    // Decoded here, so that the window only has the insertion to do.
    const QString texto = textoDeBytes(DecodificarBase64(campo));
    ctx.estado.setCampoA(texto);
    anexarLog(m_log, texto);
    ctx.estado.setCampoA({});
    habilitar(true);
}

void ExtrairLogSatTivoro::habilitar(bool habilitado) {
    naGui(m_janela, [j = m_janela, habilitado] { j->habilitarControles(habilitado); });
}
