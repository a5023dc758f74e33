#include "core/Respostas.h"

#include <QStringDecoder>

#include "device/DllSat.h"

namespace {
// Where field n starts once the working copy has been cut n times; a copy
// without a separator stays as it is.
qsizetype inicioCampo(const QString& texto, int n, QChar separador) {
    qsizetype inicio = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype sep = texto.indexOf(separador, inicio);
        if (sep < 0) break;
        inicio = sep + 1;
    }
    return inicio;
}
}  // namespace

QString ExtraiCampo(const QString& texto, int n, QChar separador) {
    if (n < 0) return {};
    const qsizetype inicio = inicioCampo(texto, n, separador);
    const qsizetype fim = texto.indexOf(separador, inicio);
    return fim < 0 ? QString() : texto.mid(inicio, fim - inicio);
}

QString ExtraiResto(const QString& texto, int n, QChar separador) {
    if (n < 0) return {};
    return texto.mid(inicioCampo(texto, n, separador));
}

QString aparado(const QString& texto) {
    qsizetype inicio = 0, fim = texto.size();
    while (inicio < fim && texto[inicio].unicode() <= ' ') ++inicio;
    while (fim > inicio && texto[fim - 1].unicode() <= ' ') --fim;
    return texto.mid(inicio, fim - inicio);
}

QString textoDeBytes(const QByteArray& bytes) {
    // Stateless: a sequence cut at the end is an error, not silently dropped.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8.decode(bytes);
    return utf8.hasError() ? DllSat::deWin1252(bytes) : texto;
}
