#pragma once

#include <QByteArray>

#include "ui/Formulario.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// Test sales and cancellations: an XML file sent as it is, or the built-in
// sale and the cancellation of the last built-in sale.
class TFormTesteVendaCanc : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormTesteVendaCanc(Contexto& contexto);

    QString chaveVenda() const { return m_chaveVenda; }

    QPlainTextEdit* RichEdit1;
    QPushButton* BtLimpar;
    QGroupBox* GroupBox1;
    QRadioButton* RdbXMLVenda;
    QRadioButton* RdbXMLCanc;
    QGroupBox* GroupBox2;
    QLabel* Label1;
    QLineEdit* EdLocalArquivo;
    QPushButton* BtLocalArquivo;
    QPushButton* BtXMLPadrao;
    QPushButton* BtEnviar;
    QPushButton* BtCancelar;

  protected:
    void FormShow() override;
    void FormClose() override;

  private:
    void montar();
    void BtLocalArquivoClick();
    void BtEnviarClick();
    void BtXMLPadraoClick();
    void BtLimparClick();
    void BtCancelarClick();
    bool lerDocumento(const QString& caminho, QByteArray& xml);
    // TX line, call, RX line, and the log's colour back to black.
    QString venda(int sessao, const QByteArray& xml, const QString& textoXml);
    QString cancelamento(int sessao, const QString& chave, const QByteArray& xml,
                         const QString& textoXml);
    QString chamar(const QString& tx, const std::function<QString()>& chamada);

    // The key of the last built-in sale or file cancellation.
    QString m_chaveVenda;
};
