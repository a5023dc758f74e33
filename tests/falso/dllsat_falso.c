/* A stand-in device library for the binding's and the shell's tests: it
 * answers what the test sets and keeps the arguments of the last call. A test
 * that needs a sequence of replies sets a script instead, which is asked for
 * each call's reply with that call's own arguments. */
#include <pthread.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#define EXPORTA __attribute__((visibility("default")))

#ifdef SECAO_VERSAO
__attribute__((section(".versioninfo"), used)) static const char versao[] = SECAO_VERSAO;
#endif

typedef const char* (*DllSatFalsoRoteiroFn)(const char* funcao, const int* inteiros,
                                            const char* const* textos);

static pthread_mutex_t trava = PTHREAD_MUTEX_INITIALIZER;
static char* resposta = NULL;
static int respostaNula = 0;
static int demoraMs = 0;
static char* argumentos[6];
static int nulos[6];
static int inteiros[6];
static int chamadas = 0;
static DllSatFalsoRoteiroFn roteiro = NULL;
/* The reply this thread got, valid until its next call: a test may set the
 * next reply while a worker still reads the last one. */
static __thread char* copia = NULL;
/* Frees a thread's last copy when the thread ends. */
static pthread_key_t chaveCopia;
static pthread_once_t chaveCriada = PTHREAD_ONCE_INIT;
static void criarChave(void) {
    pthread_key_create(&chaveCopia, free);
}

EXPORTA void DllSatFalsoResponder(const char* texto) {
    pthread_mutex_lock(&trava);
    free(resposta);
    respostaNula = texto == NULL;
    resposta = texto ? strdup(texto) : NULL;
    pthread_mutex_unlock(&trava);
}

EXPORTA void DllSatFalsoDemora(int ms) {
    pthread_mutex_lock(&trava);
    demoraMs = ms;
    pthread_mutex_unlock(&trava);
}
EXPORTA const char* DllSatFalsoArgumento(int i) {
    return argumentos[i];
}
EXPORTA int DllSatFalsoArgumentoNulo(int i) {
    return nulos[i];
}
EXPORTA int DllSatFalsoInteiro(int i) {
    return inteiros[i];
}
EXPORTA int DllSatFalsoChamadas(void) {
    return chamadas;
}

/* NULL puts the single reply back. The script runs on the caller's thread,
 * outside the library's lock, and its text must outlive the call. */
EXPORTA void DllSatFalsoRoteiro(DllSatFalsoRoteiroFn f) {
    pthread_mutex_lock(&trava);
    roteiro = f;
    pthread_mutex_unlock(&trava);
}

/* One call's arguments by position; unused places are left as they were. */
struct chamada {
    int inteiros[6];
    const char* textos[6];
    int usaInteiro[6];
    int usaTexto[6];
};

static void guardar(int i, const char* texto) {
    free(argumentos[i]);
    nulos[i] = texto == NULL;
    argumentos[i] = strdup(texto ? texto : "");
}

static const char* atender(const char* funcao, const struct chamada* c) {
    DllSatFalsoRoteiroFn f;
    int i, nula, demora;
    pthread_mutex_lock(&trava);
    for (i = 0; i < 6; ++i) {
        if (c->usaInteiro[i]) inteiros[i] = c->inteiros[i];
        if (c->usaTexto[i]) guardar(i, c->textos[i]);
    }
    ++chamadas;
    f = roteiro;
    nula = respostaNula;
    demora = demoraMs;
    free(copia);
    copia = resposta ? strdup(resposta) : NULL;
    pthread_once(&chaveCriada, criarChave);
    pthread_setspecific(chaveCopia, copia);
    pthread_mutex_unlock(&trava);
    if (demora > 0) {
        struct timespec t = {demora / 1000, (demora % 1000) * 1000000L};
        nanosleep(&t, NULL);
    }
    if (f) return f(funcao, c->inteiros, c->textos);
    if (nula) return NULL;
    return copia ? copia : "1|08000|SAT em opera\xe7\xe3o||";
}

EXPORTA const char* ConsultarSAT(int s) {
    struct chamada c = {.inteiros = {s}, .usaInteiro = {1}};
    return atender("ConsultarSAT", &c);
}

#define SO_CODIGO(nome)                                                                     \
    EXPORTA const char* nome(int s, const char* cod) {                                      \
        struct chamada c = {                                                                \
            .inteiros = {s}, .textos = {NULL, cod}, .usaInteiro = {1}, .usaTexto = {0, 1}}; \
        return atender(#nome, &c);                                                          \
    }
SO_CODIGO(ConsultarStatusOperacional)
SO_CODIGO(ExtrairLogs)
SO_CODIGO(AtualizarSoftwareSAT)
SO_CODIGO(BloquearSAT)
#ifndef SEM_DESBLOQUEAR
SO_CODIGO(DesbloquearSAT)
#endif

EXPORTA const char* ConsultarNumeroSessao(int s, const char* cod, int n) {
    struct chamada c = {
        .inteiros = {s, 0, n}, .textos = {NULL, cod}, .usaInteiro = {1, 0, 1}, .usaTexto = {0, 1}};
    return atender("ConsultarNumeroSessao", &c);
}

EXPORTA const char* AtivarSAT(int s, int sub, const char* cod, const char* cnpj, int uf) {
    struct chamada c = {.inteiros = {s, sub, 0, 0, uf},
                        .textos = {NULL, NULL, cod, cnpj},
                        .usaInteiro = {1, 1, 0, 0, 1},
                        .usaTexto = {0, 0, 1, 1}};
    return atender("AtivarSAT", &c);
}

#define CODIGO_E_TEXTOS(nome)                                                        \
    EXPORTA const char* nome(int s, const char* cod, const char* a, const char* b) { \
        struct chamada c = {.inteiros = {s},                                         \
                            .textos = {NULL, cod, a, b},                             \
                            .usaInteiro = {1},                                       \
                            .usaTexto = {0, 1, 1, 1}};                               \
        return atender(#nome, &c);                                                   \
    }
CODIGO_E_TEXTOS(AssociarAssinatura)
CODIGO_E_TEXTOS(CancelarUltimaVenda)

#define CODIGO_E_DOCUMENTO(nome)                                                                  \
    EXPORTA const char* nome(int s, const char* cod, const char* d) {                             \
        struct chamada c = {                                                                      \
            .inteiros = {s}, .textos = {NULL, cod, d}, .usaInteiro = {1}, .usaTexto = {0, 1, 1}}; \
        return atender(#nome, &c);                                                                \
    }
CODIGO_E_DOCUMENTO(TesteFimAFim)
CODIGO_E_DOCUMENTO(EnviarDadosVenda)
CODIGO_E_DOCUMENTO(ConfigurarInterfaceDeRede)

EXPORTA const char* TrocarCodigoDeAtivacao(int s, const char* cod, int op, const char* n,
                                           const char* conf) {
    struct chamada c = {.inteiros = {s, 0, op},
                        .textos = {NULL, cod, NULL, n, conf},
                        .usaInteiro = {1, 0, 1},
                        .usaTexto = {0, 1, 0, 1, 1}};
    return atender("TrocarCodigoDeAtivacao", &c);
}
