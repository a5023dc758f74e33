#pragma once

#include <QString>
#include <initializer_list>

class QLabel;
class QPlainTextEdit;

// The windows of the tool, in the order the start-up creates them.
enum class Janela {
    CodAtivacao,
    Principal,
    ConfRede,
    TrocarCodigo,
    Consultas,
    TesteVendaCanc,
    AssociarAssinatura,
    AtivarSat,
    SetupAutom,
    ConhecendoSAT,
    TesteFimaFim,
};

// What other windows and workers may use of the start window.
class JanelaCodAtivacao {
  public:
    virtual ~JanelaCodAtivacao() = default;
    // The activation code in use; workers write it too.
    virtual QString CodigoAtivacao() const = 0;
    virtual void setCodigoAtivacao(const QString& codigo) = 0;
    // The whole reply of the last log extraction.
    virtual QString RetornoLog() const = 0;
    virtual void setRetornoLog(const QString& resposta) = 0;
};

// The end-to-end test parameters, members of the main window.
struct ParametrosTeste {
    QString CNPJSoftwareHouse;
    QString CNPJEmitente;
    QString IEEmitente;
    QString SignAC;
    int TesteConfirmado = 0;
    int ParametrosTeste = 0;
};

// What other windows and workers may use of the main window. Calls that touch
// controls belong on the GUI thread (a worker goes through naGui).
class JanelaPrincipal {
  public:
    virtual ~JanelaPrincipal() = default;
    // Enables or disables the named menu buttons, in the order given.
    virtual void habilitar(std::initializer_list<const char*> botoes, bool habilitado) = 0;
    // The function buttons, which the update keeps disabled while it runs.
    virtual void habilitarBotoesFuncao(bool habilitado) = 0;
    virtual QPlainTextEdit* RichEdit1() = 0;
    virtual QLabel* LbLayout() = 0;
    virtual QLabel* LbSatVersao() = 0;
    // Status label: colour of the status, caption, painted at once.
    virtual void pintarStatus(const QString& status) = 0;
    virtual ParametrosTeste& parametrosTeste() = 0;
};
