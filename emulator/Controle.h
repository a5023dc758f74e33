#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

// The emulated device's state, kept in a folder that the library, the control
// command and tests share. Every change is a locked read-modify-write of the
// state file, so another process may change the device while the tool runs.
namespace emulador {

struct Estado {
    QString serie;  // 9 digits
    bool conectado = true;
    bool ocupado = false;      // ConsultarSAT answers 08098 and other calls xx098
    int latenciaMs = 0;        // every call waits this long before answering
    qint64 reinicioAteMs = 0;  // restarting until this epoch time: unplugged meanwhile
    bool ativado = false;
    QString codigoAtivacao;
    QString codigoEmergencia;
    QString cnpjContribuinte;
    int uf = 0;
    QString cnpjSoftwareHouse;
    QString assinatura;  // associated when not empty
    bool bloqueado = false;
    QString redeXml;  // last accepted network configuration
    QString versaoSoftware;
    QString versaoLayout;
    qint64 tamanhoLog = 0;  // bytes of the device log ExtrairLogs returns
    QString ultimaChave;    // access key of the last sale, "" after its cancellation
    int numeroCFe = 0;
    bool diario = false;  // keep a journal of every call

    qint64 ocupadoAteMs = 0;    // busy until this epoch time as well
    int reinicioAposMs = 3000;  // how long the restart after an association or update lasts
    QMap<QString, int> latenciaPorFuncao;  // replaces latenciaMs for the functions named
    qint64 ativadoEmMs = 0;
    qint64 ultimaVendaMs = 0;  // when the sale of ultimaChave was made
    QString ultimoValor;       // its total, the amount a cancellation reports
    QString chaveCancelada;    // 44 digits of the last sale cancelled
    QString ultimoCFe;         // key of the last document issued, sale or cancellation
    qint64 ultimoCFeMs = 0;

    bool ocupadoEm(qint64 agoraMs) const { return ocupado || agoraMs < ocupadoAteMs; }
    bool conectadoEm(qint64 agoraMs) const { return conectado && agoraMs >= reinicioAteMs; }
    int latenciaDe(const QString& funcao) const {
        return latenciaPorFuncao.value(funcao, latenciaMs);
    }
};

// The state as the control command shows it, and back.
QByteArray paraJson(const Estado& e);
// Throws std::runtime_error when the text is no state.
Estado deJson(const QByteArray& json);
// A factory-new device: not activated, on its port, with this serial number.
Estado estadoNovo(const QString& serie);

class Controle {
  public:
    // $SAT_EMULADOR_DIR, else $XDG_STATE_HOME/sat-emulador (~/.local/state/...).
    static QString pastaPadrao();
    explicit Controle(const QString& pasta = pastaPadrao());

    // Throws std::runtime_error naming the file when the state is corrupt.
    Estado estado() const;
    void alterar(const std::function<void(Estado&)>& mudanca);
    // The same locked read-modify-write, written only when mudanca returns
    // true: what a device call does, most of which change nothing.
    void alterarSe(const std::function<bool(Estado&)>& mudanca);

    // A new device, not activated, on its port, with a fresh serial number.
    void novo();
    // The bench: the device is taken off and the next new one plugged in.
    void proximo();
    // ... off the port for that long before the new one answers.
    void proximo(int ms);
    // Back to the factory: this serial number, nothing else kept.
    void fabrica();
    // A device already activated with that code (and associated when a
    // signature is given), for tests that start past activation.
    void ativado(const QString& codigo, const QString& cnpj = QStringLiteral("11111111111111"),
                 int uf = 35, const QString& assinatura = {});
    void conectar(bool conectado);
    void ocupar(bool ocupado);
    void latencia(int ms);
    // Unplugged for that long, as a device that restarts.
    void reiniciar(int ms);

    QString pasta() const { return m_pasta; }
    // The journal lines, when the journal is on.
    QStringList linhasDiario() const;
    // Adds one line to the journal.
    void registrarNoDiario(const QString& linha) const;

    QString arquivoEstado() const;
    QString arquivoDiario() const;

  private:
    QString m_pasta;
};

}  // namespace emulador
