#pragma once

#include <dlfcn.h>

#include <QByteArray>

// The controls of the stand-in device library loaded from this path.
class DllSatFalsa {
  public:
    explicit DllSatFalsa(const char* caminho) : m_handle(dlopen(caminho, RTLD_NOW)) {}
    ~DllSatFalsa() { dlclose(m_handle); }

    void responder(const QByteArray& texto) const {
        funcao<void (*)(const char*)>("DllSatFalsoResponder")(texto.constData());
    }
    QByteArray argumento(int i) const {
        return funcao<const char* (*)(int)>("DllSatFalsoArgumento")(i);
    }
    bool argumentoNulo(int i) const {
        return funcao<int (*)(int)>("DllSatFalsoArgumentoNulo")(i) != 0;
    }
    int inteiro(int i) const { return funcao<int (*)(int)>("DllSatFalsoInteiro")(i); }
    int chamadas() const { return funcao<int (*)()>("DllSatFalsoChamadas")(); }

  private:
    template <typename F>
    F funcao(const char* nome) const {
        return reinterpret_cast<F>(dlsym(m_handle, nome));
    }
    void* m_handle;
};
