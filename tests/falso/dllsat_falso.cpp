/* A stand-in device library for the binding's and the windows' tests. In the
 * test's own process it answers what the test sets and keeps the arguments of
 * the last call; a test that needs a sequence of replies sets a script, asked
 * for each call's reply with that call's own arguments. Loaded by the helper
 * program, in a process of its own, it takes its orders from the environment
 * (see atenderDoAmbiente) and misbehaves as real libraries do. */
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sat/FuncoesSat.h"

#define EXPORTA SAT_EXPORTA

// On Windows the version information is the file's resource (versao.rc).
#ifdef SECAO_VERSAO
__attribute__((section(".versioninfo"), used)) static const char versao[] = SECAO_VERSAO;
#endif

using DllSatFalsoRoteiroFn = const char* (*)(const char* funcao, const int* inteiros,
                                             const char* const* textos);

namespace {

std::mutex trava;
char* resposta = nullptr;
int respostaNula = 0;
int demoraMs = 0;
char* argumentos[6];
int nulos[6];
int inteiros[6];
int chamadas = 0;
DllSatFalsoRoteiroFn roteiro = nullptr;
// The reply this thread got, valid until its next call: a test may set the
// next reply while a worker still reads the last one.
// A thread-local string would be destroyed by the thread's exit under the
// loader's lock, which hangs a Windows process that loaded this library: the
// threads keep a plain pointer, and the strings go with the library.
std::string& copiaDaThread() {
    static std::mutex guarda;
    static std::vector<std::unique_ptr<std::string>> todas;
    thread_local std::string* minha = nullptr;
    if (!minha) {
        const std::lock_guard<std::mutex> l(guarda);
        todas.push_back(std::make_unique<std::string>());
        minha = todas.back().get();
    }
    return *minha;
}

// One call's arguments by position; unused places are left as they were.
struct Chamada {
    int inteiros[6] = {};
    const char* textos[6] = {};
    bool usaInteiro[6] = {};
    bool usaTexto[6] = {};
    int n = 0;

    void operator()() {}
    template <typename... Resto>
    void operator()(int v, Resto... resto) {
        inteiros[n] = v;
        usaInteiro[n++] = true;
        (*this)(resto...);
    }
    template <typename... Resto>
    void operator()(const char* v, Resto... resto) {
        textos[n] = v;
        usaTexto[n++] = true;
        (*this)(resto...);
    }
};

void guardar(int i, const char* texto) {
    std::free(argumentos[i]);
    nulos[i] = texto == nullptr;
    argumentos[i] = strdup(texto ? texto : "");
}

void esperar(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// What a faulty library does: SIGSEGV here, an access violation on Windows
// (whose C runtime makes a raised SIGSEGV a plain exit).
void invadirMemoria() {
#ifdef _WIN32
    *reinterpret_cast<volatile char*>(std::getenv("DLLSAT_FALSO_NUNCA_DEFINIDA")) = 1;
#endif
    std::raise(SIGSEGV);
}

const char* ambiente(const char* nome) {
    const char* v = std::getenv(nome);
    return v ? v : "";
}

// Through the helper the test cannot reach this process: DLLSAT_FALSO_FALHA
// ("MODO" or "FUNCAO:MODO": sinal, abortar, sair, travar, inundar, nula,
// vazia), DLLSAT_FALSO_DEMORA_MS and DLLSAT_FALSO_RESPOSTA steer it,
// DLLSAT_FALSO_ECO=N answers the call's Nth argument as it arrived ("(nulo)"
// for a null one), and each call's name is appended to the file
// DLLSAT_FALSO_REGISTRO. False when none is set.
bool atenderDoAmbiente(const char* funcao, const Chamada& c, const char*& r) {
    if (FILE* f = std::fopen(ambiente("DLLSAT_FALSO_REGISTRO"), "a")) {
        std::fprintf(f, "%s\n", funcao);
        std::fclose(f);
    }
    std::string_view falha = ambiente("DLLSAT_FALSO_FALHA");
    const auto dois = falha.find(':');
    if (dois != std::string_view::npos)
        falha = falha.substr(0, dois) == funcao ? falha.substr(dois + 1) : std::string_view();
    esperar(std::atoi(ambiente("DLLSAT_FALSO_DEMORA_MS")));
    if (falha == "sinal") invadirMemoria();
    if (falha == "abortar") std::abort();
    if (falha == "sair") std::exit(3);
    if (falha == "travar")
        for (;;) esperar(60000);
    if (falha == "inundar") {
        static const std::string enchente(40u << 20, 'A');
        r = enchente.c_str();
    } else if (falha == "nula") {
        r = nullptr;
    } else if (falha == "vazia") {
        r = "";
    } else if (*ambiente("DLLSAT_FALSO_ECO")) {
        const char* t = c.textos[std::atoi(ambiente("DLLSAT_FALSO_ECO")) % 6];
        std::string& copia = copiaDaThread();
        copia = t ? t : "(nulo)";
        r = copia.c_str();
    } else if (*ambiente("DLLSAT_FALSO_RESPOSTA")) {
        r = ambiente("DLLSAT_FALSO_RESPOSTA");
    } else {
        return false;
    }
    return true;
}

const char* atender(const char* funcao, const Chamada& c) {
    const char* r = nullptr;
    if (atenderDoAmbiente(funcao, c, r)) return r;
    trava.lock();
    for (int i = 0; i < 6; ++i) {
        if (c.usaInteiro[i]) inteiros[i] = c.inteiros[i];
        if (c.usaTexto[i]) guardar(i, c.textos[i]);
    }
    ++chamadas;
    const DllSatFalsoRoteiroFn f = roteiro;
    const bool nula = respostaNula != 0;
    const bool padrao = resposta == nullptr;
    std::string& copia = copiaDaThread();
    copia = padrao ? "" : resposta;
    const int demora = demoraMs;
    trava.unlock();
    if (demora > 0) esperar(demora);
    if (f) return f(funcao, c.inteiros, c.textos);
    if (nula) return nullptr;
    return padrao ? "1|08000|SAT em opera\xe7\xe3o||" : copia.c_str();
}

// Answers for the named function with its own arguments.
struct Atendimento {
    const char* funcao;
    template <typename... A>
    const char* operator()(A... a) const {
        Chamada c;
        c(a...);
        return atender(funcao, c);
    }
};

}  // namespace

EXPORTA void DllSatFalsoResponder(const char* texto);
EXPORTA void DllSatFalsoResponder(const char* texto) {
    trava.lock();
    std::free(resposta);
    respostaNula = texto == nullptr;
    resposta = texto ? strdup(texto) : nullptr;
    trava.unlock();
}

EXPORTA void DllSatFalsoDemora(int ms);
EXPORTA void DllSatFalsoDemora(int ms) {
    trava.lock();
    demoraMs = ms;
    trava.unlock();
}
EXPORTA const char* DllSatFalsoArgumento(int i);
EXPORTA const char* DllSatFalsoArgumento(int i) {
    return argumentos[i];
}
EXPORTA int DllSatFalsoArgumentoNulo(int i);
EXPORTA int DllSatFalsoArgumentoNulo(int i) {
    return nulos[i];
}
EXPORTA int DllSatFalsoInteiro(int i);
EXPORTA int DllSatFalsoInteiro(int i) {
    return inteiros[i];
}
EXPORTA int DllSatFalsoChamadas();
EXPORTA int DllSatFalsoChamadas() {
    return chamadas;
}

// Null puts the single reply back. The script runs on the caller's thread,
// outside the library's lock, and its text must outlive the call.
EXPORTA void DllSatFalsoRoteiro(DllSatFalsoRoteiroFn f);
EXPORTA void DllSatFalsoRoteiro(DllSatFalsoRoteiroFn f) {
    trava.lock();
    roteiro = f;
    trava.unlock();
}

#ifdef SEM_DESBLOQUEAR
// Exported under another name: the library lacks the real one.
#define DesbloquearSAT DesbloquearSAT_ausente
#endif
#define FALSO_EXPORTAR(nome, codigo, detalhe, parametros, argumentos) \
    EXPORTA const char* SAT_CHAMADA nome parametros;                  \
    EXPORTA const char* SAT_CHAMADA nome parametros {                 \
        return Atendimento{#nome} argumentos;                         \
    }
SAT_FUNCOES(FALSO_EXPORTAR)
