#pragma once

#include <dlfcn.h>

#include <QByteArray>

// The stand-in library's own controls, reached through the loaded handle.
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

// A status reply whose field 18 is the software version and field 19 the
// layout version.
inline QByteArray status(const QByteArray& codigo) {
    return "1|" + codigo +
           "|Resposta com Sucesso|||900004019|DHCP|010.000.000.108|30:40:03:19:19:40|"
           "255.255.255.000|010.000.000.001|010.000.000.001|010.000.000.001|CONECTADO|ALTO|"
           "4 GB|260 MB|20150912113321|01.00.00|00.07|||||20150912113039|20150708|20200708|0";
}
inline const QByteArray PortaNaoPronta = "PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE";
}  // namespace falsa
