#pragma once

#include "ui/Formulario.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The device's Ethernet interface and proxy, sent as one XML document.
class TFormConfRede : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormConfRede(Contexto& contexto);

    QGroupBox* GpBRede;
    QRadioButton* RdBDHCP;
    QRadioButton* RdBIpFixo;
    QLineEdit* MaskEdIP;
    QLineEdit* MaskEdMascaraRede;
    QLineEdit* MaskEdGateway;
    QLineEdit* MaskEdDNSPrin;
    QLineEdit* MaskEdDNSAlt;
    QGroupBox* GpBProxy;
    QRadioButton* RdBProxyNenhum;
    QRadioButton* RdBProxyTransparente;
    QRadioButton* RdBProxyConfiguracao;
    QLineEdit* MaskEdProxyIP;
    QLineEdit* EdProxyPorta;
    QLineEdit* EdProxyUsuario;
    QLineEdit* EdProxySenha;
    QPushButton* BtCancelar;
    QPushButton* BtEnviar;

  protected:
    void FormShow() override;
    void FormClose() override;

  private:
    void montar();
    QGroupBox* montarRede();
    QGroupBox* montarProxy();
    void RdBDHCPClick();
    void RdBIpFixoClick();
    void RdBProxyNenhumClick();
    void RdBProxyTransparenteClick();
    void RdBProxyConfiguracaoClick();
    void BtEnviarClick();
    void BtCancelarClick();
    void habilitarRede(bool habilitado);
    void habilitarProxy(bool habilitado);
    // The first missing value's message, in the fixed order; false if shown.
    bool validar();
    QString parteRede() const;
    QString parteProxy() const;
    void enviar(const QString& xml);
};
