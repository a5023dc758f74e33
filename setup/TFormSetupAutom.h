#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "setup/AnimaSetup.h"
#include "setup/SetupAtivacao.h"
#include "ui/Formulario.h"

class GrupoCertificados;
class QGroupBox;
class QHBoxLayout;
class QLayout;
class QSpacerItem;

// The bench's window: the data every device gets, then the run of the setup
// worker with its progress panel and log side by side, which come into view
// below.
class TFormSetupAutom : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormSetupAutom(Contexto& contexto);

    // What the worker reads and shows, on the GUI thread.
    QPlainTextEdit* log() const { return RichEdit1; }
    QString codigoAtivacao() const { return EdCodAtivacao->text(); }
    QString cnpjContribuinte() const;
    QString cnpjSoftwareHouse() const;
    QString assinatura() const { return MemoSignac->toPlainText(); }
    int indiceUF() const { return CBoxUF->currentIndex(); }
    void mostrarConectado(const QString& serie);
    void liberarExecucao() { BtExecutar->setEnabled(true); }

    bool expandida() const { return m_expandida; }

  protected:
    void FormShow() override;
    void FormClose() override;

  private:
    void montar();
    QWidget* montarDados();
    QGroupBox* montarAssinatura();
    QLayout* montarExecucao();
    QGroupBox* montarProgresso();
    QWidget* montarPasso(int passo, const char* nomeRotulo, const QString& texto,
                         const char* prefixoImagens);
    void ordemTab();
    void definirLayout(bool expandida);
    void mostrarStatus(const QString& texto, const QColor* cor, int recuo);
    void BtExecutarClick();
    bool gerarAssinatura();
    void iniciarExecucao();
    void BtCancelarClick();
    void pararAnimacao();
    void carregarImagens();
    void esconderImagens();

    QLabel* LbStatusSAT;
    QLabel* LbConectado;
    QLineEdit* MskEdCNPJContr;
    QLineEdit* MskEdCNPJSwHouse;
    QLineEdit* EdCodAtivacao;
    QComboBox* CBoxUF;
    GrupoCertificados* GroupBox1;
    QGroupBox* GroupBox3;
    QLineEdit* EdCertificado;
    QPushButton* btCertificado;
    QLineEdit* Edit1;
    QPlainTextEdit* MemoSignac;
    QPushButton* BtExecutar;
    QPushButton* BtCancelar;
    QGroupBox* GroupBox2;
    QPlainTextEdit* RichEdit1;

    QWidget* m_conteudo;
    QHBoxLayout* m_linhaStatus;
    QSpacerItem* m_recuoStatus;
    AnimaSetup::Imagens m_imagens;
    bool m_expandida = false;

    bool AnimacaoAtiva = false;
    std::shared_ptr<AnimaSetup> ThreadAnimacao;
};
