#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

// The texts the emulated device reads and writes: XML documents, access keys,
// the network settings and its log.
namespace emulador {

// One element of a parsed document; enough of a tree for the device's checks.
struct No {
    QString nome;
    QMap<QString, QString> atributos;
    QString texto;
    QList<No> filhos;

    const No* filho(const QString& n) const;
    // Text of the element at this path of child names, "" when absent.
    QString valor(const QString& caminho) const;
    QList<const No*> todos(const QString& n) const;
};

// The root element, or nothing when the bytes are no well-formed XML or are
// nested deeper than any document of the device.
std::optional<No> lerXml(const QByteArray& bytes);

bool cnpjValido(const QString& cnpj);
bool cpfValido(const QString& cpf);
bool ufValida(int codigoIbge);
// Modulo 11 over the 43 digits, weights 2..9 from the right.
int digitoChave(const QString& digitos43);
bool chaveValida(const QString& chave44);

// Network settings as the device keeps them; IPs zero-padded.
struct Rede {
    QString tipoInter = QStringLiteral("ETHE");
    QString tipoLan = QStringLiteral("DHCP");
    QString ip, mascara, gateway, dns1, dns2;
    int proxy = 0;
    QString proxyIp, proxyPorta;
};
// Nothing when the document is malformed or a required value is missing.
std::optional<Rede> lerRede(const QByteArray& xml);
// "192.168.1.10" (blanks allowed, as masked fields leave them) to "192.168.001.010".
std::optional<QString> ipPreenchido(const QString& ip);

// The device log: lines "AAAAMMDDhhmmss|SAT|info|..." cut at exactly that many
// bytes; the same size always gives the same text.
QByteArray textoLog(qint64 tamanho);
inline constexpr int TamanhoLinhaLog = 64;

// 344 Base64 characters derived from the text, as a signature would look.
QByteArray assinaturaFalsa(const QByteArray& semente);

}  // namespace emulador
