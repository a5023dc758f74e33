#include "emulator/Atendimento.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string_view>
#include <thread>

#include "emulator/Texto.h"

namespace emulador {

Historico& historico() {
    static Historico h;
    return h;
}

namespace {

const char* const MsgOcupado = "SAT em processamento. Tente novamente.";

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

}  // namespace

std::string atender(Controle& controle, const Funcao& funcao, int sessao,
                    const Argumentos& argumentos, const Regra& regra) {
    const Resposta r(sessao, funcao);
    std::unique_lock<std::timed_mutex> vez(mutexChamadas(), std::defer_lock);
    if (!vez.try_lock_for(std::chrono::milliseconds(EsperaMaximaMs)))
        return r.semDetalhe(98, MsgOcupado);
    std::string resposta;
    int latencia = 0;
    bool diario = false, atendida = false;
    try {
        controle.alterarSe([&](Estado& e) {
            const std::int64_t agora = agoraMs();
            latencia = e.latenciaDe(funcao.nome);
            diario = e.diario;
            if (!e.conectadoEm(agora)) {
                resposta = PortaNaoPronta;
                return false;
            }
            if (e.ocupadoEm(agora)) {
                resposta = r.semDetalhe(98, MsgOcupado);
                return false;
            }
            bool mudou = false;
            resposta = regra(r, e, mudou);
            atendida = true;
            return mudou;
        });
    } catch (const Ocupado&) {
        resposta = r.semDetalhe(98, MsgOcupado);
    } catch (const std::exception& erro) {
        std::fprintf(stderr, "dllsat (emulador): %s\n", erro.what());
        resposta = r.semDetalhe(99, std::string("Erro desconhecido: ") + erro.what());
    } catch (...) {
        resposta = r.semDetalhe(99, "Erro desconhecido");
    }
    if (latencia > 0) std::this_thread::sleep_for(std::chrono::milliseconds(latencia));
    if (atendida && std::string_view(funcao.nome) != "ConsultarNumeroSessao")
        historico().guardar(sessao, resposta);
    if (diario) registrar(controle, funcao, argumentos(), resposta);
    return resposta;
}

}  // namespace emulador
