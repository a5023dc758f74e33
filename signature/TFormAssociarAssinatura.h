#pragma once

#include "ui/Formulario.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Gives the device the commercial application's signature with the two CNPJ
// numbers it covers; the signature is pasted, or generated from a certificate.
class TFormAssociarAssinatura : public Formulario<> {
    Q_OBJECT
  public:
    static constexpr int AlturaInicial = 166;
    static constexpr int AlturaComLog = 292;
    static constexpr int AlturaAoFechar = 167;

    explicit TFormAssociarAssinatura(Contexto& contexto);

    // What the worker copies before it starts (GUI thread only).
    QString cnpjContribuinte() const;
    QString cnpjSoftwareHouse() const;
    QString assinatura() const;
    QPlainTextEdit* log() const { return RichEdit1; }

  protected:
    void FormShow() override;
    void FormClose() override;

  private:
    void montar();
    QGroupBox* montarGrupo();
    void alturaCliente(int altura);

    int m_largura = 0;
    void Button1Click();
    void btEnviarClick();
    void BtCancelarClick();

    QLineEdit* MskEdCNPJContr;
    QLineEdit* MskEdCNPJSwHouse;
    QPlainTextEdit* MemoSignac;
    QPushButton* BtCancelar;
    QPushButton* btEnviar;
    QPlainTextEdit* RichEdit1;
    QLineEdit* EdCertificado;
    QPushButton* btCertificado;
    QLineEdit* Edit1;
    QPushButton* Button1;
};
