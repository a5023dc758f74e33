#pragma once

#include <QByteArray>
#include <QString>

class Contexto;
class QColor;
class QPlainTextEdit;
class TFormSetupAutom;

// The bench cycle, device after device: activation, association, restart,
// end-to-end test, then the wait for the next device, until a refusal or a
// stop. Runs on its own thread and never shows a box.
class SetupAtivacao {
  public:
    // The run must already be started (its number and first pair published).
    static void iniciar(Contexto& ctx, TFormSetupAutom& janela, int execucao);
    // Keeps the window, whose controls it reads at each use.
    SetupAtivacao(Contexto& contexto, TFormSetupAutom& janela, int execucao);

    void executar();

    // The end-to-end test's fixed coupon.
    static QByteArray cupomTeste();

  private:
    bool ciclo(int& sessao);
    bool ativar(int sessao);
    bool associar(int sessao);
    bool aguardarReinicio(int sessao);
    bool testar(int& sessao);
    bool aguardarTroca(bool passou, int sessaoTeste);
    int proximoSat();

    bool segue();
    void verificar() const;
    void pausa(int ms);
    void publicar(int numero, const char* texto);
    void escrever(const QColor& cor, const QString& corpo);
    QString guardar(const QString& resposta);
    QString consultar(int sessao);

    QString codigoAtivacao() const;
    QString cnpjContribuinte() const;
    QString cnpjSoftwareHouse() const;
    QString assinatura() const;
    int codigoDaUF() const;

    Contexto& ctx;
    TFormSetupAutom* m_janela;
    QPlainTextEdit* m_log;
    int m_execucao;
};
