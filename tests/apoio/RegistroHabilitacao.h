#pragma once

#include <QEvent>
#include <QStringList>
#include <QWidget>

// Records, in order, every enable ("+name") and disable ("-name") of the
// watched controls.
class RegistroHabilitacao : public QObject {
  public:
    void vigiar(QWidget* w) { w->installEventFilter(this); }
    QStringList eventos;

  protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override {
        if (evento->type() == QEvent::EnabledChange) {
            auto* w = static_cast<QWidget*>(alvo);
            eventos << (w->isEnabled() ? '+' : '-') + w->objectName();
        }
        return false;
    }
};
