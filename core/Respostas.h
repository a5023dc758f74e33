#pragma once

#include <QByteArray>
#include <QString>

// Field n of a reply. A field comes back only when a separator follows it, so
// the last field of a text that does not end with the separator is empty.
QString ExtraiCampo(const QString& texto, int n, QChar separador = QLatin1Char('|'));

// Field n and everything after it; past the last separator, the last field.
QString ExtraiResto(const QString& texto, int n, QChar separador = QLatin1Char('|'));

// The text without the blanks and control characters at both ends.
QString aparado(const QString& texto);

// Bytes of a file or a device log as text: UTF-8 when they are, else
// Windows-1252.
QString textoDeBytes(const QByteArray& bytes);
