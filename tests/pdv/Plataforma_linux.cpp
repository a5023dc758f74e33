#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include "tests/pdv/Plataforma.h"

namespace pdv {

const long Segmentacao = SIGSEGV;

void* carregar(const std::string& caminho, std::string& erro) {
    void* b = ::dlopen(caminho.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!b) erro = ::dlerror();
    return b;
}

void* simbolo(void* biblioteca, const char* nome) {
    return ::dlsym(biblioteca, nome);
}

void descarregar(void* biblioteca) {
    ::dlclose(biblioteca);
}

// The ELF section the tool reads is the tool's own tests' concern.
std::optional<std::string> versao(const std::string&, const std::string&) {
    return std::nullopt;
}

void definirVariavel(const char* nome, const std::string& valor) {
    ::setenv(nome, valor.c_str(), 1);
}

std::string pastaBase() {
    const char* base = std::getenv("XDG_STATE_HOME");
    if (base && *base) return std::string(base) + "/sat-emulador-testes";
    const char* casa = std::getenv("HOME");
    return std::string(casa ? casa : "") + "/.local/state/sat-emulador-testes";
}

void abrirAosOutros(const std::string& pasta) {
    ::chmod(pasta.c_str(), 0777);
}

bool soDoUsuario(const std::string& pasta, std::string& porque) {
    struct stat s {};
    if (::stat(pasta.c_str(), &s) != 0) {
        porque = "a pasta não existe";
        return false;
    }
    if ((s.st_mode & 0777) != 0700) {
        porque = "modo " + std::to_string(s.st_mode & 0777);
        return false;
    }
    return true;
}

bool linkFisico(const std::string& arquivo, const std::string& outroNome) {
    return ::link(arquivo.c_str(), outroNome.c_str()) == 0;
}

std::intptr_t travar(const std::string& arquivo) {
    const int fd = ::open(arquivo.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) throw std::runtime_error("sem trava: " + arquivo);
    return fd;
}

void soltar(std::intptr_t trava) {
    ::flock(int(trava), LOCK_UN);
    ::close(int(trava));
}

std::string estePrograma() {
    char caminho[4096];
    const ssize_t n = ::readlink("/proc/self/exe", caminho, sizeof caminho - 1);
    return n > 0 ? std::string(caminho, std::size_t(n)) : std::string();
}

std::vector<Fim> executar(const std::vector<std::vector<std::string>>& comandos) {
    std::vector<pid_t> filhos;
    for (const auto& comando : comandos) {
        const pid_t filho = ::fork();
        if (filho == 0) {
            std::vector<char*> argv;
            for (const auto& a : comando) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        filhos.push_back(filho);
    }
    std::vector<Fim> fins;
    for (const pid_t filho : filhos) {
        int estado = 0;
        ::waitpid(filho, &estado, 0);
        Fim f;
        f.sinal = WIFSIGNALED(estado);
        f.codigo = f.sinal ? WTERMSIG(estado) : WEXITSTATUS(estado);
        fins.push_back(f);
    }
    return fins;
}

int processo() {
    return int(::getpid());
}

}  // namespace pdv
