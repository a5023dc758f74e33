#pragma once

#include <QPixmap>

#include "ui/Formulario.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Replaces the device's activation code, proven by the current code or by the
// emergency code of the activation card; the help beside the form shows
// where that code is printed.
class TFormTrocarCodigo : public Formulario<> {
    Q_OBJECT
  public:
    static constexpr int LarguraEstreita = 321;
    static constexpr int LarguraComAjuda = 856;
    static constexpr const char* ImagemCartao = ":/imagens/cartao_ativacao.jpg";

    explicit TFormTrocarCodigo(Contexto& contexto);

    QRadioButton* RdbCodigoAtual;
    QRadioButton* RdbCodigoEmergencia;
    QLabel* LbCodAtivAtualEmerg;
    QLineEdit* EdCodAtualEmerg;
    QLabel* LbNovoCodAtiv;
    QLineEdit* EdNovoCod;
    QLabel* LbConfNovoCod;
    QLineEdit* EdConfNovoCod;
    QPushButton* BtCancelar;
    QPushButton* BtEnviar;
    QFrame* Shape1;
    QLabel* Label1;
    QLabel* ImCodAtivacao;

  protected:
    void FormShow() override;
    void FormClose() override;

  private:
    void montar();
    void montarAjuda();
    void mostrarCartao();
    void RdbCodigoAtualClick();
    void RdbCodigoEmergenciaClick();
    void BtEnviarClick();
    void BtCancelarClick();
    bool camposPreenchidos();

    QPixmap m_cartao;
};
