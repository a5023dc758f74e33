#pragma once

#include <dlfcn.h>

#include <QByteArray>
#include <QEvent>
#include <QStringList>
#include <QWidget>

// The stand-in library's controls, resolved from the handle the tool loaded.
namespace falsa {
template <typename F>
F funcao(const char* nome) {
    return reinterpret_cast<F>(dlsym(dlopen(DLLSAT_TIVORO, RTLD_NOW), nome));
}
inline void responder(const QByteArray& texto) {
    funcao<void (*)(const char*)>("DllSatFalsoResponder")(texto.isNull() ? nullptr
                                                                         : texto.constData());
}
inline void demora(int ms) {
    funcao<void (*)(int)>("DllSatFalsoDemora")(ms);
}
inline QByteArray argumento(int i) {
    return funcao<const char* (*)(int)>("DllSatFalsoArgumento")(i);
}
inline int inteiro(int i) {
    return funcao<int (*)(int)>("DllSatFalsoInteiro")(i);
}
inline int chamadas() {
    return funcao<int (*)()>("DllSatFalsoChamadas")();
}
}  // namespace falsa

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
