#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QProcess;

// What the signature pipeline does its own way on each system.

// The openssl the steps run; empty when there is none.
QString programaOpenssl();
// What the user is told when there is none.
QString avisoOpensslAusente();

// One openssl step with all it starts: set on the process before its start,
// let run once it started, ended whole when its time is up.
class ArvoreOpenssl {
  public:
    explicit ArvoreOpenssl(QProcess& processo);
    // Windows closes its job here.
    ~ArvoreOpenssl();  // NOLINT(performance-trivially-destructible)
    ArvoreOpenssl(const ArvoreOpenssl&) = delete;
    ArvoreOpenssl& operator=(const ArvoreOpenssl&) = delete;
    void liberar();
    void encerrar();

  private:
    QProcess& m_processo;
    // Windows: the Job object holding the step; Linux uses the process group.
    [[maybe_unused]] void* m_tarefa = nullptr;
};

// How the private key goes from the conversion to the signing step.
class RotaDaChave {
  public:
    RotaDaChave();
    ~RotaDaChave();
    RotaDaChave(const RotaDaChave&) = delete;
    RotaDaChave& operator=(const RotaDaChave&) = delete;
    // The conversion's arguments on how the key is written, and what its
    // input carries after the certificate's password.
    QStringList escrita() const;
    QByteArray entradaDaEscrita() const;
    // The signing step's arguments naming the key, and its input; `pem` is
    // the conversion's output.
    QStringList leitura(const QString& pem) const;
    QByteArray entradaDaLeitura(const QString& pem) const;

  private:
    QByteArray m_senha;  // Windows: the key's own password, for this run only
};

// Where work folders may be made: the temporary folder first.
struct BaseTemporaria {
    QString pasta;
    bool doUsuario;  // past the temporary folder: only if the user's own
};
QList<BaseTemporaria> basesTemporarias();
// Why the folder cannot take work folders; empty when it can.
QString problemaDaBase(const BaseTemporaria& base);
// Leaves the new work folder to the user alone.
bool tornarPrivada(const QString& pasta);
// A work folder of a run that is gone: a real folder (no link), the user's,
// its process `pid` ended.
bool pastaAbandonada(const QString& caminho, qint64 pid);
