#pragma once

#include <QColor>
#include <QString>
#include <QTextBlockUserData>
#include <functional>

class QPlainTextEdit;
class Contexto;

inline const QColor CorTX{0, 128, 0};
inline const QColor CorRX{0, 0, 255};
inline const QColor CorPreta{0, 0, 0};
inline const QColor CorVermelha{255, 0, 0};
inline const QColor CorOliva{128, 128, 0};

struct OpcoesLog {
    bool moverParaFim = false;  // caret to the end before inserting
    bool rolar = false;         // scroll to the last line after inserting
};

// The timestamp of a log line, from the system's regional settings.
QString DataHoraLog();

// One timestamped line, inserted at the caret (or the end), coloured, and
// painted at once. Safe from any thread: the timestamp is taken now, the
// insertion happens on the GUI thread in order.
void EscreveLog(QPlainTextEdit* log, const QColor& cor, const QString& corpo,
                OpcoesLog opcoes = {});

// A text as a log line holds it: at most a screenful, saying when it was
// shortened. Qt lays a line out whole: megabytes in one line froze the window
// for seconds, and hundreds of megabytes crashed it.
inline constexpr qsizetype LimiteTrechoLog = 4000;
QString trechoParaLog(const QString& texto);

// The whole text of a line shown shortened, kept with the line's block: the
// first `mostrados` characters are the same in both, and copying the line
// past them gives the whole text.
class LinhaInteira : public QTextBlockUserData {
  public:
    LinhaInteira(QString inteira, qsizetype comum) : texto(std::move(inteira)), mostrados(comum) {}
    const QString texto;
    const qsizetype mostrados;
};

// The RX line of a reply: a screenful shown, the whole reply kept for a copy.
void EscreveResposta(QPlainTextEdit* log, const QString& resposta, OpcoesLog opcoes = {});

// The TX line, the call, the reply kept in RespostaSAT, the RX line; returns
// the reply. The RX line shows a screenful of it and copies all of it;
// RespostaSAT holds all of it.
QString chamadaComLog(Contexto& ctx, QPlainTextEdit* log, const QString& tx,
                      const std::function<QString()>& chamada, OpcoesLog opcoes = {});
