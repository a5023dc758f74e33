#include "emulator/Controle.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

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

// The folder and the parents it lacks, private to the user.
void criarPasta(const std::string& pasta) {
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

// Never through a link, never a pipe or a device that would hold the call for
// good, never a file that has another name elsewhere: the folder's files are
// the device's own.
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

// Held for the whole read-modify-write; flock also excludes other threads of
// this process, as each one opens the file on its own.
class Trava {
  public:
    explicit Trava(const std::string& pasta) {
        criarPasta(pasta);
        const std::string caminho = pasta + "/estado.lock";
        m_fd = abrir(caminho, O_RDWR | O_CREAT);
        if (m_fd < 0) falhar("Não foi possível travar", caminho);
        const auto limite =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(EsperaMaximaMs);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > limite) {
                const bool ocupado = errno == EWOULDBLOCK;
                ::close(m_fd);
                if (ocupado) throw Ocupado();
                falhar("Não foi possível travar", caminho);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    ~Trava() {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
    Trava(const Trava&) = delete;
    Trava& operator=(const Trava&) = delete;

  private:
    int m_fd = -1;
};

// The whole file, or nothing when there is none; one past the limit is not
// read at all.
bool lerArquivo(const std::string& caminho, std::string& conteudo, off_t limite,
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
    while ((n = ::read(fd, bloco, sizeof bloco)) > 0) conteudo.append(bloco, n);
    ::close(fd);
    if (n < 0) falhar("Não foi possível ler o estado do emulador", caminho);
    return true;
}

const char* const MsgCorrompido = "Arquivo de estado do emulador corrompido";

// The state in that file, nothing when there is no such file. Throws naming
// the file when it cannot be read or is not a state.
std::optional<Estado> estadoDe(const std::string& arquivo) {
    std::string json;
    if (!lerArquivo(arquivo, json, LimiteEstado, MsgCorrompido)) return std::nullopt;
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
        if (::rename(novo.c_str(), arquivo.c_str()) != 0)
            falhar("Não foi possível gravar o estado do emulador", arquivo);
        return *e;
    }
    existia = false;
    return estadoNovo(serieNova());
}

bool escreverTudo(int fd, const std::string& dados) {
    for (std::size_t feito = 0; feito < dados.size();) {
        const ssize_t n = ::write(fd, dados.data() + feito, dados.size() - feito);
        if (n <= 0) return false;
        feito += std::size_t(n);
    }
    return true;
}

// The new state in the old one's place in one step, then the old one dropped:
// the state file is whole at every moment, and a write that fails leaves the
// old one as it was. Not a rename over the old file: ext4 makes that wait for
// the new file's data to reach the disk (milliseconds), and a call must stay
// well under one.
bool trocar(const std::string& novo, const std::string& arquivo) {
    if (::renameat2(AT_FDCWD, novo.c_str(), AT_FDCWD, arquivo.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(novo.c_str());
        return true;
    }
    // No old state yet, or a file system that cannot exchange.
    return (errno == ENOENT || errno == EINVAL) && ::rename(novo.c_str(), arquivo.c_str()) == 0;
}

// Written and put in place under the lock, with no flush to the disk: a
// device's state need not outlive a power cut. The new file is made afresh,
// so that nothing planted under its name is written through.
void gravarEstado(const std::string& arquivo, const Estado& e) {
    const std::string novo = arquivo + ".novo";
    if (::unlink(novo.c_str()) != 0 && errno != ENOENT)
        falhar("Não foi possível gravar o estado do emulador", arquivo);
    const int fd = abrir(novo, O_WRONLY | O_CREAT | O_EXCL);
    const bool escrito = fd >= 0 && escreverTudo(fd, paraJson(e));
    if (fd >= 0) ::close(fd);
    if (!escrito || !trocar(novo, arquivo)) {
        if (fd >= 0) ::unlink(novo.c_str());
        falhar("Não foi possível gravar o estado do emulador", arquivo);
    }
}

// Cuts back a line written in part (a full disk): the next one must not run
// into half of it.
bool cortar(int fd, ssize_t escritos) {
    const off_t fim = ::lseek(fd, 0, SEEK_CUR);
    return fim >= escritos && ::ftruncate(fd, fim - escritos) == 0;
}

// One line in one write, whole or not at all. A line left without its end
// (a writer killed, a cut that failed) gets one first.
bool anexarLinha(int fd, off_t tamanho, const std::string& linha) {
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

std::string Controle::pastaPadrao() {
    const char* pasta = std::getenv("SAT_EMULADOR_DIR");
    if (pasta && *pasta) return pasta;
    const char* base = std::getenv("XDG_STATE_HOME");
    if (base && *base) return std::string(base) + "/sat-emulador";
    const char* casa = std::getenv("HOME");
    return std::string(casa ? casa : "") + "/.local/state/sat-emulador";
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
    if (!lerArquivo(arquivoDiario(), texto, LimiteDiario, "Diário do emulador grande demais") ||
        texto.empty())
        return {};
    if (texto.back() == '\n') texto.pop_back();
    return partes(texto, '\n');
}

// Without the lock, so that a stuck holder cannot stall the journal: each
// line goes in one appending write. Past its size the journal starts afresh,
// the last one kept beside it.
void Controle::registrarNoDiario(const std::string& linha) const {
    criarPasta(m_pasta);
    const std::string diario = arquivoDiario();
    int fd = abrir(diario, O_RDWR | O_APPEND | O_CREAT);
    struct stat s {};
    if (fd >= 0 && ::fstat(fd, &s) == 0 && s.st_size > 0 &&
        s.st_size + off_t(linha.size()) >= LimiteDiario) {
        ::close(fd);
        fd = ::rename(diario.c_str(), (diario + ".1").c_str()) == 0
                 ? abrir(diario, O_RDWR | O_APPEND | O_CREAT)
                 : -1;
        s.st_size = 0;
    }
    if (fd < 0) falhar("Não foi possível escrever no diário", diario);
    const bool escrito = ::fchmod(fd, 0600) == 0 && anexarLinha(fd, s.st_size, linha);
    ::close(fd);
    if (!escrito) falhar("Não foi possível escrever no diário", diario);
}

}  // namespace emulador
