#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <chrono>

#include "tests/apoio/FifoTeste.h"

FifoTeste::FifoTeste(const QString& arquivo, int esperaMs) : caminho(arquivo) {
    const QByteArray nome = QFile::encodeName(arquivo);
    if (::mkfifo(nome.constData(), 0600) != 0) qFatal("mkfifo %s", nome.constData());
    m_liberador = std::thread([this, nome, esperaMs] {
        using namespace std::chrono;
        const auto limite = steady_clock::now() + milliseconds(esperaMs);
        while (!m_fim && steady_clock::now() < limite) std::this_thread::sleep_for(10ms);
        if (m_fim) return;
        m_liberou = true;
        // Both ends at once never blocks; closing them ends a reader's wait.
        const int fd = ::open(nome.constData(), O_RDWR | O_NONBLOCK);
        std::this_thread::sleep_for(300ms);
        if (fd >= 0) ::close(fd);
    });
}

FifoTeste::~FifoTeste() {
    m_fim = true;
    m_liberador.join();
    QFile::remove(caminho);
}
