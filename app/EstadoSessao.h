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
};
