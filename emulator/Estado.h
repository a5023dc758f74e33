#pragma once

#include <cstdint>
#include <map>
#include <string>

// The emulated device's state, as its file keeps it.
namespace emulador {

// The largest device log, in bytes.
inline constexpr std::int64_t LimiteLog = std::int64_t(1) << 30;
// The longest reply delay, in ms.
inline constexpr int LimiteLatenciaMs = 600000;

// How a function misbehaves on request: never returns (until the fault ends or
// the device is unplugged), aborts, takes a segmentation fault, ends the
// process with exit code 3, answers a reply of so many MiB, a null pointer,
// an empty text.
inline const char* const ModosFalha[] = {"travar",  "abortar", "sinal", "sair",
                                         "inundar", "nula",    "vazia"};
inline const char* const TodasAsFuncoes = "todas";
inline constexpr int InundacaoPadraoMib = 100;
inline constexpr int LimiteInundacaoMib = 1024;

struct Estado {
    std::string serie;  // 9 digits
    bool conectado = true;
    bool ocupado = false;            // ConsultarSAT answers 08098 and other calls xx098
    int latenciaMs = 0;              // every call waits this long before answering
    std::int64_t reinicioAteMs = 0;  // restarting until this epoch time: unplugged meanwhile
    bool ativado = false;
    std::string codigoAtivacao;
    std::string codigoEmergencia;
    std::string cnpjContribuinte;
    int uf = 0;
    std::string cnpjSoftwareHouse;
    std::string assinatura;  // associated when not empty
    bool bloqueado = false;
    std::string redeXml;  // last accepted network configuration
    std::string versaoSoftware;
    std::string versaoLayout;
    std::int64_t tamanhoLog = 0;      // bytes of the device log ExtrairLogs returns
    std::int64_t ultimoEventoMs = 0;  // when its last line was written; 0: at the extraction
    std::string ultimaChave;          // access key of the last sale, "" after its cancellation
    int numeroCFe = 0;
    bool diario = false;  // keep a journal of every call

    std::int64_t ocupadoAteMs = 0;  // busy until this epoch time as well
    int reinicioAposMs = 3000;      // how long the restart after an association or update lasts
    std::map<std::string, int> latenciaPorFuncao;  // replaces latenciaMs for the functions named
    std::int64_t ativadoEmMs = 0;
    std::int64_t ultimaVendaMs = 0;  // when the sale of ultimaChave was made
    std::string ultimoValor;         // its total, the amount a cancellation reports
    std::string ultimoDestCnpj;      // its consumer, whom a cancellation must name again
    std::string ultimoDestCpf;
    std::string chaveCancelada;  // 44 digits of the last sale cancelled
    std::string ultimoCFe;       // key of the last document signed, sale or cancellation
    std::int64_t ultimoCFeMs = 0;
    std::map<std::string, std::string> falhas;  // function (or TodasAsFuncoes) -> ModosFalha
    std::map<std::string, int> inundacaoMib;    // the reply's size of each "inundar"

    bool ocupadoEm(std::int64_t agoraMs) const { return ocupado || agoraMs < ocupadoAteMs; }
    bool conectadoEm(std::int64_t agoraMs) const { return conectado && agoraMs >= reinicioAteMs; }
    int latenciaDe(const std::string& funcao) const {
        const auto it = latenciaPorFuncao.find(funcao);
        return it == latenciaPorFuncao.end() ? latenciaMs : it->second;
    }
    // The function's own fault, else the one of every function, else "".
    std::string falhaDe(const std::string& funcao) const {
        auto it = falhas.find(funcao);
        if (it == falhas.end()) it = falhas.find(TodasAsFuncoes);
        return it == falhas.end() ? "" : it->second;
    }
    int inundacaoDe(const std::string& funcao) const {
        auto it = inundacaoMib.find(falhas.count(funcao) ? funcao : TodasAsFuncoes);
        return it == inundacaoMib.end() ? InundacaoPadraoMib : it->second;
    }
};

bool modoDeFalha(const std::string& modo);

// The state as the control command shows it, and back.
std::string paraJson(const Estado& e);
// Throws std::runtime_error when the text is no state or holds a value no
// device has.
Estado deJson(const std::string& json);
// A factory-new device: not activated, on its port, with this serial number.
Estado estadoNovo(const std::string& serie);

}  // namespace emulador
