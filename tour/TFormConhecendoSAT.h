#pragma once

#include <QHash>
#include <QUrl>

#include "ui/Formulario.h"

class QLabel;

// An illustrated help window: the device's front, whose lights and connectors
// explain themselves under the mouse, and the support contacts.
class TFormConhecendoSAT : public Formulario<> {
    Q_OBJECT
  public:
    explicit TFormConhecendoSAT(Contexto& contexto);

    static const QUrl EnderecoSuporte;

  protected:
    void FormShow() override;
    void FormClose() override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;
    bool eventFilter(QObject* alvo, QEvent* evento) override;

  private:
    void montar();
    QWidget* montarFoto();
    QLayout* montarContatos();
    void ImageCentralMouseMove();
    void RegiaoMouseMove(QObject* regiao);
    void RegiaoFocusIn(QObject* regiao);
    void Label3MouseMove();
    void FormMouseMove();
    void Label2Click();
    void Label3Click();
    void restaurarCursor();

    QLabel* Label1;
    QLabel* ImageCentral;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QHash<QObject*, QString> m_dicas;
    bool m_cursorMao = false;
};
