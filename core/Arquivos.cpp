#include "core/Arquivos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

namespace {
using Falha = ResultadoArquivo::Falha;

const QString NaoComum = QStringLiteral("não é um arquivo comum");

ResultadoArquivo falhou(Falha falha, const QString& motivo) {
    ResultadoArquivo r;
    r.falha = falha;
    r.motivo = motivo;
    return r;
}

// A descriptor of a regular file, or -1 with the reason. The path is looked
// at before opening, so that a pipe or a device is never opened; what was
// opened is looked at again, since the path may have changed meanwhile.
// O_NONBLOCK keeps even that second case from waiting on a pipe.
int abrirComum(const QString& caminho, int modo, ResultadoArquivo& r) {
    const QByteArray nome = QFile::encodeName(caminho);
    struct stat info {};
    if (::stat(nome.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        r = falhou(Falha::NaoAbriu, NaoComum);
        return -1;
    }
    const int fd = ::open(nome.constData(), modo | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        r = falhou(Falha::NaoAbriu, qt_error_string(errno));
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        r = falhou(Falha::NaoAbriu, NaoComum);
        return -1;
    }
    r.tamanho = info.st_size;
    return fd;
}

// Reads up to `limite` + 1 bytes, so that a file that grew past its size
// shows it; room for the size found first, for the rest only when it comes.
bool lerAte(int fd, qint64 tamanho, qint64 limite, QByteArray& dados) {
    dados.resize(std::min(tamanho, limite) + 1);
    qint64 lidos = 0;
    while (lidos <= limite) {
        if (lidos == dados.size()) dados.resize(limite + 1);
        const ssize_t n = ::read(fd, dados.data() + lidos, dados.size() - lidos);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        lidos += n;
    }
    dados.resize(lidos);
    return true;
}

bool gravarTudo(int fd, const QByteArray& dados) {
    qint64 gravados = 0;
    while (gravados < dados.size()) {
        const ssize_t n = ::write(fd, dados.constData() + gravados, dados.size() - gravados);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        gravados += n;
    }
    // A full disk may show itself only when the data reaches it.
    return ::fsync(fd) == 0;
}
}  // namespace

ResultadoArquivo lerArquivoComum(const QString& caminho, qint64 limite) {
    ResultadoArquivo r;
    const int fd = abrirComum(caminho, O_RDONLY, r);
    if (fd < 0) return r;
    const bool lido = r.tamanho <= limite && lerAte(fd, r.tamanho, limite, r.dados);
    const int erro = errno;
    ::close(fd);
    r.tamanho = std::max(r.tamanho, qint64(r.dados.size()));
    if (r.tamanho > limite) {
        r.falha = Falha::GrandeDemais;
        r.dados.clear();
    } else if (!lido) {
        r = falhou(Falha::NaoAbriu, qt_error_string(erro));
    }
    return r;
}

ResultadoArquivo acrescentarArquivoComum(const QString& caminho, const QByteArray& dados) {
    ResultadoArquivo r;
    const int fd = abrirComum(caminho, O_WRONLY | O_APPEND | O_CREAT, r);
    if (fd < 0) return r;
    if (!gravarTudo(fd, dados)) {
        const qint64 antes = r.tamanho;
        r = falhou(Falha::NaoGravou, qt_error_string(errno));
        // Nothing half-written stays behind.
        if (::ftruncate(fd, antes) != 0)
            r.motivo += QStringLiteral(" (parte do que foi gravado ficou no arquivo)");
    }
    ::close(fd);
    return r;
}
