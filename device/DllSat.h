#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "sat/Quadro.h"

struct EscolhaBiblioteca;
class CanalDispositivo;

// Told on the calling thread what a call into the library is doing, so that
// whoever waits on it can show it.
class EsperaDispositivo {
  public:
    virtual ~EsperaDispositivo() = default;
    virtual void comecar() = 0;
    // Now and then while the reply is awaited.
    virtual void aguardar() = 0;
    virtual void terminar() = 0;
    // The library crashed, hung or flooded during the call just ended; the
    // text says so, for a box.
    virtual void falhou(const QString& texto) = 0;
};

// The binding to the device library: the fourteen functions, texts crossing
// the boundary as Windows-1252 bytes, replies copied and decoded at once.
// Document arguments read from files are raw bytes and go through unchanged.
// The library runs in a helper process, one call at a time: a second caller
// gets the device's own busy reply at once, a call past its time limit the
// reply "TIMEOUT", a crash or an oversized reply a text that says so.
class DllSat {
  public:
    // A missing library or function; the text names it.
    class ErroCarga : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

    // Opens the chosen library. Throws ErroCarga naming the file, the places
    // looked at and what is missing.
    static std::unique_ptr<DllSat> carregar(const EscolhaBiblioteca& escolha);
    // Opens the library at this exact path (tests, other folders).
    static std::unique_ptr<DllSat> carregarDe(const QString& caminho);
    // The calls go through this channel (tests that steer a library in
    // their own process).
    DllSat(std::unique_ptr<CanalDispositivo> canal, const QString& caminho,
           const QStringList& procurados);

    ~DllSat();
    DllSat(const DllSat&) = delete;
    DllSat& operator=(const DllSat&) = delete;

    // The file that was actually loaded.
    QString caminho() const { return m_caminho; }
    // Where the tool looked for it, in order.
    QStringList procurados() const { return m_procurados; }
    // Its version information says it is the emulated device.
    bool emulado() const { return m_emulado; }
    // Null for none; kept until replaced.
    void setEspera(EsperaDispositivo* espera) { m_espera = espera; }
    // Seconds a call of this function may take.
    int tempoLimite(sat::Funcao funcao) const;

    QString ConsultarSAT(int sessao);
    QString ConsultarStatusOperacional(int sessao, const QString& codigo);
    QString ConsultarNumeroSessao(int sessao, const QString& codigo, int sessaoConsultada);
    QString AtivarSAT(int sessao, int subComando, const QString& codigo, const QString& cnpj,
                      int uf);
    QString AssociarAssinatura(int sessao, const QString& codigo, const QString& cnpjs,
                               const QString& assinatura);
    QString TesteFimAFim(int sessao, const QString& codigo, const QByteArray& documento);
    QString EnviarDadosVenda(int sessao, const QString& codigo, const QByteArray& documento);
    QString CancelarUltimaVenda(int sessao, const QString& codigo, const QString& chave,
                                const QByteArray& documento);
    QString ConfigurarInterfaceDeRede(int sessao, const QString& codigo,
                                      const QByteArray& documento);
    QString TrocarCodigoDeAtivacao(int sessao, const QString& codigo, int opcao,
                                   const QString& novo, const QString& confirmacao);
    QString ExtrairLogs(int sessao, const QString& codigo);
    QString AtualizarSoftwareSAT(int sessao, const QString& codigo);
    QString BloquearSAT(int sessao, const QString& codigo);
    QString DesbloquearSAT(int sessao, const QString& codigo);

    // Texts the program builds (Windows-1252 bytes, null for an empty text).
    static QByteArray paraWin1252(const QString& texto);
    static QString deWin1252(const char* bytes);
    static QString deWin1252(const QByteArray& bytes);

    // The reply of an empty or NULL answer.
    static const QString SemResposta;

  private:
    QString chamar(sat::Funcao funcao, std::vector<sat::Argumento> argumentos);
    std::unique_ptr<CanalDispositivo> m_canal;
    QString m_caminho;
    QStringList m_procurados;
    bool m_emulado = false;
    std::optional<int> m_limiteGeral;
    std::atomic<EsperaDispositivo*> m_espera{nullptr};
    std::atomic<bool> m_ocupado{false};
};
