// The emulated device as a point-of-sale program meets it: the library loaded
// by the system's loader alone (no Qt, no tool, no helper), its fourteen
// functions found by their plain names and called in the standard's
// convention, its version resource, its private state folder and what it
// refuses, its lock, the control command and other processes beside it, its
// faults, and the library unloaded under a thread that used it. Run on every
// system the library is built for: on Windows under Wine, through CTest.
// Usage: emulador_pdv BIBLIOTECA SATEMU [PASTA_BASE]
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "sat/FuncoesSat.h"
#include "tests/pdv/Plataforma.h"

namespace {

namespace fs = std::filesystem;

// The fourteen functions of one loaded library, in the standard's convention.
struct Funcoes {
#define PDV_PONTEIRO(nome, codigo, detalhe, parametros, argumentos) \
    sat::Tipo##nome* nome = nullptr;  // NOLINT(bugprone-macro-parentheses)
    SAT_FUNCOES(PDV_PONTEIRO)
#undef PDV_PONTEIRO
    void* biblioteca = nullptr;
    std::vector<std::string> faltam;
};

Funcoes carregar(const std::string& caminho) {
    Funcoes f;
    std::string erro;
    f.biblioteca = pdv::carregar(caminho, erro);
    if (!f.biblioteca) throw std::runtime_error("a biblioteca não carrega: " + erro);
#define PDV_RESOLVER(nome, codigo, detalhe, parametros, argumentos)                 \
    f.nome = reinterpret_cast<sat::Tipo##nome*>(pdv::simbolo(f.biblioteca, #nome)); \
    if (!f.nome) f.faltam.emplace_back(#nome);
    SAT_FUNCOES(PDV_RESOLVER)
#undef PDV_RESOLVER
    return f;
}

std::string texto(const char* r) {
    return r ? std::string(r) : std::string("(nulo)");
}

bool comeca(const std::string& t, const std::string& inicio) {
    return t.compare(0, inicio.size(), inicio) == 0;
}

class Falha : public std::runtime_error {
  public:
    explicit Falha(const std::string& m) : std::runtime_error(m) {}
};

void exigir(bool condicao, const std::string& oQue) {
    if (!condicao) throw Falha(oQue);
}

const char* const PortaNaoPronta = "PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE";
const char* const Codigo = "12345678";
const char* const Cnpj = "12345678000195";

struct Verificacao {
    std::string biblioteca;
    std::string satemu;
    std::string base;
    Funcoes f;

    // A device of its own for each case, in a folder made afresh.
    std::string novaPasta(const std::string& nome) {
        const std::string pasta = base + "/" + nome + "-" + std::to_string(pdv::processo());
        fs::remove_all(fs::u8path(pasta));
        pdv::definirVariavel("SAT_EMULADOR_DIR", pasta);
        return pasta;
    }

    void satemuFaz(const std::vector<std::string>& argumentos) {
        std::vector<std::string> comando{satemu};
        comando.insert(comando.end(), argumentos.begin(), argumentos.end());
        const pdv::Fim fim = pdv::executar({comando}).front();
        std::string linha;
        for (const auto& a : argumentos) linha += ' ' + a;
        exigir(!fim.sinal && fim.codigo == 0,
               "satemu" + linha + " terminou com " + std::to_string(fim.codigo));
    }

    std::string consultar(int sessao) { return texto(f.ConsultarSAT(sessao)); }

    // The versions a program reads before it trusts the library.
    void versao() {
        const auto empresa = pdv::versao(biblioteca, "CompanyName");
        if (!empresa) {
            std::printf("  (sem recurso de versão neste sistema)\n");
            return;
        }
        exigir(*empresa == "Tivoro Telecomunicacoes e Informatica S/A", "empresa: " + *empresa);
        exigir(pdv::versao(biblioteca, "Translation") == std::string("0416 04E4"),
               "tradução: " + pdv::versao(biblioteca, "Translation").value_or(""));
        exigir(pdv::versao(biblioteca, "FileVersion") == std::string("1,0,2,15"),
               "versão: " + pdv::versao(biblioteca, "FileVersion").value_or(""));
        exigir(pdv::versao(biblioteca, "SpecialBuild") == std::string("SAT EMULADO"),
               "SpecialBuild: " + pdv::versao(biblioteca, "SpecialBuild").value_or(""));
    }

    void consultaEmWindows1252() {
        novaPasta("consulta");
        const std::string r = consultar(123);
        exigir(r == "123|08000|SAT em opera\xe7\xe3o||", "resposta: " + r);
    }

    void ativacaoEStatus() {
        novaPasta("ativacao");
        std::string r = texto(f.AtivarSAT(7, 1, Codigo, Cnpj, 35));
        exigir(comeca(r, "7|04000|"), "ativação: " + r);
        r = texto(f.ConsultarStatusOperacional(8, Codigo));
        exigir(comeca(r, "8|10000|"), "status: " + r);
        r = texto(f.ConsultarStatusOperacional(9, "87654321"));
        exigir(comeca(r, "9|10001|"), "status com outro código: " + r);
    }

    void pastaSoDoUsuario() {
        const std::string pasta = novaPasta("privada");
        exigir(comeca(consultar(1), "1|08000|"), "consulta");
        std::string porque;
        exigir(pdv::soDoUsuario(pasta, porque), "a pasta não é só do usuário: " + porque);
        exigir(fs::exists(fs::u8path(pasta + "/estado.json")), "sem estado.json");
    }

    void pastaAbertaRecusada() {
        const std::string pasta = novaPasta("aberta");
        fs::create_directories(fs::u8path(pasta));
        pdv::abrirAosOutros(pasta);
        const std::string r = consultar(2);
        exigir(comeca(r, "2|08099|") && r.find("alterada por outros") != std::string::npos,
               "resposta: " + r);
        exigir(!fs::exists(fs::u8path(pasta + "/estado.json")), "estado gravado numa pasta aberta");
    }

    void linkFisicoRecusado() {
        const std::string pasta = novaPasta("link");
        exigir(comeca(consultar(1), "1|08000|"), "consulta");
        exigir(pdv::linkFisico(pasta + "/estado.json", pasta + "/outro.json"),
               "o sistema não fez o link físico");
        const std::string r = consultar(3);
        exigir(comeca(r, "3|08099|") && r.find("(link f") != std::string::npos, "resposta: " + r);
    }

    void caminhoComAcentos() {
        const std::string pasta = novaPasta("Ação çé");
        exigir(comeca(consultar(4), "4|08000|"), "consulta: " + consultar(4));
        exigir(fs::exists(fs::u8path(pasta + "/estado.json")), "sem estado.json em " + pasta);
    }

    void ocupadoPorOutro() {
        const std::string pasta = novaPasta("ocupado");
        exigir(comeca(consultar(1), "1|08000|"), "consulta");
        const std::intptr_t trava = pdv::travar(pasta + "/estado.lock");
        const auto inicio = std::chrono::steady_clock::now();
        const std::string r = consultar(5);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - inicio)
                            .count();
        pdv::soltar(trava);
        exigir(comeca(r, "5|08098|"), "resposta com o estado travado: " + r);
        exigir(ms >= 900 && ms < 5000, "esperou " + std::to_string(ms) + " ms");
        exigir(comeca(consultar(6), "6|08000|"), "consulta depois de soltar");
    }

    void desconectadoPeloSatemu() {
        novaPasta("desconectado");
        satemuFaz({"desconectar"});
        const std::string r = consultar(7);
        exigir(r == PortaNaoPronta, "resposta: " + r);
        satemuFaz({"conectar"});
        exigir(comeca(consultar(8), "8|08000|"), "consulta depois de conectar");
    }

    void diarioDeDoisProcessos() {
        const std::string pasta = novaPasta("diario");
        satemuFaz({"diario", "on"});
        const int chamadas = 150;
        const std::vector<std::string> filho{pdv::estePrograma(), "--chamar", biblioteca,
                                             std::to_string(chamadas)};
        for (const pdv::Fim& fim : pdv::executar({filho, filho}))
            exigir(!fim.sinal && fim.codigo == 0,
                   "um processo terminou com " + std::to_string(fim.codigo));
        std::ifstream diario(fs::u8path(pasta + "/diario.txt"), std::ios::binary);
        int linhas = 0;
        for (std::string linha; std::getline(diario, linha); ++linhas)
            exigir(linha.find(" ConsultarSAT(") == 23 && linha.find(") -> ") != std::string::npos &&
                       linha.back() == '|',
                   "linha partida: " + linha);
        exigir(linhas == 2 * chamadas, std::to_string(linhas) + " linhas no diário");
        // The state the two processes shared still reads.
        satemuFaz({"estado"});
    }

    // A folder given with forward slashes, as a program or a script may write
    // it on Windows too.
    void barrasNormais() {
        std::string pasta = novaPasta("barras");
        std::replace(pasta.begin(), pasta.end(), '\\', '/');
        pdv::definirVariavel("SAT_EMULADOR_DIR", pasta);
        exigir(comeca(consultar(12), "12|08000|"), "consulta");
        exigir(fs::exists(fs::u8path(pasta + "/estado.json")), "sem estado.json em " + pasta);
    }

    void falhasPedidas() {
        novaPasta("falhas");
        const std::vector<std::string> filho{pdv::estePrograma(), "--chamar", biblioteca, "1"};
        satemuFaz({"falha", "ConsultarSAT", "sinal"});
        pdv::Fim fim = pdv::executar({filho}).front();
        exigir(fim.sinal && fim.codigo == pdv::Segmentacao,
               "sinal: terminou com " + std::to_string(fim.codigo));
        satemuFaz({"falha", "ConsultarSAT", "sair"});
        fim = pdv::executar({filho}).front();
        exigir(!fim.sinal && fim.codigo == 3, "sair: terminou com " + std::to_string(fim.codigo));
        satemuFaz({"falha", "ConsultarSAT", "nula"});
        exigir(f.ConsultarSAT(9) == nullptr, "nula: não devolveu um ponteiro nulo");
        satemuFaz({"falha", "todas", "nenhuma"});
        exigir(comeca(consultar(10), "10|08000|"), "consulta depois das falhas");
    }

    void descarregadaSobUmaThread() {
        novaPasta("descarregar");
        const pdv::Fim fim =
            pdv::executar({{pdv::estePrograma(), "--descarregar", biblioteca}}).front();
        exigir(!fim.sinal && fim.codigo == 0,
               "o processo terminou com " + std::to_string(fim.codigo));
    }
};

// A child: so many calls, each answered whole.
int chamar(const std::string& biblioteca, int vezes) {
    const Funcoes f = carregar(biblioteca);
    for (int i = 1; i <= vezes; ++i) {
        const std::string r = texto(f.ConsultarSAT(i));
        if (!comeca(r, std::to_string(i) + "|08000|")) {
            std::fprintf(stderr, "chamada %d: %s\n", i, r.c_str());
            return 1;
        }
    }
    return 0;
}

// A child: a thread calls the library (its reply lives in that thread), the
// library is unloaded, then the thread ends, as a program that unloads the
// library while a worker of its own lives on.
int descarregar(const std::string& biblioteca) {
    Funcoes f = carregar(biblioteca);
    std::mutex m;
    std::condition_variable cv;
    int etapa = 0;
    std::string r;
    std::thread trabalhador([&] {
        r = texto(f.ConsultarSAT(11));
        std::unique_lock<std::mutex> vez(m);
        etapa = 1;
        cv.notify_all();
        cv.wait(vez, [&] { return etapa == 2; });
    });
    {
        std::unique_lock<std::mutex> vez(m);
        cv.wait(vez, [&] { return etapa == 1; });
    }
    pdv::descarregar(f.biblioteca);
    {
        const std::lock_guard<std::mutex> vez(m);
        etapa = 2;
    }
    cv.notify_all();
    trabalhador.join();
    return comeca(r, "11|08000|") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv + 1, argv + argc);
    try {
        if (a.size() == 3 && a[0] == "--chamar") return chamar(a[1], std::atoi(a[2].c_str()));
        if (a.size() == 2 && a[0] == "--descarregar") return descarregar(a[1]);
        if (a.size() < 2 || a.size() > 3) {
            std::fprintf(stderr, "Uso: emulador_pdv BIBLIOTECA SATEMU [PASTA_BASE]\n");
            return 2;
        }
        Verificacao v{a[0], a[1], a.size() > 2 ? a[2] : pdv::pastaBase(), carregar(a[0])};
        std::string faltam;
        for (const auto& nome : v.f.faltam) faltam += ' ' + nome;
        if (!faltam.empty()) {
            std::printf("FALHOU exporta as quatorze funções: faltam%s\n", faltam.c_str());
            std::printf("0 passed, 1 failed\n");
            return 1;
        }
        const std::vector<std::pair<const char*, void (Verificacao::*)()>> casos = {
            {"versao", &Verificacao::versao},
            {"consulta_em_windows_1252", &Verificacao::consultaEmWindows1252},
            {"ativacao_e_status", &Verificacao::ativacaoEStatus},
            {"pasta_so_do_usuario", &Verificacao::pastaSoDoUsuario},
            {"pasta_aberta_recusada", &Verificacao::pastaAbertaRecusada},
            {"link_fisico_recusado", &Verificacao::linkFisicoRecusado},
            {"caminho_com_acentos", &Verificacao::caminhoComAcentos},
            {"barras_normais", &Verificacao::barrasNormais},
            {"ocupado_por_outro", &Verificacao::ocupadoPorOutro},
            {"desconectado_pelo_satemu", &Verificacao::desconectadoPeloSatemu},
            {"diario_de_dois_processos", &Verificacao::diarioDeDoisProcessos},
            {"falhas_pedidas", &Verificacao::falhasPedidas},
            {"descarregada_sob_uma_thread", &Verificacao::descarregadaSobUmaThread},
        };
        int passaram = 1, falharam = 0;
        std::printf("ok     exporta_as_quatorze_funcoes\n");
        for (const auto& [nome, caso] : casos) {
            const auto inicio = std::chrono::steady_clock::now();
            try {
                (v.*caso)();
                ++passaram;
                std::printf(
                    "ok     %s (%lld ms)\n", nome,
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - inicio)
                                               .count()));
            } catch (const std::exception& e) {
                ++falharam;
                std::printf("FALHOU %s: %s\n", nome, e.what());
            }
            std::fflush(stdout);
        }
        std::printf("%d passed, %d failed\n", passaram, falharam);
        return falharam == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "emulador_pdv: %s\n", e.what());
        return 1;
    }
}
