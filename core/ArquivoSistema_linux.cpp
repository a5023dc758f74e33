#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "core/ArquivoSistema.h"

const QString ArquivoSistema::NaoComum = QStringLiteral("não é um arquivo comum");

ArquivoSistema::~ArquivoSistema() {
    if (m_nativo >= 0) ::close(int(m_nativo));
}

void ArquivoSistema::lembrarErro() {
    m_erro = qt_error_string(errno);
}

// The path is looked at before opening, so that a pipe or a device is never
// opened; what was opened is looked at again, since the path may have
// changed meanwhile. O_NONBLOCK keeps even that second case from waiting on
// a pipe.
bool ArquivoSistema::abrir(const QString& caminho, Modo modo) {
    const QByteArray nome = QFile::encodeName(caminho);
    struct stat info {};
    if (::stat(nome.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        m_erro = NaoComum;
        return false;
    }
    const int flags = modo == Modo::Ler ? O_RDONLY : O_WRONLY | O_APPEND | O_CREAT;
    const int fd = ::open(nome.constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        lembrarErro();
        return false;
    }
    m_nativo = fd;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_erro = NaoComum;
        return false;
    }
    m_tamanho = info.st_size;
    return true;
}

qint64 ArquivoSistema::ler(char* destino, qint64 maximo) {
    for (;;) {
        const ssize_t n = ::read(int(m_nativo), destino, std::size_t(maximo));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) lembrarErro();
        return n;
    }
}

bool ArquivoSistema::gravarTudo(const char* origem, qint64 tamanho) {
    qint64 gravados = 0;
    while (gravados < tamanho) {
        const ssize_t n =
            ::write(int(m_nativo), origem + gravados, std::size_t(tamanho - gravados));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            lembrarErro();
            return false;
        }
        gravados += n;
    }
    if (::fsync(int(m_nativo)) == 0) return true;
    lembrarErro();
    return false;
}

bool ArquivoSistema::truncar(qint64 tamanho) {
    return ::ftruncate(int(m_nativo), tamanho) == 0;
}
