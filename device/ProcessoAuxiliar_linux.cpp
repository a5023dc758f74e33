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

QString ProcessoAuxiliar::programa() {
    return QDir::cleanPath(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() +
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
    return std::unique_ptr<ProcessoAuxiliar>(new ProcessoAuxiliar(pid, pedidos[1], respostas[0]));
}

ProcessoAuxiliar::ProcessoAuxiliar(long pid, int entrada, int saida)
    : m_pid(pid), m_entrada(entrada), m_saida(saida) {}

ProcessoAuxiliar::~ProcessoAuxiliar() {
    matar();
    close(m_entrada);
    close(m_saida);
}

bool ProcessoAuxiliar::enviar(const std::string& bytes) {
    const char* origem = bytes.data();
    std::size_t resta = bytes.size();
    while (resta > 0) {
        const ssize_t n = write(m_entrada, origem, resta);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        origem += n;
        resta -= static_cast<std::size_t>(n);
    }
    return true;
}

long ProcessoAuxiliar::ler(char* destino, std::size_t tamanho, int ms) {
    pollfd p{m_saida, POLLIN, 0};
    const int pronto = poll(&p, 1, ms);
    if (pronto == 0 || (pronto < 0 && errno == EINTR)) return 0;
    if (pronto < 0) return -1;
    ssize_t n;
    do {
        n = read(m_saida, destino, tamanho);
    } while (n < 0 && errno == EINTR);
    return n > 0 ? n : -1;
}

bool ProcessoAuxiliar::colher(int ms) {
    for (int passado = 0; !m_reaped; passado += 10) {
        if (waitpid(static_cast<pid_t>(m_pid), &m_status, WNOHANG) == static_cast<pid_t>(m_pid))
            m_reaped = true;
        else if (passado >= ms)
            return false;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ProcessoAuxiliar::matar() {
    if (m_reaped) return;
    kill(-static_cast<pid_t>(m_pid), SIGKILL);
    kill(static_cast<pid_t>(m_pid), SIGKILL);
    // A process stuck inside a driver dies only when the driver lets go: reap
    // it later rather than wait for it here.
    if (!colher(2000)) {
        std::thread([pid = static_cast<pid_t>(m_pid)] { waitpid(pid, nullptr, 0); }).detach();
        m_reaped = true;
        m_status = SIGKILL;
    }
}

QString ProcessoAuxiliar::comoTerminou() {
    // It closed its side because it is ending: give it a moment to finish,
    // so the status is its own and not our kill's.
    colher(1000);
    matar();
    if (WIFSIGNALED(m_status)) return QStringLiteral("o sinal %1").arg(WTERMSIG(m_status));
    return QStringLiteral("o código de saída %1").arg(WEXITSTATUS(m_status));
}
