#include "emulator/Atendimento.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <thread>

#include "emulator/Sistema.h"
#include "emulator/Texto.h"

namespace emulador {

Historico& historico() {
    static Historico h;
    return h;
}

namespace {

const char* const MsgOcupado = "SAT em processamento. Tente novamente.";
// How often a call that waits looks at the state again.
constexpr int IntervaloConsultaMs = 50;

// The device serves one command at a time.
std::timed_mutex& mutexChamadas() {
    static std::timed_mutex m;
    return m;
}

// One journal field: UTF-8 as it is, anything else read as Windows-1252,
// one line whatever it holds.
std::string paraDiario(const std::string& bytes) {
    const std::string t = utf8Valido(bytes) ? bytes : deWin1252(bytes.c_str());
    std::string r;
    for (char c : t) {
        if (c == '\\')
            r += "\\\\";
        else if (c == '\n')
            r += "\\n";
        else if (c == '\r')
            r += "\\r";
        else
            r += c;
    }
    return r;
}

void registrar(const Controle& controle, const Funcao& funcao,
               const std::vector<std::string>& argumentos, const std::string& resposta) {
    const std::int64_t agora = agoraMs();
    std::string linha =
        dataHora(agora, "%Y-%m-%d %H:%M:%S.") + comZeros(agora % 1000, 3) + ' ' + funcao.nome + '(';
    for (std::size_t i = 0; i < argumentos.size(); ++i)
        linha += (i ? ", " : "") + paraDiario(argumentos[i]);
    try {
        controle.registrarNoDiario(linha + ") -> " + paraDiario(resposta));
    } catch (const std::exception& erro) {
        std::fprintf(stderr, "dllsat (emulador): %s\n", erro.what());
    }
}

// What the state says of a call before its rule runs.
struct Chamada {
    std::string serie;
    int latencia = 0;
    bool diario = false;
    std::string falha;
    int inundacaoMib = 0;
};

// Polls the state: a device unplugged meanwhile, or swapped for the next one,
// is seen at the next look; a state another process holds or broke is not
// taken for either.
bool conectado(const Controle& controle, const std::string& serie) {
    try {
        const Estado e = controle.estado();
        return e.conectado && e.serie == serie;
    } catch (const std::exception&) {
        return true;
    }
}

// True until the device is unplugged, looking at the state at most so often.
Continuar olhandoAPorta(const Controle& controle, const std::string& serie) {
    auto proxima = std::chrono::steady_clock::now();
    return [&controle, serie, proxima]() mutable {
        const auto agora = std::chrono::steady_clock::now();
        if (agora < proxima) return true;
        proxima = agora + std::chrono::milliseconds(IntervaloConsultaMs);
        return conectado(controle, serie);
    };
}

// The reply delay, cut short when the device is unplugged: false then.
bool esperar(const Controle& controle, const std::string& serie, int ms) {
    const auto fim = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (auto agora = std::chrono::steady_clock::now(); agora < fim;
         agora = std::chrono::steady_clock::now()) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            fim - agora, std::chrono::milliseconds(IntervaloConsultaMs)));
        if (!conectado(controle, serie)) return false;
    }
    return true;
}

// Hangs until the fault is taken off (or changed) or the device unplugged.
void travar(const Controle& controle, const Funcao& funcao) {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(IntervaloConsultaMs));
        try {
            const Estado e = controle.estado();
            if (!e.conectado || e.falhaDe(funcao.nome) != "travar") return;
        } catch (const std::exception&) {
        }
    }
}

// The reply of a function that misbehaves on request, or none at all.
std::string falhar(const Resposta& r, const Chamada& c) {
    if (c.falha == "abortar") std::abort();
    if (c.falha == "sinal") {
        // A process that ignores the signal gets an empty reply.
        sistema::falhaDeSegmentacao();
        return {};
    }
    if (c.falha == "sair") std::_Exit(3);
    if (c.falha == "nula") throw SemResposta();
    if (c.falha == "vazia") return {};
    const std::size_t tamanho = std::size_t(c.inundacaoMib) << 20;
    std::string resposta = r.padrao(0, "Inundação");
    resposta.resize(tamanho, 'A');
    return resposta;
}

}  // namespace

std::string atender(Controle& controle, const Funcao& funcao, int sessao,
                    const Argumentos& argumentos, const Regra& regra) {
    const Resposta r(sessao, funcao);
    std::unique_lock<std::timed_mutex> vez(mutexChamadas(), std::defer_lock);
    if (!vez.try_lock_for(std::chrono::milliseconds(EsperaMaximaMs)))
        return r.semDetalhe(98, MsgOcupado);
    const auto inicio = std::chrono::steady_clock::now();
    std::string resposta;
    Chamada c;
    Continuacao depois;
    bool atendida = false;
    try {
        controle.alterarSe([&](Estado& e) {
            const std::int64_t agora = agoraMs();
            c.serie = e.serie;
            c.latencia = e.latenciaDe(funcao.nome);
            c.diario = e.diario;
            if (!e.conectadoEm(agora)) {
                resposta = PortaNaoPronta;
                return false;
            }
            c.falha = e.falhaDe(funcao.nome);
            c.inundacaoMib = e.inundacaoDe(funcao.nome);
            if (!c.falha.empty()) return false;
            if (e.ocupadoEm(agora)) {
                resposta = r.semDetalhe(98, MsgOcupado);
                return false;
            }
            bool mudou = false;
            resposta = regra(r, e, mudou, depois);
            atendida = true;
            return mudou;
        });
    } catch (const Ocupado&) {
        resposta = r.semDetalhe(98, MsgOcupado);
    } catch (const std::exception& erro) {
        std::fprintf(stderr, "dllsat (emulador): %s\n", erro.what());
        resposta = r.semDetalhe(99, std::string("Erro desconhecido: ") + erro.what());
        depois = nullptr;
    } catch (...) {
        resposta = r.semDetalhe(99, "Erro desconhecido");
        depois = nullptr;
    }
    if (c.falha == "travar") {
        travar(controle, funcao);
        vez.unlock();
        return atender(controle, funcao, sessao, argumentos, regra);
    }
    if (!c.falha.empty()) return falhar(r, c);
    if (atendida && depois && !depois(resposta, olhandoAPorta(controle, c.serie))) {
        resposta = PortaNaoPronta;
        atendida = false;
    }
    // A device unplugged (or swapped) while it works never answers, however
    // long that took.
    const bool longa =
        std::chrono::steady_clock::now() - inicio > std::chrono::milliseconds(IntervaloConsultaMs);
    if (!esperar(controle, c.serie, c.latencia) || (longa && !conectado(controle, c.serie))) {
        resposta = PortaNaoPronta;
        atendida = false;
    }
    if (atendida && std::string_view(funcao.nome) != "ConsultarNumeroSessao")
        historico().guardar(sessao, resposta);
    if (c.diario) registrar(controle, funcao, argumentos(), resposta);
    return resposta;
}

}  // namespace emulador
