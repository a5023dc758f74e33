#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Standard Base64 as the device writes it: no white space, padding only in
// the last group. Any fault gives an empty result, never a partial one.
QByteArray DecodificarBase64(QByteArrayView texto);
QByteArray DecodificarBase64(QStringView texto);
