#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "emulator/Estado.h"
#include "emulator/Sistema.h"

// The emulated device's state, kept in a folder that the library, the control
// command and tests share. Every change is a locked read-modify-write of the
// state file, so another process may change the device while the tool runs.
// The folder is private (0700, files 0600; on Windows, to the user alone) and
// no link in it is followed (emulator/Sistema.h).
namespace emulador {

// A call holds the device well under a millisecond; past this wait, the holder
// is stuck (a stopped process) and the caller is told the device is busy.
inline constexpr int EsperaMaximaMs = 1000;
// Far above any real state (the largest, with its network settings, is some
// tens of KiB): a bigger file is no state and is not read.
inline constexpr std::int64_t LimiteEstado = std::int64_t(1) << 20;
// The journal starts afresh past this size; the last one is kept as diario.txt.1.
inline constexpr std::int64_t LimiteDiario = std::int64_t(4) << 20;

class Controle {
  public:
    // $SAT_EMULADOR_DIR, else $XDG_STATE_HOME/sat-emulador (~/.local/state/...),
    // on Windows %LOCALAPPDATA%\sat-emulador.
    static std::string pastaPadrao();
    explicit Controle(const std::string& pasta = pastaPadrao());

    // Throws std::runtime_error naming the file when the state is corrupt,
    // Ocupado when another caller holds the device too long.
    Estado estado() const;
    void alterar(const std::function<void(Estado&)>& mudanca);
    // The same locked read-modify-write, written only when mudanca returns
    // true: what a device call does, most of which change nothing.
    void alterarSe(const std::function<bool(Estado&)>& mudanca);

    // A new device, not activated, on its port, with a fresh serial number
    // or the one given.
    void novo(const std::string& serie = {});
    // The bench: the device is taken off and the next new one plugged in.
    void proximo();
    // ... off the port for that long before the new one answers.
    void proximo(int ms);
    // Back to the factory: this serial number, nothing else kept.
    void fabrica();
    // A device already activated with that code (and associated when a
    // signature is given), for tests that start past activation.
    void ativado(const std::string& codigo, const std::string& cnpj = "11111111111111", int uf = 35,
                 const std::string& assinatura = {});
    void conectar(bool conectado);
    void ocupar(bool ocupado);
    void latencia(int ms);
    // Unplugged for that long, as a device that restarts.
    void reiniciar(int ms);
    // The function (or every one: TodasAsFuncoes) misbehaves from its next
    // call on as modo says (ModosFalha, mib for "inundar") until "nenhuma";
    // "nenhuma" for every function ends every fault.
    void falha(const std::string& funcao, const std::string& modo, int mib = InundacaoPadraoMib);

    const std::string& pasta() const { return m_pasta; }
    // The journal lines, when the journal is on.
    std::vector<std::string> linhasDiario() const;
    // Adds one line to the journal.
    void registrarNoDiario(const std::string& linha) const;

    std::string arquivoEstado() const;
    std::string arquivoDiario() const;

  private:
    std::string m_pasta;
};

}  // namespace emulador
