#include "emulator/Controle.h"

#include <algorithm>
#include <optional>

#include "emulator/Sistema.h"
#include "emulator/Texto.h"

namespace emulador {

namespace {

constexpr int TrocaPadraoMs = 2000;

std::string serieNova(const std::string& diferenteDe = {}) {
    std::string serie;
    do {
        serie = std::to_string(sorteado(100000000, 999999999));
    } while (serie == diferenteDe);
    return serie;
}

[[noreturn]] void falhar(const std::string& oQue, const std::string& caminho) {
    throw std::runtime_error(oQue + ": " + caminho);
}

// The folder made ready and the state's lock held, for a whole
// read-modify-write.
class Trava {
  public:
    explicit Trava(const std::string& pasta)
        : m_trava(pronta(pasta) + "/estado.lock", EsperaMaximaMs) {}

  private:
    static const std::string& pronta(const std::string& pasta) {
        sistema::prepararPasta(pasta);
        return pasta;
    }
    sistema::Trava m_trava;
};

const char* const MsgCorrompido = "Arquivo de estado do emulador corrompido";

// The state in that file, nothing when there is no such file. Throws naming
// the file when it cannot be read or is not a state.
std::optional<Estado> estadoDe(const std::string& arquivo) {
    std::string json;
    if (!sistema::lerArquivo(arquivo, json, LimiteEstado, MsgCorrompido)) return std::nullopt;
    try {
        return deJson(json);
    } catch (const std::runtime_error&) {
        falhar(MsgCorrompido, arquivo);
    }
}

// The state in the file, or a factory-new device when there is none yet.
// A writer stopped before its rename left the new state whole beside no old
// one only when the old one was removed first, as older versions did: it is
// the state, renamed into place before anything else is written.
Estado lerEstado(const std::string& arquivo, bool& existia) {
    existia = true;
    if (const auto e = estadoDe(arquivo)) return *e;
    const std::string novo = arquivo + ".novo";
    if (const auto e = estadoDe(novo)) {
        if (!sistema::renomear(novo, arquivo))
            falhar("Não foi possível gravar o estado do emulador", arquivo);
        return *e;
    }
    existia = false;
    return estadoNovo(serieNova());
}

// Written and put in place under the lock.
void gravarEstado(const std::string& arquivo, const Estado& e) {
    sistema::substituir(arquivo, paraJson(e));
}

}  // namespace

std::string Controle::pastaPadrao() {
    return sistema::pastaPadrao();
}

Controle::Controle(const std::string& pasta) : m_pasta(pasta) {}

std::string Controle::arquivoEstado() const {
    return m_pasta + "/estado.json";
}

std::string Controle::arquivoDiario() const {
    return m_pasta + "/diario.txt";
}

Estado Controle::estado() const {
    Estado e;
    const_cast<Controle*>(this)->alterarSe([&e](Estado& atual) {
        e = atual;
        return false;
    });
    return e;
}

void Controle::alterarSe(const std::function<bool(Estado&)>& mudanca) {
    Trava trava(m_pasta);
    bool existia = false;
    Estado e = lerEstado(arquivoEstado(), existia);
    // A device seen for the first time keeps its serial number from then on.
    if (mudanca(e) || !existia) gravarEstado(arquivoEstado(), e);
}

void Controle::alterar(const std::function<void(Estado&)>& mudanca) {
    alterarSe([&mudanca](Estado& e) {
        mudanca(e);
        return true;
    });
}

void Controle::novo(const std::string& serie) {
    Trava trava(m_pasta);
    gravarEstado(arquivoEstado(), estadoNovo(serie.empty() ? serieNova() : serie));
}

void Controle::fabrica() {
    Trava trava(m_pasta);
    bool existia = false;
    std::string serie;
    try {
        serie = lerEstado(arquivoEstado(), existia).serie;
    } catch (const std::runtime_error&) {
        serie = serieNova();  // asked for on purpose: the corrupt file goes
    }
    gravarEstado(arquivoEstado(), estadoNovo(serie));
}

void Controle::proximo() {
    proximo(TrocaPadraoMs);
}

void Controle::proximo(int ms) {
    alterar([ms](Estado& e) {
        Estado novo = estadoNovo(serieNova(e.serie));
        // The bench's settings belong to the bench, not to the device.
        novo.latenciaMs = e.latenciaMs;
        novo.latenciaPorFuncao = e.latenciaPorFuncao;
        novo.reinicioAposMs = e.reinicioAposMs;
        novo.diario = e.diario;
        novo.falhas = e.falhas;
        novo.inundacaoMib = e.inundacaoMib;
        novo.reinicioAteMs = agoraMs() + std::max(0, ms);
        e = novo;
    });
}

void Controle::ativado(const std::string& codigo, const std::string& cnpj, int uf,
                       const std::string& assinatura) {
    alterar([&](Estado& e) {
        e.ativado = true;
        e.ativadoEmMs = agoraMs();
        e.codigoAtivacao = codigo;
        e.cnpjContribuinte = cnpj;
        e.uf = uf;
        e.assinatura = assinatura;
        e.cnpjSoftwareHouse.clear();
    });
}

void Controle::conectar(bool conectado) {
    alterar([conectado](Estado& e) {
        e.conectado = conectado;
        if (conectado) e.reinicioAteMs = 0;
    });
}

void Controle::ocupar(bool ocupado) {
    alterar([ocupado](Estado& e) {
        e.ocupado = ocupado;
        if (!ocupado) e.ocupadoAteMs = 0;
    });
}

void Controle::latencia(int ms) {
    alterar([ms](Estado& e) {
        e.latenciaMs = std::max(0, ms);
        e.latenciaPorFuncao.clear();
    });
}

void Controle::reiniciar(int ms) {
    alterar([ms](Estado& e) { e.reinicioAteMs = agoraMs() + std::max(0, ms); });
}

void Controle::falha(const std::string& funcao, const std::string& modo, int mib) {
    alterar([&](Estado& e) {
        if (modo != "nenhuma") {
            e.falhas[funcao] = modo;
            e.inundacaoMib[funcao] = mib;
        } else if (funcao == TodasAsFuncoes) {
            e.falhas.clear();
            e.inundacaoMib.clear();
        } else {
            e.falhas.erase(funcao);
            e.inundacaoMib.erase(funcao);
        }
    });
}

std::vector<std::string> Controle::linhasDiario() const {
    std::string texto;
    if (!sistema::lerArquivo(arquivoDiario(), texto, LimiteDiario,
                             "Diário do emulador grande demais") ||
        texto.empty())
        return {};
    if (texto.back() == '\n') texto.pop_back();
    return partes(texto, '\n');
}

// Without the lock, so that a stuck holder cannot stall the journal: each
// line goes in one appending write. Past its size the journal starts afresh,
// the last one kept beside it.
void Controle::registrarNoDiario(const std::string& linha) const {
    sistema::prepararPasta(m_pasta);
    sistema::anexarLinha(arquivoDiario(), linha, LimiteDiario);
}

}  // namespace emulador
