#pragma once

#include "ui/Formulario.h"

class GrupoCertificados;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Activates a new device: taxpayer's CNPJ, the code to set and the state go
// to thrAtivarSat, which may wait minutes for the device.
class TFormAtivarSat : public Formulario<> {
    Q_OBJECT
  public:
    static constexpr int AlturaFechada = 150;
    static constexpr int AlturaComLog = 269;

    explicit TFormAtivarSat(Contexto& contexto);

    // What the worker takes, read on the GUI thread when it starts.
    QPlainTextEdit* log() const { return RichEdit1; }
    QString codigoAtivacao() const;
    QString cnpjContribuinte() const;
    int indiceUF() const;
    void liberarEnvio();

  protected:
    void FormShow() override;
    void FormClose() override;

  private:
    void montar();
    void BtEnviarClick();
    void BtCancelarClick();
    void definirAltura(int altura);

    QLabel* LbCNPJContri;
    QLineEdit* MskEdCNPJContr;
    QLabel* lbCodAtivacao;
    QLineEdit* EdCodAtivacao;
    QLabel* LbUF;
    QComboBox* CBoxUF;
    GrupoCertificados* GroupBox1;
    QPushButton* BtCancelar;
    QPushButton* BtEnviar;
    QPlainTextEdit* RichEdit1;
};
