#include "emulator/Dispositivo.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <QXmlStreamWriter>
#include <cmath>
#include <cstdio>
#include <mutex>

#include "emulator/Documentos.h"

namespace emulador {

const QByteArray Dispositivo::PortaNaoPronta =
    "PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE";
const QString Dispositivo::AssinaturaDesenvolvimento =
    QStringLiteral("SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT");

namespace {

// Every text of the device lies in Latin-1's range, where Windows-1252 is the same.
QByteArray w(const QString& s) {
    return s.toLatin1();
}
QString texto(const char* bytes) {
    return QString::fromLatin1(bytes ? bytes : "");
}
qint64 agoraMs() {
    return QDateTime::currentMSecsSinceEpoch();
}
QString dataHora(qint64 ms, const char* formato = "yyyyMMddhhmmss") {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QLatin1String(formato));
}

const QString MsgOcupado = QStringLiteral("SAT em processamento. Tente novamente.");
const QString MsgCodigoInvalido = QStringLiteral("C\u00f3digo de ativa\u00e7\u00e3o inv\u00e1lido");
const QString MsgNaoAtivado = QStringLiteral("SAT ainda n\u00e3o ativado");

// One reply: the session number, the function's code and further fields.
class Resposta {
  public:
    Resposta(int sessao, int funcao) : m_sessao(sessao), m_funcao(funcao) {}
    QByteArray codigo(int desfecho) const {
        return QByteArray::number(m_funcao * 1000 + desfecho).rightJustified(5, '0');
    }
    // numeroSessao|EEEEE|mensagem|cod|mensagemSEFAZ, then the extra fields.
    QByteArray padrao(int desfecho, const QString& mensagem,
                      const QList<QByteArray>& extras = {}) const {
        return montar(codigo(desfecho), mensagem, extras);
    }
    // numeroSessao|EEEEE|CCCC|mensagem|cod|mensagemSEFAZ, then the extra fields.
    QByteArray detalhada(int desfecho, int cccc, const QString& mensagem,
                         const QList<QByteArray>& extras = {}) const {
        return montar(codigo(desfecho) + '|' + QByteArray::number(cccc).rightJustified(4, '0'),
                      mensagem, extras);
    }

  private:
    QByteArray montar(const QByteArray& codigos, const QString& mensagem,
                      const QList<QByteArray>& extras) const {
        // A message naming a file may hold the separator; the fields must stay put.
        const QString limpa = QString(mensagem).replace('|', QChar(0xA6));
        QByteArray r = QByteArray::number(m_sessao) + '|' + codigos + '|' + w(limpa) + "||";
        for (const QByteArray& e : extras) r += '|' + e;
        return r;
    }
    int m_sessao;
    int m_funcao;
};

enum Funcao {
    FAtivar = 4,
    FVenda = 6,
    FCancelar = 7,
    FConsultar = 8,
    FTeste = 9,
    FStatus = 10,
    FNumeroSessao = 11,
    FRede = 12,
    FAssociar = 13,
    FAtualizar = 14,
    FLogs = 15,
    FBloquear = 16,
    FDesbloquear = 17,
    FTrocar = 18
};

bool comDetalhe(int funcao) {
    return funcao == FVenda || funcao == FCancelar || funcao == FAssociar;
}

// The device serves one command at a time; replies kept for ConsultarNumeroSessao.
std::mutex& mutexChamadas() {
    static std::mutex m;
    return m;
}
class Historico {
  public:
    void guardar(int sessao, const QByteArray& resposta) {
        esquecer(sessao);
        m_ordem << sessao;
        m_respostas.insert(sessao, resposta);
        m_bytes += resposta.size();
        // Log extractions are megabytes: keep the memory bounded.
        while (m_ordem.size() > LimiteSessoes || (m_bytes > LimiteBytes && m_ordem.size() > 1))
            esquecer(m_ordem.first());
    }
    std::optional<QByteArray> buscar(int sessao) const {
        const auto it = m_respostas.find(sessao);
        if (it == m_respostas.end()) return std::nullopt;
        return *it;
    }

  private:
    void esquecer(int sessao) {
        const auto it = m_respostas.find(sessao);
        if (it == m_respostas.end()) return;
        m_bytes -= it->size();
        m_respostas.erase(it);
        m_ordem.removeOne(sessao);
    }
    static constexpr int LimiteSessoes = 100;
    static constexpr qint64 LimiteBytes = 64 << 20;
    QMap<int, QByteArray> m_respostas;
    QList<int> m_ordem;
    qint64 m_bytes = 0;
};
Historico& historico() {
    static Historico h;
    return h;
}

QString paraDiario(const QByteArray& bytes) {
    QString t = QString::fromUtf8(bytes);
    if (t.contains(QChar::ReplacementCharacter)) t = QString::fromLatin1(bytes);
    return t.replace('\\', QLatin1String("\\\\"))
        .replace('\n', QLatin1String("\\n"))
        .replace('\r', QLatin1String("\\r"));
}

using Corpo = std::function<QByteArray(Estado&, bool& mudou)>;

// What every function does around its own work: the port, the busy device,
// the state, the reply delay, the journal and the session history.
QByteArray atender(Controle& controle, const char* nome, int funcao, int sessao,
                   const QList<QByteArray>& argumentos, const Corpo& corpo) {
    std::lock_guard<std::mutex> vez(mutexChamadas());
    const Resposta r(sessao, funcao);
    QByteArray resposta;
    int latencia = 0;
    bool diario = false, atendida = false;
    try {
        controle.alterarSe([&](Estado& e) {
            const qint64 agora = agoraMs();
            latencia = e.latenciaDe(QLatin1String(nome));
            diario = e.diario;
            if (!e.conectadoEm(agora)) {
                resposta = Dispositivo::PortaNaoPronta;
                return false;
            }
            if (e.ocupadoEm(agora)) {
                resposta =
                    comDetalhe(funcao) ? r.detalhada(98, 0, MsgOcupado) : r.padrao(98, MsgOcupado);
                return false;
            }
            bool mudou = false;
            resposta = corpo(e, mudou);
            atendida = true;
            return mudou;
        });
    } catch (const std::exception& erro) {
        std::fprintf(stderr, "dllsat (emulador): %s\n", erro.what());
        const QString msg = QStringLiteral("Erro desconhecido: ") + QString::fromUtf8(erro.what());
        resposta = comDetalhe(funcao) ? r.detalhada(99, 0, msg) : r.padrao(99, msg);
    } catch (...) {
        resposta = comDetalhe(funcao) ? r.detalhada(99, 0, QStringLiteral("Erro desconhecido"))
                                      : r.padrao(99, QStringLiteral("Erro desconhecido"));
    }
    if (latencia > 0) QThread::msleep(latencia);
    if (atendida && funcao != FNumeroSessao) historico().guardar(sessao, resposta);
    if (diario) {
        QStringList args{QString::number(sessao)};
        for (const QByteArray& a : argumentos) args << paraDiario(a);
        try {
            controle.registrarNoDiario(
                QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz ")) +
                QLatin1String(nome) + '(' + args.join(QLatin1String(", ")) +
                QStringLiteral(") -> ") + paraDiario(resposta));
        } catch (const std::exception& erro) {
            std::fprintf(stderr, "dllsat (emulador): %s\n", erro.what());
        }
    }
    return resposta;
}

QByteArray bytes(const char* c) {
    return QByteArray(c ? c : "");
}
QByteArray bytes(int n) {
    return QByteArray::number(n);
}

// Access as the standard gates it: only the device's own code, once activated.
bool confere(const Estado& e, const char* codigo) {
    return e.ativado && texto(codigo) == e.codigoAtivacao;
}
// Functions a factory-new device serves to any code.
bool livreOuConfere(const Estado& e, const char* codigo) {
    return !e.ativado || confere(e, codigo);
}

void registrarEvento(Estado& e) {
    e.tamanhoLog += TamanhoLinhaLog;
}

QString dezena(int n, int largura) {
    return QStringLiteral("%1").arg(n, largura, 10, QLatin1Char('0'));
}

// The network settings that the status shows, from the last accepted document.
Rede redeAtual(const Estado& e) {
    Rede r;
    if (!e.redeXml.isEmpty()) r = lerRede(e.redeXml.toUtf8()).value_or(Rede{});
    if (r.tipoLan == QLatin1String("IPFIX")) {
        if (r.dns1.isEmpty()) r.dns1 = QStringLiteral("000.000.000.000");
        if (r.dns2.isEmpty()) r.dns2 = QStringLiteral("000.000.000.000");
        return r;
    }
    // An address from the network's server, the same for the same device.
    const int host = 100 + e.serie.right(2).toInt();
    r.ip = QStringLiteral("192.168.001.") + dezena(host, 3);
    r.mascara = QStringLiteral("255.255.255.000");
    r.gateway = QStringLiteral("192.168.001.001");
    r.dns1 = QStringLiteral("192.168.001.001");
    r.dns2 = QStringLiteral("008.008.008.008");
    return r;
}

QString mac(const QString& serie) {
    const quint32 n = serie.toUInt();
    return QStringLiteral("00:07:25:%1:%2:%3")
        .arg((n >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((n >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(n & 0xFF, 2, 16, QLatin1Char('0'));
}

QString versaoMaisUm(const QString& versao) {
    QStringList partes = versao.split('.');
    for (qsizetype i = partes.size() - 1; i >= 0; --i) {
        const int n = partes[i].toInt() + 1;
        const int largura = qMax(2, int(partes[i].size()));
        if (n < 100 || i == 0) {
            partes[i] = dezena(n, largura);
            return partes.join('.');
        }
        partes[i] = dezena(0, largura);
    }
    return versao;
}

// ----- documents -----

qint64 centavos(double v) {
    return std::llround(v * 100.0);
}
QString valor(qint64 centavos) {
    return QStringLiteral("%1.%2").arg(centavos / 100).arg(centavos % 100, 2, 10, QLatin1Char('0'));
}
// Fields of 15 positions, 2 of them decimals: the largest amount, in cents,
// the device computes with; summed over every item still far inside a qint64.
constexpr qint64 MaximoCentavos = 999999999999999;

// A value that fits those fields, or 0 and false.
bool decimal(const QString& t, double& v) {
    bool ok = false;
    v = t.toDouble(&ok);
    if (ok && std::isfinite(v) && std::fabs(v) * 100.0 <= double(MaximoCentavos)) return true;
    v = 0;
    return false;
}

struct Item {
    const No* no;
    qint64 vProd = 0, vItem = 0;
};

// A sale as the device computes it; cccc is 0 when it is valid.
struct Venda {
    int cccc = 0;
    QString cnpjSoftwareHouse, signAC, numeroCaixa, cnpjEmitente, ieEmitente, versaoDadosEnt;
    QString destCnpj, destCpf;
    QList<Item> itens;
    QList<std::pair<QString, qint64>> pagamentos;
    qint64 total = 0, pago = 0;
};

Venda calcular(const No& cfe) {
    Venda v;
    const No* inf = cfe.filho(QStringLiteral("infCFe"));
    if (cfe.nome != QLatin1String("CFe") || !inf) {
        v.cccc = 1999;
        return v;
    }
    v.versaoDadosEnt = inf->atributos.value(QStringLiteral("versaoDadosEnt"));
    v.cnpjSoftwareHouse = inf->valor("ide/CNPJ");
    v.signAC = inf->valor("ide/signAC");
    v.numeroCaixa = inf->valor("ide/numeroCaixa");
    v.cnpjEmitente = inf->valor("emit/CNPJ");
    v.ieEmitente = inf->valor("emit/IE");
    v.destCnpj = inf->valor("dest/CNPJ");
    v.destCpf = inf->valor("dest/CPF");
    auto falha = [&v](int c) {
        if (!v.cccc) v.cccc = c;
    };
    if (!cnpjValido(v.cnpjSoftwareHouse)) falha(1224);
    if (!cnpjValido(v.cnpjEmitente)) falha(1207);
    if (v.ieEmitente.isEmpty()) falha(1229);
    if (!v.destCnpj.isEmpty() && !cnpjValido(v.destCnpj)) falha(1235);
    // Both go back in the reply's own field: anything else would break its layout.
    if (!v.destCpf.isEmpty() && !cpfValido(v.destCpf)) falha(1237);
    int numero = 0;
    for (const No* det : inf->todos(QStringLiteral("det"))) {
        Item item{det};
        if (det->atributos.value(QStringLiteral("nItem")).toInt() != ++numero) falha(1019);
        double q = 0, un = 0, desc = 0, outro = 0;
        if (!decimal(det->valor("prod/qCom"), q) || q <= 0) falha(1464);
        if (!decimal(det->valor("prod/vUnCom"), un) || un <= 0) falha(1465);
        const QString regra = det->valor("prod/indRegra");
        if (regra != QLatin1String("A") && regra != QLatin1String("T")) falha(1467);
        if (!det->valor("prod/vDesc").isEmpty() &&
            (!decimal(det->valor("prod/vDesc"), desc) || desc < 0))
            falha(1468);
        if (!det->valor("prod/vOutro").isEmpty() &&
            (!decimal(det->valor("prod/vOutro"), outro) || outro < 0))
            falha(1469);
        double bruto = q * un * 100.0;
        if (std::fabs(bruto) > double(MaximoCentavos)) {
            falha(1999);
            bruto = 0;
        }
        item.vProd =
            regra == QLatin1String("T") ? qint64(std::floor(bruto + 1e-6)) : std::llround(bruto);
        item.vItem = item.vProd - centavos(desc) + centavos(outro);
        if (item.vItem < 0)
            falha(1998);
        else if (v.total + item.vItem > MaximoCentavos)
            falha(1999);
        else
            v.total += item.vItem;
        v.itens << item;
    }
    if (v.itens.isEmpty()) falha(1999);
    static const QStringList meios{"01", "02", "03", "04", "05", "10", "11", "12", "13", "99"};
    const No* pgto = inf->filho(QStringLiteral("pgto"));
    for (const No* mp : pgto ? pgto->todos(QStringLiteral("MP")) : QList<const No*>{}) {
        double vmp = 0;
        if (!meios.contains(mp->valor("cMP"))) falha(1527);
        if (!decimal(mp->valor("vMP"), vmp) || vmp <= 0) falha(1528);
        v.pagamentos << std::pair{mp->valor("cMP"), centavos(vmp)};
        if (v.pago + centavos(vmp) > MaximoCentavos)
            falha(1528);
        else
            v.pago += centavos(vmp);
    }
    if (v.pagamentos.isEmpty()) falha(1527);
    if (v.pago < v.total) falha(1408);
    return v;
}

Venda malformada() {
    Venda v;
    v.cccc = 1999;
    return v;
}

// cUF AAMM CNPJ 59 serie nCFe cNF DV
QString novaChave(int uf, const QString& cnpj, const QString& serie, int numero, qint64 ms) {
    const QString cnf = dezena(QRandomGenerator::global()->bounded(1000000), 6);
    const QString corpo = dezena(uf, 2) + dataHora(ms, "yyMM") + cnpj.rightJustified(14, '0') +
                          QStringLiteral("59") + serie + dezena(numero % 1000000, 6) + cnf;
    return corpo + QString::number(digitoChave(corpo));
}

QString versaoSB(const Estado& e) {
    return QString(e.versaoSoftware).remove('.');
}

void escreverIde(QXmlStreamWriter& x, const Estado& e, const QString& chave, qint64 ms,
                 const QString& cnpjSH, const QString& signAC, const QString& caixa,
                 const QByteArray& qr) {
    x.writeStartElement(QStringLiteral("ide"));
    x.writeTextElement(QStringLiteral("cUF"), chave.left(2));
    x.writeTextElement(QStringLiteral("cNF"), chave.mid(37, 6));
    x.writeTextElement(QStringLiteral("mod"), QStringLiteral("59"));
    x.writeTextElement(QStringLiteral("nserieSAT"), e.serie);
    x.writeTextElement(QStringLiteral("nCFe"), chave.mid(31, 6));
    x.writeTextElement(QStringLiteral("dEmi"), dataHora(ms, "yyyyMMdd"));
    x.writeTextElement(QStringLiteral("hEmi"), dataHora(ms, "hhmmss"));
    x.writeTextElement(QStringLiteral("cDV"), chave.right(1));
    x.writeTextElement(QStringLiteral("tpAmb"), QStringLiteral("2"));
    x.writeTextElement(QStringLiteral("CNPJ"), cnpjSH);
    x.writeTextElement(QStringLiteral("signAC"), signAC);
    x.writeTextElement(QStringLiteral("assinaturaQRCODE"), QString::fromLatin1(qr));
    x.writeTextElement(QStringLiteral("numeroCaixa"), caixa);
    x.writeEndElement();
}

void escreverAssinatura(QXmlStreamWriter& x, const QString& chave) {
    x.writeStartElement(QStringLiteral("Signature"));
    x.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/09/xmldsig#"));
    x.writeTextElement(QStringLiteral("SignatureValue"),
                       QString::fromLatin1(assinaturaFalsa("CFe" + chave.toLatin1())));
    x.writeEndElement();
}

// The signed CF-e the device returns for a sale or a test.
QByteArray cfeEmitido(const Estado& e, const Venda& v, const QString& chave, qint64 ms,
                      const QByteArray& qr) {
    QByteArray xml;
    QXmlStreamWriter x(&xml);
    x.writeStartElement(QStringLiteral("CFe"));
    x.writeStartElement(QStringLiteral("infCFe"));
    x.writeAttribute(QStringLiteral("Id"), QStringLiteral("CFe") + chave);
    x.writeAttribute(QStringLiteral("versao"), QStringLiteral("0.07"));
    x.writeAttribute(QStringLiteral("versaoDadosEnt"), v.versaoDadosEnt);
    x.writeAttribute(QStringLiteral("versaoSB"), versaoSB(e));
    escreverIde(x, e, chave, ms, v.cnpjSoftwareHouse, v.signAC, v.numeroCaixa, qr);
    x.writeStartElement(QStringLiteral("emit"));
    x.writeTextElement(QStringLiteral("CNPJ"), v.cnpjEmitente);
    x.writeTextElement(QStringLiteral("IE"), v.ieEmitente);
    x.writeEndElement();
    x.writeStartElement(QStringLiteral("dest"));
    if (!v.destCnpj.isEmpty()) x.writeTextElement(QStringLiteral("CNPJ"), v.destCnpj);
    if (!v.destCpf.isEmpty()) x.writeTextElement(QStringLiteral("CPF"), v.destCpf);
    x.writeEndElement();
    for (int i = 0; i < v.itens.size(); ++i) {
        const Item& item = v.itens[i];
        x.writeStartElement(QStringLiteral("det"));
        x.writeAttribute(QStringLiteral("nItem"), QString::number(i + 1));
        x.writeStartElement(QStringLiteral("prod"));
        for (const char* tag : {"cProd", "xProd", "NCM", "CFOP", "uCom", "qCom", "vUnCom"})
            x.writeTextElement(QLatin1String(tag), item.no->valor(QStringLiteral("prod/") + tag));
        x.writeTextElement(QStringLiteral("vProd"), valor(item.vProd));
        x.writeTextElement(QStringLiteral("indRegra"), item.no->valor("prod/indRegra"));
        x.writeTextElement(QStringLiteral("vItem"), valor(item.vItem));
        x.writeEndElement();
        x.writeEndElement();
    }
    x.writeStartElement(QStringLiteral("total"));
    x.writeTextElement(QStringLiteral("vCFe"), valor(v.total));
    x.writeEndElement();
    x.writeStartElement(QStringLiteral("pgto"));
    for (const auto& [meio, quantia] : v.pagamentos) {
        x.writeStartElement(QStringLiteral("MP"));
        x.writeTextElement(QStringLiteral("cMP"), meio);
        x.writeTextElement(QStringLiteral("vMP"), valor(quantia));
        x.writeEndElement();
    }
    x.writeTextElement(QStringLiteral("vTroco"), valor(qMax<qint64>(0, v.pago - v.total)));
    x.writeEndElement();
    x.writeEndElement();
    escreverAssinatura(x, chave);
    x.writeEndElement();
    return xml;
}

QByteArray cfeCancelamento(const Estado& e, const QString& chave, const QString& chaveVenda,
                           qint64 ms, const No& inf, const QByteArray& qr) {
    QByteArray xml;
    QXmlStreamWriter x(&xml);
    x.writeStartElement(QStringLiteral("CFeCanc"));
    x.writeStartElement(QStringLiteral("infCFe"));
    x.writeAttribute(QStringLiteral("Id"), QStringLiteral("CFe") + chave);
    x.writeAttribute(QStringLiteral("chCanc"), QStringLiteral("CFe") + chaveVenda);
    x.writeAttribute(QStringLiteral("versao"), QStringLiteral("0.07"));
    x.writeTextElement(QStringLiteral("dEmi"), dataHora(e.ultimaVendaMs, "yyyyMMdd"));
    x.writeTextElement(QStringLiteral("hEmi"), dataHora(e.ultimaVendaMs, "hhmmss"));
    escreverIde(x, e, chave, ms, inf.valor("ide/CNPJ"), inf.valor("ide/signAC"),
                inf.valor("ide/numeroCaixa"), qr);
    x.writeStartElement(QStringLiteral("emit"));
    x.writeTextElement(QStringLiteral("CNPJ"), chaveVenda.mid(6, 14));
    x.writeEndElement();
    x.writeEmptyElement(QStringLiteral("dest"));
    x.writeStartElement(QStringLiteral("total"));
    x.writeTextElement(QStringLiteral("vCFe"), e.ultimoValor);
    x.writeEndElement();
    x.writeEmptyElement(QStringLiteral("infAdic"));
    x.writeEndElement();
    escreverAssinatura(x, chave);
    x.writeEndElement();
    return xml;
}

QByteArray csr(const Estado& e, const QString& cnpj) {
    const QByteArray corpo =
        QCryptographicHash::hash(("CSR" + e.serie + cnpj).toLatin1(), QCryptographicHash::Sha512)
            .repeated(8)
            .toBase64();
    QByteArray pem = "-----BEGIN CERTIFICATE REQUEST-----\n";
    for (qsizetype i = 0; i < corpo.size(); i += 64) pem += corpo.mid(i, 64) + '\n';
    pem += "-----END CERTIFICATE REQUEST-----\n";
    return pem.toBase64();
}

// "CFe" followed by the 44 digits, or the 44 digits alone.
QString semPrefixo(const QString& chave) {
    return chave.startsWith(QLatin1String("CFe")) ? chave.mid(3) : chave;
}

}  // namespace

Dispositivo::Dispositivo(const QString& pasta) : m_controle(pasta) {}

QByteArray Dispositivo::ConsultarSAT(int sessao) {
    return atender(m_controle, "ConsultarSAT", FConsultar, sessao, {}, [&](Estado&, bool&) {
        return Resposta(sessao, FConsultar).padrao(0, QStringLiteral("SAT em opera\u00e7\u00e3o"));
    });
}

QByteArray Dispositivo::ConsultarStatusOperacional(int sessao, const char* codigo) {
    return atender(m_controle, "ConsultarStatusOperacional", FStatus, sessao, {bytes(codigo)},
                   [&](Estado& e, bool&) {
                       const Resposta r(sessao, FStatus);
                       if (!livreOuConfere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
                       const Rede rede = redeAtual(e);
                       const qint64 agora = agoraMs();
                       const QString zeros(44, '0');
                       const QStringList campos{
                           e.serie,
                           rede.tipoLan,
                           rede.ip,
                           mac(e.serie),
                           rede.mascara,
                           rede.gateway,
                           rede.dns1,
                           rede.dns2,
                           QStringLiteral("CONECTADO"),
                           QStringLiteral("ALTO"),
                           QStringLiteral("4 GB"),
                           QStringLiteral("%1 KB").arg(e.numeroCFe * 8),
                           dataHora(agora),
                           e.versaoSoftware,
                           e.versaoLayout,
                           e.ultimoCFe,
                           e.ultimoCFe.isEmpty() ? QString() : zeros,
                           e.ultimoCFe.isEmpty() ? QString() : zeros,
                           e.ultimoCFeMs ? dataHora(e.ultimoCFeMs) : QString(),
                           dataHora(agora),
                           e.ativado ? dataHora(e.ativadoEmMs, "yyyyMMdd") : QString(),
                           e.ativado ? dataHora(QDateTime::fromMSecsSinceEpoch(e.ativadoEmMs)
                                                    .addYears(5)
                                                    .toMSecsSinceEpoch(),
                                                "yyyyMMdd")
                                     : QString(),
                           e.bloqueado ? QStringLiteral("2") : QStringLiteral("0"),
                       };
                       QList<QByteArray> extras;
                       for (const QString& c : campos) extras << w(c);
                       return r.padrao(0, QStringLiteral("Resposta com Sucesso"), extras);
                   });
}

QByteArray Dispositivo::ConsultarNumeroSessao(int sessao, const char* codigo, int consultada) {
    return atender(m_controle, "ConsultarNumeroSessao", FNumeroSessao, sessao,
                   {bytes(codigo), bytes(consultada)}, [&](Estado& e, bool&) {
                       const Resposta r(sessao, FNumeroSessao);
                       if (!e.ativado) return r.padrao(2, MsgNaoAtivado);
                       if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
                       if (const auto guardada = historico().buscar(consultada)) return *guardada;
                       return r.padrao(3, QStringLiteral("Sess\u00e3o n\u00e3o existe"));
                   });
}

QByteArray Dispositivo::AtivarSAT(int sessao, int subComando, const char* codigo, const char* cnpj,
                                  int uf) {
    return atender(
        m_controle, "AtivarSAT", FAtivar, sessao,
        {bytes(subComando), bytes(codigo), bytes(cnpj), bytes(uf)}, [&](Estado& e, bool& mudou) {
            const Resposta r(sessao, FAtivar);
            const QString novo = texto(codigo);
            if (e.ativado) return r.padrao(3, QStringLiteral("SAT j\u00e1 ativado"));
            if (subComando < 1 || subComando > 3 || novo.size() < 8 || novo.size() > 32)
                return r.padrao(99, QStringLiteral("Erro desconhecido na ativa\u00e7\u00e3o"));
            if (!cnpjValido(texto(cnpj)))
                return r.padrao(
                    2, QStringLiteral("SEFAZ n\u00e3o reconhece este SAT (CNPJ inv\u00e1lido)"));
            if (!ufValida(uf))
                return r.padrao(
                    2, QStringLiteral("SEFAZ n\u00e3o reconhece este SAT (UF inv\u00e1lida)"));
            e.ativado = true;
            e.ativadoEmMs = agoraMs();
            e.codigoAtivacao = novo;
            e.cnpjContribuinte = texto(cnpj);
            e.uf = uf;
            registrarEvento(e);
            mudou = true;
            if (subComando == 1)
                return r.padrao(0, QStringLiteral("Ativado corretamente"), {csr(e, texto(cnpj))});
            return r.padrao(6, QStringLiteral("CSR ICP-BRASIL criado com sucesso"),
                            {csr(e, texto(cnpj))});
        });
}

QByteArray Dispositivo::AssociarAssinatura(int sessao, const char* codigo, const char* cnpjs,
                                           const char* assinatura) {
    return atender(
        m_controle, "AssociarAssinatura", FAssociar, sessao,
        {bytes(codigo), bytes(cnpjs), bytes(assinatura)}, [&](Estado& e, bool& mudou) {
            const Resposta r(sessao, FAssociar);
            const QString par = texto(cnpjs);
            const QString sinal = texto(assinatura);
            if (!confere(e, codigo)) return r.detalhada(1, 0, MsgCodigoInvalido);
            if (par.size() != 28 || !cnpjValido(par.left(14)) || !cnpjValido(par.mid(14)))
                return r.detalhada(4, 1224,
                                   QStringLiteral("CNPJ da Software House + CNPJ do emitente "
                                                  "assinado no campo signAC difere do informado "
                                                  "no campo CNPJvalue"));
            if (par.mid(14) != e.cnpjContribuinte)
                return r.detalhada(7, 1203,
                                   QStringLiteral("CNPJ do contribuinte difere daquele constante "
                                                  "da parametriza\u00e7\u00e3o de uso"));
            static const QRegularExpression base64(
                QStringLiteral("^[A-Za-z0-9+/]{342}[A-Za-z0-9+/=]{2}$"));
            if (sinal != AssinaturaDesenvolvimento && !base64.match(sinal).hasMatch())
                return r.detalhada(3, 1222,
                                   QStringLiteral("Assinatura fora do padr\u00e3o informado"));
            e.cnpjSoftwareHouse = par.left(14);
            e.assinatura = sinal;
            e.reinicioAteMs = agoraMs() + e.reinicioAposMs;
            registrarEvento(e);
            mudou = true;
            return r.detalhada(0, 0, QStringLiteral("Assinatura do AC registrada"));
        });
}

QByteArray Dispositivo::TesteFimAFim(int sessao, const char* codigo, const char* documento) {
    return atender(m_controle, "TesteFimAFim", FTeste, sessao, {bytes(codigo), bytes(documento)},
                   [&](Estado& e, bool& mudou) {
                       const Resposta r(sessao, FTeste);
                       if (!e.ativado) return r.padrao(2, MsgNaoAtivado);
                       if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
                       const auto doc = lerXml(bytes(documento));
                       const Venda v = doc ? calcular(*doc) : Venda{};
                       if (!doc || doc->nome != QLatin1String("CFe"))
                           return r.padrao(99, QStringLiteral("Erro desconhecido"));
                       const qint64 agora = agoraMs();
                       const QString cnpj =
                           cnpjValido(v.cnpjEmitente) ? v.cnpjEmitente : e.cnpjContribuinte;
                       // Test documents do not take a number of the sales'.
                       const QString chave = novaChave(e.uf, cnpj, e.serie, 0, agora);
                       const QByteArray qr = assinaturaFalsa(chave.toLatin1() + "qr");
                       registrarEvento(e);
                       mudou = true;
                       return r.padrao(0, QStringLiteral("Emitido com sucesso"),
                                       {cfeEmitido(e, v, chave, agora, qr).toBase64(),
                                        w(dataHora(agora)), "000000", "CFe" + chave.toLatin1()});
                   });
}

QByteArray Dispositivo::EnviarDadosVenda(int sessao, const char* codigo, const char* documento) {
    return atender(
        m_controle, "EnviarDadosVenda", FVenda, sessao, {bytes(codigo), bytes(documento)},
        [&](Estado& e, bool& mudou) {
            const Resposta r(sessao, FVenda);
            if (!e.ativado) return r.detalhada(2, 0, MsgNaoAtivado);
            if (!confere(e, codigo)) return r.detalhada(1, 0, MsgCodigoInvalido);
            if (e.bloqueado)
                return r.detalhada(6, 0, QStringLiteral("SAT bloqueado pelo contribuinte"));
            if (e.assinatura.isEmpty())
                return r.detalhada(3, 0, QStringLiteral("SAT n\u00e3o vinculado ao AC"));
            const QByteArray xml = bytes(documento);
            if (xml.size() > 1500 * 1024)
                return r.detalhada(5, 0, QStringLiteral("Tamanho do CF-e-SAT superior a 1.500KB"));
            const auto doc = lerXml(xml);
            const Venda v = doc ? calcular(*doc) : malformada();
            if (doc && doc->nome == QLatin1String("CFe") &&
                (v.signAC != e.assinatura ||
                 (!e.cnpjSoftwareHouse.isEmpty() && v.cnpjSoftwareHouse != e.cnpjSoftwareHouse)))
                return r.detalhada(4, 0,
                                   QStringLiteral("Vincula\u00e7\u00e3o do AC n\u00e3o confere"));
            if (v.cccc)
                return r.detalhada(10, v.cccc,
                                   QStringLiteral("Erro de valida\u00e7\u00e3o do conte\u00fado"));
            const qint64 agora = agoraMs();
            e.numeroCFe = e.numeroCFe % 999999 + 1;
            const QString chave = novaChave(e.uf, v.cnpjEmitente, e.serie, e.numeroCFe, agora);
            const QByteArray qr = assinaturaFalsa(chave.toLatin1() + "qr");
            e.ultimaChave = QStringLiteral("CFe") + chave;
            e.ultimaVendaMs = agora;
            e.ultimoValor = valor(v.total);
            e.ultimoCFe = chave;
            e.ultimoCFeMs = agora;
            registrarEvento(e);
            mudou = true;
            return r.detalhada(0, 0, QStringLiteral("Emitido com sucesso + conte\u00fado notas"),
                               {cfeEmitido(e, v, chave, agora, qr).toBase64(), w(dataHora(agora)),
                                "CFe" + chave.toLatin1(), w(valor(v.total)),
                                w(v.destCnpj.isEmpty() ? v.destCpf : v.destCnpj), qr});
        });
}

QByteArray Dispositivo::CancelarUltimaVenda(int sessao, const char* codigo, const char* chave,
                                            const char* documento) {
    return atender(
        m_controle, "CancelarUltimaVenda", FCancelar, sessao,
        {bytes(codigo), bytes(chave), bytes(documento)}, [&](Estado& e, bool& mudou) {
            const Resposta r(sessao, FCancelar);
            const QString erroConteudo =
                QStringLiteral("Erro de valida\u00e7\u00e3o do conte\u00fado");
            if (!confere(e, codigo))
                return r.detalhada(1, 0,
                                   QStringLiteral("C\u00f3digo ativa\u00e7\u00e3o inv\u00e1lido"));
            if (e.bloqueado)
                return r.detalhada(3, 0, QStringLiteral("SAT bloqueado pelo contribuinte"));
            const QString alvo = semPrefixo(texto(chave));
            const auto doc = lerXml(bytes(documento));
            const No* inf = doc && doc->nome == QLatin1String("CFeCanc")
                                ? doc->filho(QStringLiteral("infCFe"))
                                : nullptr;
            if (!inf) return r.detalhada(7, 1999, erroConteudo);
            if (!chaveValida(alvo) ||
                semPrefixo(inf->atributos.value(QStringLiteral("chCanc"))) != alvo)
                return r.detalhada(7, 1270, erroConteudo);
            if (e.assinatura.isEmpty() || inf->valor("ide/signAC") != e.assinatura)
                return r.detalhada(7, 1455, erroConteudo);
            if (!e.cnpjSoftwareHouse.isEmpty() && inf->valor("ide/CNPJ") != e.cnpjSoftwareHouse)
                return r.detalhada(7, 1454, erroConteudo);
            if (alvo == e.chaveCancelada) return r.detalhada(7, 1218, erroConteudo);
            if (semPrefixo(e.ultimaChave) != alvo)
                return r.detalhada(2, 0, QStringLiteral("Cupom inv\u00e1lido"));
            const qint64 agora = agoraMs();
            if (agora - e.ultimaVendaMs > 30 * 60 * 1000) return r.detalhada(7, 1210, erroConteudo);
            e.numeroCFe = e.numeroCFe % 999999 + 1;
            const QString nova =
                novaChave(alvo.left(2).toInt(), alvo.mid(6, 14), e.serie, e.numeroCFe, agora);
            const QByteArray qr = assinaturaFalsa(nova.toLatin1() + "qr");
            const QByteArray xml = cfeCancelamento(e, nova, alvo, agora, *inf, qr);
            e.ultimaChave.clear();
            e.chaveCancelada = alvo;
            e.ultimoCFe = nova;
            e.ultimoCFeMs = agora;
            registrarEvento(e);
            mudou = true;
            return r.detalhada(
                0, 0,
                QStringLiteral("Cupom cancelado com sucesso + conte\u00fado CF-e-SAT cancelado"),
                {xml.toBase64(), w(dataHora(agora)), "CFe" + nova.toLatin1(), w(e.ultimoValor),
                 QByteArray(), qr});
        });
}

QByteArray Dispositivo::ConfigurarInterfaceDeRede(int sessao, const char* codigo,
                                                  const char* documento) {
    return atender(m_controle, "ConfigurarInterfaceDeRede", FRede, sessao,
                   {bytes(codigo), bytes(documento)}, [&](Estado& e, bool& mudou) {
                       const Resposta r(sessao, FRede);
                       if (!livreOuConfere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
                       if (!lerRede(bytes(documento)))
                           return r.padrao(
                               2, QStringLiteral("Dados fora do padr\u00e3o a ser informado"));
                       e.redeXml = QString::fromUtf8(bytes(documento));
                       registrarEvento(e);
                       mudou = true;
                       return r.padrao(0, QStringLiteral("Rede configurada com sucesso"));
                   });
}

QByteArray Dispositivo::TrocarCodigoDeAtivacao(int sessao, const char* codigo, int opcao,
                                               const char* novo, const char* confirmacao) {
    return atender(
        m_controle, "TrocarCodigoDeAtivacao", FTrocar, sessao,
        {bytes(codigo), bytes(opcao), bytes(novo), bytes(confirmacao)},
        [&](Estado& e, bool& mudou) {
            const Resposta r(sessao, FTrocar);
            if (opcao == 2) {
                if (!e.ativado || texto(codigo) != e.codigoEmergencia)
                    return r.padrao(2, QStringLiteral("C\u00f3digo de ativa\u00e7\u00e3o de "
                                                      "emerg\u00eancia incorreto"));
            } else if (opcao == 1) {
                if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
            } else {
                return r.padrao(99,
                                QStringLiteral("Erro desconhecido: op\u00e7\u00e3o inv\u00e1lida"));
            }
            const QString codigoNovo = texto(novo);
            if (codigoNovo != texto(confirmacao))
                return r.padrao(99, QStringLiteral("Erro desconhecido: a confirma\u00e7\u00e3o "
                                                   "difere do novo c\u00f3digo"));
            if (codigoNovo.size() < 8 || codigoNovo.size() > 32)
                return r.padrao(99, QStringLiteral("Erro desconhecido: o novo c\u00f3digo deve "
                                                   "ter de 8 a 32 caracteres"));
            e.codigoAtivacao = codigoNovo;
            registrarEvento(e);
            mudou = true;
            return r.padrao(
                0, QStringLiteral("C\u00f3digo de ativa\u00e7\u00e3o alterado com sucesso"));
        });
}

QByteArray Dispositivo::ExtrairLogs(int sessao, const char* codigo) {
    return atender(m_controle, "ExtrairLogs", FLogs, sessao, {bytes(codigo)},
                   [&](Estado& e, bool&) {
                       const Resposta r(sessao, FLogs);
                       if (!livreOuConfere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
                       // The same size gives the same log: keep the last one encoded.
                       static qint64 tamanho = -1;
                       static QByteArray base64;
                       if (tamanho != e.tamanhoLog) {
                           base64 = textoLog(e.tamanhoLog).toBase64();
                           tamanho = e.tamanhoLog;
                       }
                       return r.padrao(0, QStringLiteral("Transfer\u00eancia completa"), {base64});
                   });
}

QByteArray Dispositivo::AtualizarSoftwareSAT(int sessao, const char* codigo) {
    return atender(m_controle, "AtualizarSoftwareSAT", FAtualizar, sessao, {bytes(codigo)},
                   [&](Estado& e, bool& mudou) {
                       const Resposta r(sessao, FAtualizar);
                       if (!livreOuConfere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
                       e.versaoSoftware = versaoMaisUm(e.versaoSoftware);
                       e.reinicioAteMs = agoraMs() + e.reinicioAposMs;
                       registrarEvento(e);
                       mudou = true;
                       return r.padrao(0, QStringLiteral("Software atualizado com sucesso"));
                   });
}

QByteArray Dispositivo::BloquearSAT(int sessao, const char* codigo) {
    return atender(
        m_controle, "BloquearSAT", FBloquear, sessao, {bytes(codigo)}, [&](Estado& e, bool& mudou) {
            const Resposta r(sessao, FBloquear);
            if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
            if (e.bloqueado)
                return r.padrao(2, QStringLiteral("Equipamento SAT j\u00e1 est\u00e1 bloqueado"));
            e.bloqueado = true;
            registrarEvento(e);
            mudou = true;
            return r.padrao(0, QStringLiteral("Equipamento SAT bloqueado com sucesso"));
        });
}

QByteArray Dispositivo::DesbloquearSAT(int sessao, const char* codigo) {
    return atender(m_controle, "DesbloquearSAT", FDesbloquear, sessao, {bytes(codigo)},
                   [&](Estado& e, bool& mudou) {
                       const Resposta r(sessao, FDesbloquear);
                       if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
                       if (!e.bloqueado)
                           return r.padrao(5, QStringLiteral("SAT j\u00e1 desbloqueado"));
                       e.bloqueado = false;
                       registrarEvento(e);
                       mudou = true;
                       return r.padrao(0,
                                       QStringLiteral("Equipamento SAT desbloqueado com sucesso"));
                   });
}

}  // namespace emulador
