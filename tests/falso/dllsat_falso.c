/* A stand-in device library for the binding's and the shell's tests: it
 * answers what the test sets and keeps the arguments of the last call. */
#include <stdlib.h>
#include <string.h>
#include <time.h>

#define EXPORTA __attribute__((visibility("default")))

#ifdef SECAO_VERSAO
__attribute__((section(".versioninfo"), used)) static const char versao[] = SECAO_VERSAO;
#endif

static char* resposta = NULL;
static int respostaNula = 0;
static int demoraMs = 0;
static char* argumentos[6];
static int nulos[6];
static int inteiros[6];
static int chamadas = 0;

EXPORTA void DllSatFalsoResponder(const char* texto) {
    free(resposta);
    respostaNula = texto == NULL;
    resposta = texto ? strdup(texto) : NULL;
}

EXPORTA void DllSatFalsoDemora(int ms) { demoraMs = ms; }
EXPORTA const char* DllSatFalsoArgumento(int i) { return argumentos[i]; }
EXPORTA int DllSatFalsoArgumentoNulo(int i) { return nulos[i]; }
EXPORTA int DllSatFalsoInteiro(int i) { return inteiros[i]; }
EXPORTA int DllSatFalsoChamadas(void) { return chamadas; }

static void guardar(int i, const char* texto) {
    free(argumentos[i]);
    nulos[i] = texto == NULL;
    argumentos[i] = strdup(texto ? texto : "");
}

static const char* responder(void) {
    ++chamadas;
    if (demoraMs > 0) {
        struct timespec t = {demoraMs / 1000, (demoraMs % 1000) * 1000000L};
        nanosleep(&t, NULL);
    }
    if (respostaNula) return NULL;
    return resposta ? resposta : "1|08000|SAT em opera\xe7\xe3o||";
}

#define SO_CODIGO(nome)                               \
    EXPORTA const char* nome(int s, const char* c) { \
        inteiros[0] = s;                              \
        guardar(1, c);                                \
        return responder();                           \
    }

EXPORTA const char* ConsultarSAT(int s) {
    inteiros[0] = s;
    return responder();
}
SO_CODIGO(ConsultarStatusOperacional)
SO_CODIGO(ExtrairLogs)
SO_CODIGO(AtualizarSoftwareSAT)
SO_CODIGO(BloquearSAT)
#ifndef SEM_DESBLOQUEAR
SO_CODIGO(DesbloquearSAT)
#endif

EXPORTA const char* ConsultarNumeroSessao(int s, const char* c, int n) {
    inteiros[0] = s;
    guardar(1, c);
    inteiros[2] = n;
    return responder();
}

EXPORTA const char* AtivarSAT(int s, int sub, const char* c, const char* cnpj, int uf) {
    inteiros[0] = s;
    inteiros[1] = sub;
    guardar(2, c);
    guardar(3, cnpj);
    inteiros[4] = uf;
    return responder();
}

#define CODIGO_E_TEXTOS(nome)                                                      \
    EXPORTA const char* nome(int s, const char* c, const char* a, const char* b) { \
        inteiros[0] = s;                                                           \
        guardar(1, c);                                                             \
        guardar(2, a);                                                             \
        guardar(3, b);                                                             \
        return responder();                                                        \
    }
CODIGO_E_TEXTOS(AssociarAssinatura)
CODIGO_E_TEXTOS(CancelarUltimaVenda)

#define CODIGO_E_DOCUMENTO(nome)                                     \
    EXPORTA const char* nome(int s, const char* c, const char* d) { \
        inteiros[0] = s;                                             \
        guardar(1, c);                                               \
        guardar(2, d);                                               \
        return responder();                                          \
    }
CODIGO_E_DOCUMENTO(TesteFimAFim)
CODIGO_E_DOCUMENTO(EnviarDadosVenda)
CODIGO_E_DOCUMENTO(ConfigurarInterfaceDeRede)

EXPORTA const char* TrocarCodigoDeAtivacao(int s, const char* c, int op, const char* n,
                                           const char* conf) {
    inteiros[0] = s;
    guardar(1, c);
    inteiros[2] = op;
    guardar(3, n);
    guardar(4, conf);
    return responder();
}
