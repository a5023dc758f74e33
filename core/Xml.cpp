#include "core/Xml.h"

namespace {
QString escapar(const QString& texto, bool atributo) {
    QString saida;
    saida.reserve(texto.size());
    for (const QChar c : texto) {
        if (c == QLatin1Char('&'))
            saida += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            saida += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            saida += QLatin1String("&gt;");
        else if (atributo && c == QLatin1Char('"'))
            saida += QLatin1String("&quot;");
        else
            saida += c;
    }
    return saida;
}
}  // namespace

QString escapaXml(const QString& texto) {
    return escapar(texto, false);
}

QString escapaAtributoXml(const QString& texto) {
    return escapar(texto, true);
}
