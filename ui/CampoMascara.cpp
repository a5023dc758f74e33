#include "ui/CampoMascara.h"

#include <QLineEdit>

#include "ui/Controles.h"

namespace {
constexpr QChar Vazio = QLatin1Char('_');

QLineEdit* novoCampo(const char* nome, const QString& mascara, QWidget* pai) {
    auto* campo = novoControle<QLineEdit>(nome, pai);
    campo->setInputMask(mascara);
    return campo;
}

bool literalCNPJ(qsizetype i) {
    return i == 2 || i == 6 || i == 10 || i == 15;
}
}  // namespace

QLineEdit* novoCampoCNPJ(const char* nome, QWidget* pai) {
    return novoCampo(nome, QStringLiteral("00.000.000/0000-00;_"), pai);
}

QString valorCNPJ(const QLineEdit* campo) {
    const QString mostrado = campo->displayText();
    QString valor;
    for (qsizetype i = 0; i < mostrado.size(); ++i)
        if (!literalCNPJ(i)) valor += mostrado[i] == Vazio ? QLatin1Char(' ') : mostrado[i];
    while (valor.endsWith(QLatin1Char(' '))) valor.chop(1);
    return valor;
}

QLineEdit* novoCampoEndereco(const char* nome, QWidget* pai) {
    return novoCampo(nome, QStringLiteral("000.000.000.000;_"), pai);
}

QString valorEndereco(const QLineEdit* campo) {
    QString valor = campo->displayText().leftJustified(15, QLatin1Char(' '), true);
    valor.replace(Vazio, QLatin1Char(' '));
    return valor;
}

QString enderecoDigitado(const QLineEdit* campo) {
    QString valor = valorEndereco(campo);
    valor.remove(QLatin1Char(' '));
    return valor;
}

void definirEndereco(QLineEdit* campo, const QString& valor) {
    QStringList grupos = valor.split(QLatin1Char('.'));
    grupos.resize(4);
    for (QString& g : grupos) g = g.leftJustified(3, QLatin1Char(' '), true);
    campo->setText(grupos.join(QLatin1Char('.')));
}
