#pragma once

#include "ui/Formulario.h"
#include "ui/Janelas.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The hub once the start gate has let the user through: status panel, menu
// of functions and the operation log.
class TFormPrincipal : public Formulario<>, public JanelaPrincipal {
    Q_OBJECT
  public:
    static constexpr const char* VersaoTool = "TOOL - 2.0.2.1";

    explicit TFormPrincipal(Contexto& contexto);

    void habilitar(std::initializer_list<const char*> botoes, bool habilitado) override;
    void habilitarBotoesFuncao(bool habilitado) override;
    QPlainTextEdit* RichEdit1() override { return m_richEdit1; }
    QLabel* LbLayout() override { return m_lbLayout; }
    QLabel* LbSatVersao() override { return m_lbSatVersao; }
    void pintarStatus(const QString& status) override;
    ParametrosTeste& parametrosTeste() override { return m_parametros; }

  protected:
    void FormShow() override;
    void FormClose() override;
    bool fechaComEsc() const override { return false; }

  private:
    void montar();
    QGroupBox* montarStatus();
    QGroupBox* montarMenu();
    QPushButton* botaoMenu(const char* nome, const QString& texto,
                           void (TFormPrincipal::*handler)());
    void BtSetupAutomaticoClick();
    void BtConfRedeClick();
    void BtAtivarSatClick();
    void BtAssociarAssinaturaClick();
    void BtAtualizarSatClick();
    void BtTestFimAFimClick();
    void BtTestesVCanClick();
    void BtBloquearSatClick();
    void BtDesbloquearSatClick();
    void BtConsultasClick();
    void BtTrocarCodAtivClick();
    void BtConhecerSatTivoroClick();
    void BtLimparClick();
    void BtFecharClick();

    QLabel* m_lbSatDllVersao;
    QLabel* m_lbSatVersao;
    QLabel* m_lbLayout;
    QLabel* m_lbStatusCom;
    QGroupBox* m_menu;
    QPlainTextEdit* m_richEdit1;
    ParametrosTeste m_parametros;
};
