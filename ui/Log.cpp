#include "ui/Log.h"

#include <QDateTime>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "core/NaGui.h"
#include "ui/Contexto.h"

namespace {
// The regional long time pattern without its time zone.
QString formatoHora(const QLocale& local) {
    QString formato = local.timeFormat(QLocale::LongFormat);
    formato.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return formato.trimmed();
}
}  // namespace

QString DataHoraLog() {
    const QLocale local = QLocale::system();
    const QDateTime agora = QDateTime::currentDateTime();
    return local.toString(agora.date(), QLocale::ShortFormat) + ' ' +
           local.toString(agora.time(), formatoHora(local));
}

namespace {
qsizetype comum(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

void inserir(QPlainTextEdit* log, const QColor& cor, const QString& linha, const QString& inteira,
             OpcoesLog opcoes) {
    naGui(log, [alvo = log, cor, linha, inteira, opcoes] {
        if (opcoes.moverParaFim) alvo->moveCursor(QTextCursor::End);
        QTextCharFormat formato;
        formato.setForeground(cor);
        QTextCursor cursor = alvo->textCursor();
        // Text the user has selected stays: the line goes in at the caret.
        cursor.clearSelection();
        // A new block is the platform's line break.
        cursor.insertText(alvo->document()->isEmpty() ? linha : '\n' + linha, formato);
        if (inteira != linha)
            cursor.block().setUserData(new LinhaInteira(inteira, comum(linha, inteira)));
        alvo->setTextCursor(cursor);
        if (opcoes.rolar) alvo->verticalScrollBar()->setValue(alvo->verticalScrollBar()->maximum());
        // The caret at the end of a long line pulls the view right, hiding the
        // timestamp and the direction.
        alvo->horizontalScrollBar()->setValue(alvo->horizontalScrollBar()->minimum());
        alvo->viewport()->repaint();
    });
}
}  // namespace

void EscreveLog(QPlainTextEdit* log, const QColor& cor, const QString& corpo, OpcoesLog opcoes) {
    const QString linha = '[' + DataHoraLog() + "] " + corpo;
    inserir(log, cor, linha, linha, opcoes);
}

void EscreveResposta(QPlainTextEdit* log, const QString& resposta, OpcoesLog opcoes) {
    const QString inicio = '[' + DataHoraLog() + "] [RX] ";
    inserir(log, CorRX, inicio + trechoParaLog(resposta), inicio + resposta, opcoes);
}

QString trechoParaLog(const QString& texto) {
    if (texto.size() <= LimiteTrechoLog) return texto;
    // Never half of a character outside the basic plane.
    const qsizetype corte =
        LimiteTrechoLog - (texto[LimiteTrechoLog - 1].isHighSurrogate() ? 1 : 0);
    return texto.left(corte) + QStringLiteral("... (%1 caracteres; mostrados os primeiros %2)")
                                   .arg(texto.size())
                                   .arg(LimiteTrechoLog);
}

QString chamadaComLog(Contexto& ctx, QPlainTextEdit* log, const QString& tx,
                      const std::function<QString()>& chamada, OpcoesLog opcoes) {
    EscreveLog(log, CorTX, "[TX] " + tx, opcoes);
    const QString resposta = chamada();
    ctx.estado.setRespostaSAT(resposta);
    EscreveResposta(log, resposta, opcoes);
    return resposta;
}
