#pragma once

#include <QMutex>
#include <QString>

// The program-wide values, shared by the GUI thread and the workers. Each is
// read and written whole; the setup step and its text form one pair.
class EstadoSessao {
  public:
    struct Etapa {
        int numero = 0;
        QString texto;
    };

    QString RespostaSAT() const { return ler(m_respostaSAT); }
    QString CampoA() const { return ler(m_campoA); }
    QString CampoB() const { return ler(m_campoB); }
    QString CampoC() const { return ler(m_campoC); }
    QString StatusConexao() const { return ler(m_statusConexao); }
    QString VersaoSAT() const { return ler(m_versaoSAT); }
    int ModoAtivacao() const { return ler(m_modoAtivacao); }
    Etapa EtapaSetup() const { return ler(m_etapa); }

    void setRespostaSAT(const QString& v) { gravar(m_respostaSAT, v); }
    void setCampoA(const QString& v) { gravar(m_campoA, v); }
    void setCampoB(const QString& v) { gravar(m_campoB, v); }
    void setCampoC(const QString& v) { gravar(m_campoC, v); }
    void setStatusConexao(const QString& v) { gravar(m_statusConexao, v); }
    void setVersaoSAT(const QString& v) { gravar(m_versaoSAT, v); }
    void setModoAtivacao(int v) { gravar(m_modoAtivacao, v); }
    void publicarEtapa(int numero, const QString& texto) { gravar(m_etapa, Etapa{numero, texto}); }

    // The automatic setup's runs. Showing the setup window puts ModoAtivacao
    // back to 1; a stopped run must not take that as leave to go on, and an
    // older run must never act beside a newer one, so each run has a number.
    int iniciarExecucaoSetup() {
        QMutexLocker trava(&m_mutex);
        m_modoAtivacao = 1;
        return ++m_execucaoSetup;
    }
    // ModoAtivacao 0, and the run in progress stays stopped.
    void pararExecucaoSetup() {
        QMutexLocker trava(&m_mutex);
        m_modoAtivacao = 0;
        m_execucaoParada = m_execucaoSetup;
    }
    bool execucaoSetupSubstituida(int execucao) const {
        QMutexLocker trava(&m_mutex);
        return execucao != m_execucaoSetup;
    }
    bool execucaoSetupSegue(int execucao) const {
        QMutexLocker trava(&m_mutex);
        return m_modoAtivacao == 1 && execucao == m_execucaoSetup && execucao != m_execucaoParada;
    }
    // Publishes the pair only while no newer run exists; false otherwise.
    bool publicarEtapa(int execucao, int numero, const QString& texto) {
        QMutexLocker trava(&m_mutex);
        if (execucao != m_execucaoSetup) return false;
        m_etapa = Etapa{numero, texto};
        return true;
    }

  private:
    template <typename T>
    T ler(const T& valor) const {
        QMutexLocker trava(&m_mutex);
        return valor;
    }
    template <typename T>
    void gravar(T& valor, const T& novo) {
        QMutexLocker trava(&m_mutex);
        valor = novo;
    }

    mutable QMutex m_mutex;
    QString m_respostaSAT, m_campoA, m_campoB, m_campoC, m_statusConexao, m_versaoSAT;
    int m_modoAtivacao = 0;
    Etapa m_etapa;
    int m_execucaoSetup = 0;
    int m_execucaoParada = 0;
};
