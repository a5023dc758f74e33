#pragma once

#include <QByteArray>
#include <QString>

// The files the user names (a certificate, a sale document, a saved log) are
// read and written only when they are regular files: a pipe or a device would
// hold the window for ever, and a file may be far larger than any use of it.

// The SAT standard refuses a sale over 1 500 KB (06005); a little more is read,
// so that the device still says so itself.
inline constexpr qint64 LimiteDocumento = qint64(2) * 1024 * 1024;

struct ResultadoArquivo {
    enum class Falha { Nenhuma, NaoAbriu, GrandeDemais, NaoGravou };
    Falha falha = Falha::Nenhuma;
    QByteArray dados;    // what was read
    qint64 tamanho = 0;  // the file's size, also when it is too large
    QString motivo;      // the system's reason, or ours for a file that is not regular
};

// The whole file, when it is regular and holds at most `limite` bytes.
ResultadoArquivo lerArquivoComum(const QString& caminho, qint64 limite);

// Appends to a regular file, or to a new one; a failed append is taken back,
// so the file keeps what it held.
ResultadoArquivo acrescentarArquivoComum(const QString& caminho, const QByteArray& dados);
