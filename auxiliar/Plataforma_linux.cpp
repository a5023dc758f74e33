#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "auxiliar/Plataforma.h"

namespace auxiliar {

Canais prepararCanais() {
    // A crash inside the library must end the helper with its own signal,
    // which the tool reports; a handler a runtime left would make it an exit.
    for (const int sinal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(sinal, SIG_DFL);
    const int saida = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (saida < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) std::_Exit(2);
    return {STDIN_FILENO, saida};
}

bool lerTudo(int canal, char* destino, std::size_t tamanho) {
    while (tamanho > 0) {
        const ssize_t n = read(canal, destino, tamanho);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        destino += n;
        tamanho -= static_cast<std::size_t>(n);
    }
    return true;
}

bool escreverTudo(int canal, const char* origem, std::size_t tamanho) {
    while (tamanho > 0) {
        const ssize_t n = write(canal, origem, tamanho);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        origem += n;
        tamanho -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string argumento(char** argv, int i) {
    return argv[i];
}

void vigiarTool(const Canais& canais) {
    // The write end of the reply pipe reports an error once nobody can read
    // it any more: the tool ended or gave up on this helper.
    std::thread([saida = canais.saida] {
        pollfd p{saida, 0, 0};
        while (poll(&p, 1, -1) < 0 || !(p.revents & (POLLERR | POLLHUP))) {
        }
        std::_Exit(0);
    }).detach();
}

std::string Biblioteca::carregar(const std::string& caminho) {
    m_handle = dlopen(caminho.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle) return {};
    const char* erro = dlerror();
    return erro ? erro : "dlopen falhou";
}

void* Biblioteca::funcao(const char* nome) const {
    return dlsym(m_handle, nome);
}

std::string Biblioteca::caminhoCarregado(void* umaFuncao) const {
    Dl_info info{};
    if (dladdr(umaFuncao, &info) && info.dli_fname) return info.dli_fname;
    return {};
}

}  // namespace auxiliar
