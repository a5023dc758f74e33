#pragma once

#include <QByteArray>
#include <QLibrary>
#include <QString>

// The controls of the stand-in device library loaded from this path: what it
// answers next, how long it takes, and what the last call got.
class DllSatFalsa {
  public:
    explicit DllSatFalsa(const QString& caminho);
    DllSatFalsa(const DllSatFalsa&) = delete;
    DllSatFalsa& operator=(const DllSatFalsa&) = delete;

    // The ordinary reply, at once: how each test starts.
    void emOperacao() const;
    // A null text makes the library answer NULL.
    void responder(const QByteArray& texto) const;
    void demora(int ms) const;
    QByteArray argumento(int i) const;
    bool argumentoNulo(int i) const;
    int inteiro(int i) const;
    int chamadas() const;
    // Every reply from this function, given the call's name and arguments; null
    // puts back the single reply.
    using Roteiro = const char* (*)(const char* funcao, const int* inteiros,
                                    const char* const* textos);
    void roteiro(Roteiro atender) const;

    // A status reply whose field 18 is the software version and field 19 the
    // layout version.
    static QByteArray status(const QByteArray& codigo);
    // The text the tool gets for this reply: an empty or null one says that
    // nothing came.
    static QString comoChega(const QByteArray& resposta);
    static const QByteArray PortaNaoPronta;

  private:
    void* funcao(const char* nome) const;
    // Never unloaded: the binding under test holds the same library.
    mutable QLibrary m_biblioteca;
};
