#pragma once

#include <QMutex>

#include "ui/Formulario.h"
#include "ui/Janelas.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The start window: the gate to the main window, and the holder of the
// activation code in use.
class TFormCodAtivacao : public Formulario<>, public JanelaCodAtivacao {
    Q_OBJECT
  public:
    static constexpr const char* EmpresaTivoro = "Tivoro Telecomunicacoes e Informatica S/A";

    explicit TFormCodAtivacao(Contexto& contexto);

    QString CodigoAtivacao() const override;
    void setCodigoAtivacao(const QString& codigo) override;
    QString RetornoLog() const override;
    void setRetornoLog(const QString& resposta) override;

    QGroupBox* GroupBox1;
    QPushButton* BtSatNaoAtivado;
    QGroupBox* GroupBox2;
    QLabel* Label1;
    QLineEdit* txtCodAtivacao;
    QPushButton* BtIniciar;
    QPushButton* BtTrocarCodAtiv;
    QPushButton* BtFechar;

  Q_SIGNALS:
    // Closing the start window ends the program.
    void encerrar();

  protected:
    void FormShow() override;
    void FormClose() override;
    bool fechaComEsc() const override { return false; }
    void closeEvent(QCloseEvent* evento) override;

  private:
    void BtIniciarClick();
    void BtSatNaoAtivadoClick();
    void BtTrocarCodAtivClick();
    void BtFecharClick();
    bool dllDaTivoro();
    void recusarDll(const QString& motivo, const QString& falta);
    void montar();

    mutable QMutex m_mutex;
    QString m_codigoAtivacao;
    QString m_retornoLog;
};
