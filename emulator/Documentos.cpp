#include "emulator/Documentos.h"

#include <QCryptographicHash>
#include <QStringList>
#include <QXmlStreamReader>
#include <cstdio>

namespace emulador {

const No* No::filho(const QString& n) const {
    for (const No& f : filhos)
        if (f.nome == n) return &f;
    return nullptr;
}

QString No::valor(const QString& caminho) const {
    const No* no = this;
    for (const QString& parte : caminho.split('/')) {
        no = no->filho(parte);
        if (!no) return {};
    }
    return no->texto.trimmed();
}

QList<const No*> No::todos(const QString& n) const {
    QList<const No*> lista;
    for (const No& f : filhos)
        if (f.nome == n) lista << &f;
    return lista;
}

std::optional<No> lerXml(const QByteArray& bytes) {
    // The tree is freed recursively: a document nested without end would
    // overflow the caller's stack. The device's documents are a few levels deep.
    constexpr int ProfundidadeMaxima = 64;
    QXmlStreamReader leitor(bytes);
    QList<No> pilha;
    std::optional<No> raiz;
    while (!leitor.atEnd()) {
        switch (leitor.readNext()) {
            case QXmlStreamReader::StartElement: {
                No no;
                no.nome = leitor.name().toString();
                for (const auto& a : leitor.attributes())
                    no.atributos.insert(a.name().toString(), a.value().toString());
                pilha << no;
                if (pilha.size() > ProfundidadeMaxima) return std::nullopt;
                break;
            }
            case QXmlStreamReader::Characters:
                if (!pilha.isEmpty()) pilha.last().texto += leitor.text();
                break;
            case QXmlStreamReader::EndElement: {
                No no = pilha.takeLast();
                if (pilha.isEmpty())
                    raiz = std::move(no);
                else
                    pilha.last().filhos << std::move(no);
                break;
            }
            default:
                break;
        }
    }
    if (leitor.hasError()) return std::nullopt;
    return raiz;
}

bool cnpjValido(const QString& cnpj) {
    if (cnpj.size() != 14) return false;
    for (QChar c : cnpj)
        if (!c.isDigit() || c.unicode() > '9') return false;
    auto digito = [&cnpj](int n) {
        static const int pesos[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        int soma = 0;
        for (int i = 0; i < n; ++i) soma += (cnpj[i].unicode() - '0') * pesos[13 - n + i];
        const int r = soma % 11;
        return r < 2 ? 0 : 11 - r;
    };
    return digito(12) == cnpj[12].unicode() - '0' && digito(13) == cnpj[13].unicode() - '0';
}

bool cpfValido(const QString& cpf) {
    if (cpf.size() != 11) return false;
    for (QChar c : cpf)
        if (c.unicode() < '0' || c.unicode() > '9') return false;
    auto digito = [&cpf](int n) {
        int soma = 0;
        for (int i = 0; i < n; ++i) soma += (cpf[i].unicode() - '0') * (n + 1 - i);
        const int r = soma % 11;
        return r < 2 ? 0 : 11 - r;
    };
    return digito(9) == cpf[9].unicode() - '0' && digito(10) == cpf[10].unicode() - '0';
}

bool ufValida(int c) {
    static const int codigos[] = {11, 12, 13, 14, 15, 16, 17, 21, 22, 23, 24, 25, 26, 27,
                                  28, 29, 31, 32, 33, 35, 41, 42, 43, 50, 51, 52, 53};
    for (int v : codigos)
        if (v == c) return true;
    return false;
}

int digitoChave(const QString& digitos43) {
    int soma = 0, peso = 2;
    for (qsizetype i = digitos43.size() - 1; i >= 0; --i) {
        soma += (digitos43[i].unicode() - '0') * peso;
        peso = peso == 9 ? 2 : peso + 1;
    }
    const int dv = 11 - soma % 11;
    return dv >= 10 ? 0 : dv;
}

bool chaveValida(const QString& chave) {
    if (chave.size() != 44) return false;
    for (QChar c : chave)
        if (c.unicode() < '0' || c.unicode() > '9') return false;
    return digitoChave(chave.left(43)) == chave[43].unicode() - '0';
}

std::optional<QString> ipPreenchido(const QString& ip) {
    QString limpo = ip;
    limpo.remove(' ');
    const QStringList partes = limpo.split('.');
    if (partes.size() != 4) return std::nullopt;
    QStringList saida;
    for (const QString& p : partes) {
        bool ok = false;
        const int n = p.toInt(&ok);
        if (!ok || p.isEmpty() || p.size() > 3 || n < 0 || n > 255) return std::nullopt;
        saida << QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
    }
    return saida.join('.');
}

std::optional<Rede> lerRede(const QByteArray& xml) {
    const auto raiz = lerXml(xml);
    if (!raiz || raiz->nome != QLatin1String("config")) return std::nullopt;
    Rede r;
    r.tipoInter = raiz->valor("tipoInter").toUpper();
    if (r.tipoInter != QLatin1String("ETHE") && r.tipoInter != QLatin1String("WIFI"))
        return std::nullopt;
    if (r.tipoInter == QLatin1String("WIFI") && raiz->valor("SSID").isEmpty()) return std::nullopt;
    r.tipoLan = raiz->valor("tipoLan").toUpper();
    if (r.tipoLan == QLatin1String("IPFIX")) {
        const auto ip = ipPreenchido(raiz->valor("lanIP"));
        const auto mascara = ipPreenchido(raiz->valor("lanMask"));
        const auto gateway = ipPreenchido(raiz->valor("lanGW"));
        if (!ip || !mascara || !gateway) return std::nullopt;
        r.ip = *ip;
        r.mascara = *mascara;
        r.gateway = *gateway;
        for (auto [tag, destino] : {std::pair{"lanDNS1", &r.dns1}, std::pair{"lanDNS2", &r.dns2}}) {
            const QString v = raiz->valor(QLatin1String(tag));
            if (v.isEmpty()) continue;
            const auto dns = ipPreenchido(v);
            if (!dns) return std::nullopt;
            *destino = *dns;
        }
    } else if (r.tipoLan == QLatin1String("PPPOE")) {
        if (raiz->valor("usuario").isEmpty() || raiz->valor("senha").isEmpty()) return std::nullopt;
        r.tipoLan = QStringLiteral("PPPoE");
    } else if (r.tipoLan != QLatin1String("DHCP")) {
        return std::nullopt;
    }
    const QString proxy = raiz->valor("proxy");
    if (!proxy.isEmpty()) {
        if (proxy != QLatin1String("0") && proxy != QLatin1String("1") &&
            proxy != QLatin1String("2"))
            return std::nullopt;
        r.proxy = proxy.toInt();
    }
    if (r.proxy == 1) {
        const auto ip = ipPreenchido(raiz->valor("proxy_ip"));
        bool ok = false;
        const QString porta = raiz->valor("proxy_porta");
        const int n = porta.toInt(&ok);
        if (!ip || !ok || n < 0 || n > 65535) return std::nullopt;
        r.proxyIp = *ip;
        r.proxyPorta = QString::number(n);
    }
    return r;
}

QByteArray textoLog(qint64 tamanho) {
    if (tamanho <= 0) return {};
    const qint64 linhas = (tamanho + TamanhoLinhaLog - 1) / TamanhoLinhaLog;
    QByteArray texto(linhas * TamanhoLinhaLog, '.');
    char* destino = texto.data();
    for (qint64 i = 0; i < linhas; ++i, destino += TamanhoLinhaLog) {
        const qint64 segundos = i % 86400;
        const int n =
            std::snprintf(destino, TamanhoLinhaLog, "202401%02d%02d%02d%02d|SAT|info|Evento %08lld",
                          int(1 + (i / 86400) % 28), int(segundos / 3600), int(segundos / 60 % 60),
                          int(segundos % 60), static_cast<long long>(i % 100000000));
        destino[n] = '.';  // over the terminating zero
        destino[TamanhoLinhaLog - 1] = '\n';
    }
    texto.truncate(tamanho);
    return texto;
}

QByteArray assinaturaFalsa(const QByteArray& semente) {
    QByteArray bytes;
    QByteArray bloco = semente;
    while (bytes.size() < 256) {
        bloco = QCryptographicHash::hash(bloco, QCryptographicHash::Sha256);
        bytes += bloco;
    }
    return bytes.left(256).toBase64();
}

}  // namespace emulador
