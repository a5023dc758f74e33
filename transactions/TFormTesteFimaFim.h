#pragma once

#include <QDialog>

#include "ui/Formulario.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The four variable data of the test documents, kept in the main window's
// test parameters. Shown modally by the end-to-end and the sale tests.
class TFormTesteFimaFim : public Formulario<QDialog> {
    Q_OBJECT
  public:
    explicit TFormTesteFimaFim(Contexto& contexto);

    // Shows the window modally under this caption (which stays so) and
    // returns once it is closed.
    void perguntar(const QString& titulo);

    QLabel* Label1;
    QLineEdit* MskCNPJSW;
    QLabel* Label2;
    QLineEdit* MskEmitente;
    QLabel* Label3;
    QLineEdit* edIE;
    QLabel* Label4;
    QPlainTextEdit* MemoSignac;
    QPushButton* BtCancelar;
    QPushButton* BtEnviar;

  public Q_SLOTS:
    // Escape closes the window as "Cancelar" does.
    void reject() override;

  protected:
    void FormShow() override;

  private:
    void montar();
    void BtEnviarClick();
    void BtCancelarClick();
};
