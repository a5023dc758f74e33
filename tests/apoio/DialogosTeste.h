#pragma once

#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QStringList>
#include <QUrl>

#include "core/Portas.h"

// Records every box instead of showing it, and answers file dialogs from a
// queue (an empty queue answers as a user who cancels).
class DialogosTeste : public PortaDialogos {
  public:
    struct Caixa {
        Icone icone;
        QString titulo;
        QString texto;
    };

    void mensagem(Icone icone, const QString& texto) override;
    QString abrirArquivo(const Arquivo& dialogo) override;
    QString salvarArquivo(const Arquivo& dialogo) override;
    void abrirEndereco(const QUrl& endereco) override;

    QList<Caixa> caixas() const;
    Caixa ultima() const;
    void limpar();
    void responderArquivo(const QString& caminho);
    QList<Arquivo> dialogosArquivo() const;
    QList<QUrl> enderecos() const;
    // From now on a box stays open, holding whoever showed it, until the test
    // closes it, as a person would; only a worker may show one then.
    void segurarCaixas();
    void fechar();

  private:
    QString proximaResposta(const Arquivo& dialogo);
    mutable QMutex m_mutex;
    bool m_segurar = false;
    QSemaphore m_fechar;
    QList<Caixa> m_caixas;
    QStringList m_respostas;
    QList<Arquivo> m_dialogos;
    QList<QUrl> m_enderecos;
};

// Records every pause; sleeps only a scaled-down share of it, so that waits
// which poll the device still give it a moment.
class RelogioTeste : public Relogio {
  public:
    explicit RelogioTeste(int divisor = 1000) : m_divisor(divisor) {}
    void pausa(int ms) override;
    QList<int> pausas() const;
    void limpar();

  private:
    int m_divisor;
    mutable QMutex m_mutex;
    QList<int> m_pausas;
};
