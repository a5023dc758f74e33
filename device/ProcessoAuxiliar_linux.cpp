#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include "device/ProcessoAuxiliar.h"
#include "device/Sistema.h"

struct ProcessoAuxiliar::Nativo {
    pid_t pid;
    int entrada;  // its standard input, our requests
    int saida;    // its replies
    bool colhido = false;
    int status = 0;
};

QString ProcessoAuxiliar::programa(const QString& /*biblioteca*/) {
    return QDir::cleanPath(sistema::pastaDoPrograma() +
                           QStringLiteral("/" SAT_AUXILIAR_DO_PROGRAMA "/sat-auxiliar"));
}

std::unique_ptr<ProcessoAuxiliar> ProcessoAuxiliar::iniciar(const QString& programa,
                                                            const QString& biblioteca,
                                                            QString& erro) {
    // A helper that dies while we write must not take the tool with it.
    signal(SIGPIPE, SIG_IGN);
    int pedidos[2], respostas[2];
    if (pipe2(pedidos, O_CLOEXEC) != 0) {
        erro = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    if (pipe2(respostas, O_CLOEXEC) != 0) {
        erro = QString::fromLocal8Bit(std::strerror(errno));
        close(pedidos[0]);
        close(pedidos[1]);
        return nullptr;
    }
    // Replies run to megabytes: fewer, larger trips through the pipe.
    fcntl(respostas[0], F_SETPIPE_SZ, 1 << 20);
    fcntl(pedidos[1], F_SETPIPE_SZ, 1 << 20);
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_adddup2(&acoes, pedidos[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&acoes, respostas[1], STDOUT_FILENO);
    // Its own process group: a library that starts programs of its own is
    // killed with them.
    posix_spawnattr_t atributos;
    posix_spawnattr_init(&atributos);
    posix_spawnattr_setflags(&atributos, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&atributos, 0);
    const QByteArray caminho = QFile::encodeName(programa);
    const QByteArray arquivo = QFile::encodeName(biblioteca);
    char* argumentos[] = {const_cast<char*>(caminho.constData()),  // NOLINT
                          const_cast<char*>(arquivo.constData()), nullptr};
    pid_t pid = 0;
    const int falha =
        posix_spawn(&pid, caminho.constData(), &acoes, &atributos, argumentos, environ);
    posix_spawn_file_actions_destroy(&acoes);
    posix_spawnattr_destroy(&atributos);
    close(pedidos[0]);
    close(respostas[1]);
    if (falha != 0) {
        erro = QString::fromLocal8Bit(std::strerror(falha));
        close(pedidos[1]);
        close(respostas[0]);
        return nullptr;
    }
    return std::unique_ptr<ProcessoAuxiliar>(
        new ProcessoAuxiliar(std::make_unique<Nativo>(Nativo{pid, pedidos[1], respostas[0]})));
}

ProcessoAuxiliar::ProcessoAuxiliar(std::unique_ptr<Nativo> nativo) : m(std::move(nativo)) {}

ProcessoAuxiliar::~ProcessoAuxiliar() {
    matar();
    close(m->entrada);
    close(m->saida);
}

bool ProcessoAuxiliar::enviar(const std::string& bytes) {
    const char* origem = bytes.data();
    std::size_t resta = bytes.size();
    while (resta > 0) {
        const ssize_t n = write(m->entrada, origem, resta);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        origem += n;
        resta -= static_cast<std::size_t>(n);
    }
    return true;
}

long ProcessoAuxiliar::ler(char* destino, std::size_t tamanho, int ms) {
    pollfd p{m->saida, POLLIN, 0};
    const int pronto = poll(&p, 1, ms);
    if (pronto == 0 || (pronto < 0 && errno == EINTR)) return 0;
    if (pronto < 0) return -1;
    ssize_t n;
    do {
        n = read(m->saida, destino, tamanho);
    } while (n < 0 && errno == EINTR);
    return n > 0 ? n : -1;
}

bool ProcessoAuxiliar::colher(int ms) {
    for (int passado = 0; !m->colhido; passado += 10) {
        if (waitpid(m->pid, &m->status, WNOHANG) == m->pid)
            m->colhido = true;
        else if (passado >= ms)
            return false;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ProcessoAuxiliar::matar() {
    if (m->colhido) return;
    kill(-m->pid, SIGKILL);
    kill(m->pid, SIGKILL);
    // A process stuck inside a driver dies only when the driver lets go: reap
    // it later rather than wait for it here.
    if (!colher(2000)) {
        std::thread([pid = m->pid] { waitpid(pid, nullptr, 0); }).detach();
        m->colhido = true;
        m->status = SIGKILL;
    }
}

QString ProcessoAuxiliar::comoTerminou() {
    // It closed its side because it is ending: give it a moment to finish,
    // so the status is its own and not our kill's.
    colher(1000);
    matar();
    if (WIFSIGNALED(m->status)) return QStringLiteral("o sinal %1").arg(WTERMSIG(m->status));
    return QStringLiteral("o código de saída %1").arg(WEXITSTATUS(m->status));
}
