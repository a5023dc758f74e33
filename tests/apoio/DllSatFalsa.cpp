#include "tests/apoio/DllSatFalsa.h"

#include "device/DllSat.h"

DllSatFalsa::DllSatFalsa(const QString& caminho) : m_biblioteca(caminho) {
    if (!m_biblioteca.load())
        qFatal("biblioteca falsa ausente: %s", qPrintable(m_biblioteca.errorString()));
}

void* DllSatFalsa::funcao(const char* nome) const {
    void* f = reinterpret_cast<void*>(m_biblioteca.resolve(nome));
    if (!f) qFatal("%s ausente da biblioteca falsa", nome);
    return f;
}

void DllSatFalsa::responder(const QByteArray& texto) const {
    reinterpret_cast<void (*)(const char*)>(funcao("DllSatFalsoResponder"))(
        texto.isNull() ? nullptr : texto.constData());
}

void DllSatFalsa::emOperacao() const {
    responder("1|08000|SAT em opera\xe7\xe3o||");
    demora(0);
}

void DllSatFalsa::roteiro(Roteiro atender) const {
    reinterpret_cast<void (*)(Roteiro)>(funcao("DllSatFalsoRoteiro"))(atender);
}

void DllSatFalsa::demora(int ms) const {
    reinterpret_cast<void (*)(int)>(funcao("DllSatFalsoDemora"))(ms);
}

QByteArray DllSatFalsa::argumento(int i) const {
    return reinterpret_cast<const char* (*)(int)>(funcao("DllSatFalsoArgumento"))(i);
}

bool DllSatFalsa::argumentoNulo(int i) const {
    return reinterpret_cast<int (*)(int)>(funcao("DllSatFalsoArgumentoNulo"))(i) != 0;
}

int DllSatFalsa::inteiro(int i) const {
    return reinterpret_cast<int (*)(int)>(funcao("DllSatFalsoInteiro"))(i);
}

int DllSatFalsa::chamadas() const {
    return reinterpret_cast<int (*)()>(funcao("DllSatFalsoChamadas"))();
}

QByteArray DllSatFalsa::status(const QByteArray& codigo) {
    return "1|" + codigo +
           "|Resposta com Sucesso|||900004019|DHCP|010.000.000.108|30:40:03:19:19:40|"
           "255.255.255.000|010.000.000.001|010.000.000.001|010.000.000.001|CONECTADO|ALTO|"
           "4 GB|260 MB|20150912113321|01.00.00|00.07|||||20150912113039|20150708|20200708|0";
}

QString DllSatFalsa::comoChega(const QByteArray& resposta) {
    return resposta.isEmpty() ? DllSat::SemResposta : DllSat::deWin1252(resposta);
}

const QByteArray DllSatFalsa::PortaNaoPronta =
    "PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE";
