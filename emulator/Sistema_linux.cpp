#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "emulator/Sistema.h"

namespace emulador::sistema {

namespace {

[[noreturn]] void falhar(const std::string& oQue, const std::string& caminho) {
    throw std::runtime_error(oQue + ": " + caminho);
}

// Anyone who may write in a folder above, bar the owner's own sticky one
// (as /tmp is), may put another folder in this one's place.
void conferirAcima(std::string pasta) {
    for (std::size_t barra; (barra = pasta.rfind('/')) != std::string::npos && barra > 0;) {
        pasta.resize(barra);
        struct stat s {};
        if (::stat(pasta.c_str(), &s) == 0 && (s.st_mode & (S_IWGRP | S_IWOTH)) &&
            !(s.st_mode & S_ISVTX))
            falhar("Uma pasta acima da do emulador pode ser alterada por outros usuários", pasta);
    }
}

// Never through a link, never a pipe or a device that would hold the call for
// good, never a file that has another name elsewhere.
int abrir(const std::string& caminho, int modo) {
    const int fd = ::open(caminho.c_str(), modo | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) return fd;
    struct stat s {};
    if (::fstat(fd, &s) != 0 || !S_ISREG(s.st_mode) || s.st_nlink > 1) {
        ::close(fd);
        falhar(S_ISREG(s.st_mode) ? "Arquivo do emulador com outro nome (link físico)"
                                  : "Arquivo do emulador não é um arquivo comum",
               caminho);
    }
    return fd;
}

bool escreverTudo(int fd, const std::string& dados) {
    for (std::size_t feito = 0; feito < dados.size();) {
        const ssize_t n = ::write(fd, dados.data() + feito, dados.size() - feito);
        if (n <= 0) return false;
        feito += std::size_t(n);
    }
    return true;
}

// The new file in the old one's place in one step, then the old one dropped.
// Not a rename over the old file: ext4 makes that wait for the new file's
// data to reach the disk (milliseconds).
bool trocar(const std::string& novo, const std::string& arquivo) {
    if (::renameat2(AT_FDCWD, novo.c_str(), AT_FDCWD, arquivo.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(novo.c_str());
        return true;
    }
    // No old file yet, or a file system that cannot exchange.
    return (errno == ENOENT || errno == EINVAL) && ::rename(novo.c_str(), arquivo.c_str()) == 0;
}

// Cuts back a line written in part (a full disk): the next one must not run
// into half of it.
bool cortar(int fd, ssize_t escritos) {
    const off_t fim = ::lseek(fd, 0, SEEK_CUR);
    return fim >= escritos && ::ftruncate(fd, fim - escritos) == 0;
}

bool anexar(int fd, off_t tamanho, const std::string& linha) {
    char ultimo = '\n';
    const std::string texto =
        (tamanho > 0 && ::pread(fd, &ultimo, 1, tamanho - 1) == 1 && ultimo != '\n' ? "\n" : "") +
        linha + '\n';
    const ssize_t n = ::write(fd, texto.data(), texto.size());
    if (n == ssize_t(texto.size())) return true;
    if (n > 0 && !cortar(fd, n))
        std::fprintf(stderr, "dllsat (emulador): linha incompleta no diário\n");
    return false;
}

}  // namespace

const char* const OndeFicaOEstado =
    "$SAT_EMULADOR_DIR, senão em\n$XDG_STATE_HOME/sat-emulador (~/.local/state/sat-emulador)";
const char* const NomeBiblioteca = "libdllsat.so";

std::string pastaPadrao() {
    const char* pasta = std::getenv("SAT_EMULADOR_DIR");
    if (pasta && *pasta) return pasta;
    const char* base = std::getenv("XDG_STATE_HOME");
    if (base && *base) return std::string(base) + "/sat-emulador";
    const char* casa = std::getenv("HOME");
    return std::string(casa ? casa : "") + "/.local/state/sat-emulador";
}

void prepararPasta(const std::string& pasta) {
    for (std::size_t fim = 0; fim != std::string::npos;) {
        fim = pasta.find('/', fim + 1);
        const std::string parte = pasta.substr(0, fim);
        if (::mkdir(parte.c_str(), 0700) != 0 && errno != EEXIST)
            falhar("Não foi possível criar a pasta do emulador", pasta);
    }
    struct stat s {};
    if (::stat(pasta.c_str(), &s) != 0 || !S_ISDIR(s.st_mode))
        falhar("Não foi possível criar a pasta do emulador", pasta);
    if (s.st_uid != ::geteuid()) falhar("A pasta do emulador pertence a outro usuário", pasta);
    // Anyone who may write there could plant links to other files.
    if (s.st_mode & (S_IWGRP | S_IWOTH))
        falhar("A pasta do emulador pode ser alterada por outros usuários (use chmod go-w)", pasta);
    conferirAcima(pasta);
}

// flock also excludes other threads of this process, as each one opens the
// file on its own.
Trava::Trava(const std::string& arquivo, int esperaMs) {
    const int fd = abrir(arquivo, O_RDWR | O_CREAT);
    if (fd < 0) falhar("Não foi possível travar", arquivo);
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(esperaMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > limite) {
            const bool ocupado = errno == EWOULDBLOCK;
            ::close(fd);
            if (ocupado) throw Ocupado();
            falhar("Não foi possível travar", arquivo);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    m_arquivo = fd;
}

Trava::~Trava() {
    ::flock(int(m_arquivo), LOCK_UN);
    ::close(int(m_arquivo));
}

bool lerArquivo(const std::string& caminho, std::string& conteudo, std::int64_t limite,
                const char* alemDoLimite) {
    const int fd = abrir(caminho, O_RDONLY);
    if (fd < 0) {
        if (errno == ENOENT) return false;
        falhar("Não foi possível ler o estado do emulador", caminho);
    }
    struct stat s {};
    if (::fstat(fd, &s) != 0 || s.st_size > limite) {
        ::close(fd);
        falhar(alemDoLimite, caminho);
    }
    char bloco[65536];
    ssize_t n;
    while ((n = ::read(fd, bloco, sizeof bloco)) > 0) conteudo.append(bloco, std::size_t(n));
    ::close(fd);
    if (n < 0) falhar("Não foi possível ler o estado do emulador", caminho);
    return true;
}

void substituir(const std::string& arquivo, const std::string& conteudo) {
    const std::string novo = arquivo + ".novo";
    if (::unlink(novo.c_str()) != 0 && errno != ENOENT)
        falhar("Não foi possível gravar o estado do emulador", arquivo);
    const int fd = abrir(novo, O_WRONLY | O_CREAT | O_EXCL);
    const bool escrito = fd >= 0 && escreverTudo(fd, conteudo);
    if (fd >= 0) ::close(fd);
    if (!escrito || !trocar(novo, arquivo)) {
        if (fd >= 0) ::unlink(novo.c_str());
        falhar("Não foi possível gravar o estado do emulador", arquivo);
    }
}

bool renomear(const std::string& de, const std::string& para) {
    return ::rename(de.c_str(), para.c_str()) == 0;
}

// The size a writer sees may fall inside another process's line while that
// line is being written (fstat takes no lock), which would make the last
// line look cut: writers take turns on the journal itself.
namespace {
int abrirDiario(const std::string& arquivo) {
    const int fd = abrir(arquivo, O_RDWR | O_APPEND | O_CREAT);
    if (fd >= 0) ::flock(fd, LOCK_EX);
    return fd;
}
}  // namespace

void anexarLinha(const std::string& arquivo, const std::string& linha, std::int64_t limite) {
    int fd = abrirDiario(arquivo);
    struct stat s {};
    if (fd >= 0 && ::fstat(fd, &s) == 0 && s.st_size > 0 &&
        s.st_size + off_t(linha.size()) >= limite) {
        ::close(fd);
        fd = ::rename(arquivo.c_str(), (arquivo + ".1").c_str()) == 0 ? abrirDiario(arquivo) : -1;
        s.st_size = 0;
    }
    if (fd < 0) falhar("Não foi possível escrever no diário", arquivo);
    const bool escrito = ::fchmod(fd, 0600) == 0 && anexar(fd, s.st_size, linha);
    ::close(fd);
    if (!escrito) falhar("Não foi possível escrever no diário", arquivo);
}

std::tm horaLocal(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

void falhaDeSegmentacao() {
    std::raise(SIGSEGV);
}

}  // namespace emulador::sistema
