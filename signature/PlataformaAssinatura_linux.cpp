#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>

#include "signature/PlataformaAssinatura.h"

// The program's own openssl first, so a copy shipped with the tool wins.
QString programaOpenssl() {
    if (QCoreApplication::instance()) {
        const QFileInfo proprio(QCoreApplication::applicationDirPath() + "/openssl");
        if (proprio.isFile() && proprio.isExecutable()) return proprio.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("openssl"));
}

QString avisoOpensslAusente() {
    return QStringLiteral(
        "O programa openssl não foi encontrado na pasta do programa nem "
        "no PATH: instale-o para gerar a assinatura.");
}

// A group of its own, so that a step past its time ends with everything it
// started (a wrapper's openssl too).
ArvoreOpenssl::ArvoreOpenssl(QProcess& processo) : m_processo(processo) {
    m_processo.setChildProcessModifier([] { ::setpgid(0, 0); });
}

ArvoreOpenssl::~ArvoreOpenssl() = default;

void ArvoreOpenssl::liberar() {}

// Not yet reaped, so its group is still there; never a group of 0, which
// would be the tool's own.
void ArvoreOpenssl::encerrar() {
    if (const auto pid = pid_t(m_processo.processId()); pid > 0) ::kill(-pid, SIGKILL);
}

RotaDaChave::RotaDaChave() = default;
RotaDaChave::~RotaDaChave() = default;

QStringList RotaDaChave::escrita() const {
    return {QStringLiteral("-nodes")};
}

QByteArray RotaDaChave::entradaDaEscrita() const {
    return {};
}

// The unencrypted key leaves the disk before signing starts: openssl reads it
// from its standard input, and a run killed from here on leaves none behind.
QStringList RotaDaChave::leitura(const QString&) const {
    return {QStringLiteral("-sign"), QStringLiteral("/dev/stdin")};
}

QByteArray RotaDaChave::entradaDaLeitura(const QString& pem) const {
    QFile arquivo(pem);
    QByteArray chave;
    if (arquivo.open(QIODevice::ReadOnly)) chave = arquivo.readAll();
    arquivo.remove();
    return chave;
}

// QDir::tempPath() is empty when TMPDIR names no folder; what was asked for
// is still the name a message gives.
QList<BaseTemporaria> basesTemporarias() {
    QString temporaria = QDir::tempPath();
    if (temporaria.isEmpty()) temporaria = qEnvironmentVariable("TMPDIR");
    return {{temporaria, false},
            {qEnvironmentVariable("XDG_RUNTIME_DIR"), true},
            {QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation), true}};
}

// Never the root, and past the temporary folder only one the user owns.
QString problemaDaBase(const BaseTemporaria& base) {
    const QFileInfo info(base.pasta);
    if (!info.isAbsolute() || !info.isDir() || info.canonicalFilePath() == QDir::rootPath())
        return QStringLiteral("não é uma pasta utilizável");
    if (base.doUsuario && info.ownerId() != ::geteuid())
        return QStringLiteral("não pertence ao usuário");
    return {};
}

bool tornarPrivada(const QString& pasta) {
    return QFile::setPermissions(pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool pastaAbandonada(const QString& caminho, qint64 pid) {
    struct stat info {};
    if (pid <= 0 || ::lstat(QFile::encodeName(caminho).constData(), &info) != 0 ||
        !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}
