#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>
#include <functional>

#include "core/EstadoSessao.h"
#include "tests/apoio/DllSatFalsa.h"

// A device that answers each call from a script: per function a list of
// replies (the last one repeats), actions run at a given call on the caller's
// thread, and a record of every call with the step pair published at the time.
class Roteiro {
  public:
    struct Chamada {
        QString funcao;
        int sessao = 0;
        QList<QByteArray> textos;  // text arguments at positions 1 to 4; null for a null pointer
        int uf = 0;
        EstadoSessao::Etapa etapa;
        QThread* thread = nullptr;
    };

    // Installs the script in the stand-in library at that path.
    Roteiro(const char* caminhoDll, const EstadoSessao* estado);
    ~Roteiro();

    void definir(const QString& funcao, const QList<QByteArray>& respostas);
    // Several actions at the same call run in the order given.
    void quando(const QString& funcao, int n, std::function<void()> acao);
    QList<Chamada> chamadas() const;
    QStringList funcoes() const;

  private:
    static const char* atender(const char* funcao, const int* inteiros, const char* const* textos);
    QByteArray resposta(const QString& funcao, const int* inteiros, const char* const* textos);

    DllSatFalsa m_dll;
    const EstadoSessao* m_estado;
    mutable QMutex m_mutex;
    QHash<QString, QList<QByteArray>> m_respostas;
    QHash<QString, std::function<void()>> m_acoes;
    QList<Chamada> m_chamadas;
    static Roteiro* s_atual;
};

// Replies of a device that accepts everything.
namespace respostas {
inline const QByteArray Conectado = "1|08000|SAT em opera\xe7\xe3o||";
inline const QByteArray SemSat = "PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE";
inline const QByteArray Timeout = "TIMEOUT";
inline const QByteArray Ativado = "1|04000|Ativado corretamente|||";
inline const QByteArray Associado = "1|13000|Assinatura do AC Registrada|||";
inline const QByteArray Testado = "1|09000|Emitido com sucesso|||";
QByteArray status(const QByteArray& serie);
}  // namespace respostas
