#pragma once

#include <QByteArray>
#include <QString>

class Contexto;
class QPlainTextEdit;
class TFormConsultas;

inline constexpr const char* CodigoProvisorio = "24681357";

// The log an ExtrairLogs reply carries: field 5 and all after it.
QString campoDoLog(const QString& resposta);

// The extraction on a thread of its own: the window's controls are disabled
// meanwhile, the reply is kept in RetornoLog and the decoded log appended to
// the window's log.
class ExtrairLogSatTivoro {
  public:
    // Takes the window's log; on the GUI thread.
    ExtrairLogSatTivoro(Contexto& contexto, TFormConsultas& janela);
    // Started at once; nobody waits for it.
    static void iniciar(Contexto& ctx, TFormConsultas& janela);
    void executar();

  private:
    void habilitar(bool habilitado);

    Contexto& ctx;
    TFormConsultas* m_janela;
    QPlainTextEdit* m_log;
};
