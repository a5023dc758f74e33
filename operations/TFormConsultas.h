#pragma once

#include "ui/Formulario.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The three queries, and the extraction and saving of the device log, each
// written into the window's own log.
class TFormConsultas : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormConsultas(Contexto& contexto);

    QPlainTextEdit* log() const { return RichEdit1; }
    // Nothing else is asked of the device while the log is extracted.
    void habilitarControles(bool habilitado);

    // 1 once an extraction has been started; never reset.
    int LogExtraido = 0;

  protected:
    void FormShow() override;
    void FormClose() override;

  private:
    void montar();
    void BtConsultarSatClick();
    void BtConsultarStatusOpClick();
    void BtConsultarNumSesClick();
    void BtExtrairLogsClick();
    void BtSalvarLogClick();
    void BtLimparClick();
    void BtCancelarClick();

    QPlainTextEdit* RichEdit1;
    QPushButton* BtConsultarSat;
    QPushButton* BtConsultarStatusOp;
    QPushButton* BtExtrairLogs;
    QPushButton* BtSalvarLog;
    QLabel* Label1;
    QLineEdit* EdNumeroSessao;
    QPushButton* BtConsultarNumSes;
    QPushButton* BtCancelar;
    QPushButton* BtLimpar;
};
