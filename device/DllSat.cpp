#include "device/DllSat.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <cstdio>

#include "device/CanalAuxiliar.h"
#include "device/EscolhaBiblioteca.h"
#include "device/Sistema.h"
#include "device/TempoLimite.h"
#include "device/VersaoArquivo.h"

namespace {

// Code points of bytes 0x80 to 0x9F; the five undefined bytes map to
// themselves, as the platform's converters do.
constexpr char16_t Cp1252Alto[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char paraByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (Cp1252Alto[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

// A null pointer for an empty text, as the library expects.
sat::Argumento texto(const QByteArray& bytes) {
    return sat::Argumento::deTexto(bytes.toStdString(), bytes.isEmpty());
}
sat::Argumento texto(const QString& s) {
    return texto(DllSat::paraWin1252(s));
}
sat::Argumento inteiro(int valor) {
    return sat::Argumento::deInteiro(valor);
}

}  // namespace

const QString DllSat::SemResposta = QStringLiteral("a biblioteca não devolveu resposta");

QByteArray DllSat::paraWin1252(const QString& texto) {
    QByteArray bytes(texto.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < texto.size(); ++i) bytes[i] = paraByte(texto[i].unicode());
    return bytes;
}

QString DllSat::deWin1252(const char* bytes) {
    return bytes ? deWin1252(QByteArray::fromRawData(bytes, qsizetype(qstrlen(bytes)))) : QString();
}

QString DllSat::deWin1252(const QByteArray& bytes) {
    // One look-up per byte: a device log runs to megabytes.
    static const std::array<char16_t, 256> tabela = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = (b >= 0x80 && b < 0xA0) ? Cp1252Alto[b - 0x80] : char16_t(b);
        return t;
    }();
    QString texto(bytes.size(), Qt::Uninitialized);
    char16_t* destino = reinterpret_cast<char16_t*>(texto.data());
    const auto* origem = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i) destino[i] = tabela[origem[i]];
    return texto;
}

namespace {
QString recusa(const QString& caminho, const QStringList& procurados, const QString& falta) {
    return QStringLiteral("Não foi possível usar a biblioteca do SAT.\n") +
           descreveRecusa(caminho, falta, procurados);
}

QString semBiblioteca(const QString& motivo, const QStringList& procurados) {
    return QStringLiteral(
               "Nenhuma biblioteca do SAT (%1) foi encontrada.\n%2\nMotivo: %3\n\n"
               "Para um SAT real, indique a biblioteca do fabricante:\n"
               "  tool-sat-tivoro --biblioteca CAMINHO   (ou SAT_BIBLIOTECA=CAMINHO)\n"
               "Para trabalhar no SAT emulado (pacote sat-emulador):\n"
               "  tool-sat-tivoro --emulador")
        .arg(QString::fromLatin1(sistema::NomeBiblioteca), descreveProcura(procurados), motivo);
}
}  // namespace

namespace {
bool ehEmulador(const QString& caminho) {
    try {
        return textoArquivo(caminho, QStringLiteral("SpecialBuild")) ==
               QLatin1String("SAT EMULADO");
    } catch (const ErroSistemaOperacional&) {
        return false;
    }
}

[[noreturn]] void recusar(const EscolhaBiblioteca& escolha, const CanalAuxiliar::Abertura& a) {
    using Tipo = CanalAuxiliar::Abertura::Tipo;
    QString texto;
    switch (a.tipo) {
        case Tipo::SemAuxiliar:
            texto = a.texto;
            break;
        case Tipo::NaoCarrega:
            texto =
                escolha.porBusca
                    ? semBiblioteca(a.texto, escolha.procurados)
                    : recusa(escolha.caminho, escolha.procurados,
                             QStringLiteral("uma biblioteca que o sistema carregue: ") + a.texto);
            break;
        case Tipo::SemFuncao:
            texto = recusa(escolha.caminho, escolha.procurados,
                           QStringLiteral("a função %1").arg(a.texto));
            break;
        default:
            texto = recusa(escolha.caminho, escolha.procurados,
                           QStringLiteral("uma biblioteca que carregue sem erro: ") + a.texto);
    }
    throw DllSat::ErroCarga(texto.toStdString());
}
}  // namespace

std::unique_ptr<DllSat> DllSat::carregar(const EscolhaBiblioteca& escolha) {
    if (!escolha.porBusca && !QFileInfo::exists(escolha.caminho))
        throw ErroCarga(
            semBiblioteca(QStringLiteral("o arquivo %1 não existe").arg(escolha.caminho),
                          escolha.procurados)
                .toStdString());
    auto canal = std::make_unique<CanalAuxiliar>(ProcessoAuxiliar::programa(escolha.caminho),
                                                 escolha.caminho);
    const CanalAuxiliar::Abertura aberta = canal->abrir();
    if (aberta.tipo != CanalAuxiliar::Abertura::Tipo::Pronta) recusar(escolha, aberta);
    // The file actually loaded, wherever the platform's search found it.
    const QString caminho = QDir::toNativeSeparators(
        aberta.texto.isEmpty() ? escolha.caminho : QFileInfo(aberta.texto).absoluteFilePath());
    return std::make_unique<DllSat>(std::move(canal), caminho, escolha.procurados);
}

std::unique_ptr<DllSat> DllSat::carregarDe(const QString& caminho) {
    return carregar({caminho, {caminho}, false});
}

DllSat::DllSat(std::unique_ptr<CanalDispositivo> canal, const QString& caminho,
               const QStringList& procurados)
    : m_canal(std::move(canal)),
      m_caminho(caminho),
      m_procurados(procurados),
      m_emulado(ehEmulador(caminho)) {
    QString erro;
    m_limiteGeral = tempoLimiteDoAmbiente(&erro);
    if (!erro.isEmpty()) std::fprintf(stderr, "tool-sat-tivoro: %s\n", qPrintable(erro));
}

DllSat::~DllSat() = default;

int DllSat::tempoLimite(sat::Funcao funcao) const {
    return m_limiteGeral ? *m_limiteGeral : tempoLimitePadrao(funcao);
}

namespace {
QString nomeDe(sat::Funcao f) {
    return QString::fromLatin1(sat::info(f).nome);
}

// The device's own busy reply, in the function's layout.
QString ocupado(sat::Funcao f, int sessao) {
    const sat::InfoFuncao& i = sat::info(f);
    return QStringLiteral("%1|%2%3|SAT em processamento. Tente novamente.||")
        .arg(sessao)
        .arg(i.codigo * 1000 + 98, 5, 10, QLatin1Char('0'))
        .arg(i.comDetalhe ? QStringLiteral("|0000") : QString());
}

// For a call whose reply was lost on the way.
QString desconhecido(sat::Funcao f) {
    if (!mudaDispositivo(f)) return {};
    return QStringLiteral(
               "\n\nO resultado de %1 é desconhecido: o SAT pode ter feito a operação. "
               "Consulte o status operacional do SAT antes de repeti-la.")
        .arg(nomeDe(f));
}

QString depois(sat::Funcao f) {
    return QStringLiteral("\nA próxima chamada carrega a biblioteca de novo.") + desconhecido(f);
}

// The reply the caller gets, and the box's text when the library failed.
struct Leitura {
    QString resposta;
    QString falha;
};

Leitura ler(const Desfecho& d, sat::Funcao f, int limite) {
    switch (d.tipo) {
        case Desfecho::Tipo::Resposta:
            return {d.bytes.isEmpty() ? DllSat::SemResposta : DllSat::deWin1252(d.bytes), {}};
        case Desfecho::Tipo::Nula:
            return {DllSat::SemResposta, {}};
        case Desfecho::Tipo::Grande: {
            const QString t = QStringLiteral(
                                  "a biblioteca devolveu a %1 uma resposta de %2 bytes, acima do "
                                  "limite de %3 bytes; a resposta foi descartada")
                                  .arg(nomeDe(f), d.detalhe)
                                  .arg(sat::LimiteResposta);
            return {t, t + '.' + desconhecido(f)};
        }
        case Desfecho::Tipo::Prazo:
            return {QStringLiteral("TIMEOUT"),
                    QStringLiteral("A biblioteca do fabricante não respondeu a %1 em %2 s, o "
                                   "limite desta função, e foi encerrada.")
                            .arg(nomeDe(f))
                            .arg(limite) +
                        depois(f) +
                        QStringLiteral("\n\nPara um SAT mais lento, aumente o limite: "
                                       "SAT_TEMPO_LIMITE=SEGUNDOS.")};
        case Desfecho::Tipo::Terminou: {
            const QString t = QStringLiteral("a biblioteca do fabricante terminou com %1 em %2")
                                  .arg(d.detalhe, nomeDe(f));
            return {t, t + '.' + depois(f)};
        }
        case Desfecho::Tipo::NaoRecarrega: {
            const QString t = QStringLiteral(
                                  "a biblioteca do fabricante não pôde ser carregada de novo para "
                                  "%1: %2")
                                  .arg(nomeDe(f), d.detalhe);
            return {t, t};
        }
    }
    return {DllSat::SemResposta, {}};
}
}  // namespace

QString DllSat::chamar(sat::Funcao funcao, std::vector<sat::Argumento> argumentos) {
    bool livre = false;
    if (!m_ocupado.compare_exchange_strong(livre, true))
        return ocupado(funcao, argumentos.front().inteiro);
    EsperaDispositivo* espera = m_espera.load();
    if (espera) espera->comecar();
    const int limite = tempoLimite(funcao);
    const Desfecho d = m_canal->chamar({funcao, std::move(argumentos)}, limite * 1000, [espera] {
        if (espera) espera->aguardar();
    });
    m_ocupado = false;
    const Leitura l = ler(d, funcao, limite);
    if (espera) {
        espera->terminar();
        if (!l.falha.isEmpty()) espera->falhou(l.falha);
    }
    return l.resposta;
}

QString DllSat::ConsultarSAT(int sessao) {
    return chamar(sat::Funcao::ConsultarSAT, {inteiro(sessao)});
}

QString DllSat::ConsultarStatusOperacional(int sessao, const QString& codigo) {
    return chamar(sat::Funcao::ConsultarStatusOperacional, {inteiro(sessao), texto(codigo)});
}

QString DllSat::ConsultarNumeroSessao(int sessao, const QString& codigo, int sessaoConsultada) {
    return chamar(sat::Funcao::ConsultarNumeroSessao,
                  {inteiro(sessao), texto(codigo), inteiro(sessaoConsultada)});
}

QString DllSat::AtivarSAT(int sessao, int subComando, const QString& codigo, const QString& cnpj,
                          int uf) {
    return chamar(sat::Funcao::AtivarSAT,
                  {inteiro(sessao), inteiro(subComando), texto(codigo), texto(cnpj), inteiro(uf)});
}

QString DllSat::AssociarAssinatura(int sessao, const QString& codigo, const QString& cnpjs,
                                   const QString& assinatura) {
    return chamar(sat::Funcao::AssociarAssinatura,
                  {inteiro(sessao), texto(codigo), texto(cnpjs), texto(assinatura)});
}

QString DllSat::TesteFimAFim(int sessao, const QString& codigo, const QByteArray& documento) {
    return chamar(sat::Funcao::TesteFimAFim, {inteiro(sessao), texto(codigo), texto(documento)});
}

QString DllSat::EnviarDadosVenda(int sessao, const QString& codigo, const QByteArray& documento) {
    return chamar(sat::Funcao::EnviarDadosVenda,
                  {inteiro(sessao), texto(codigo), texto(documento)});
}

QString DllSat::CancelarUltimaVenda(int sessao, const QString& codigo, const QString& chave,
                                    const QByteArray& documento) {
    return chamar(sat::Funcao::CancelarUltimaVenda,
                  {inteiro(sessao), texto(codigo), texto(chave), texto(documento)});
}

QString DllSat::ConfigurarInterfaceDeRede(int sessao, const QString& codigo,
                                          const QByteArray& documento) {
    return chamar(sat::Funcao::ConfigurarInterfaceDeRede,
                  {inteiro(sessao), texto(codigo), texto(documento)});
}

QString DllSat::TrocarCodigoDeAtivacao(int sessao, const QString& codigo, int opcao,
                                       const QString& novo, const QString& confirmacao) {
    return chamar(
        sat::Funcao::TrocarCodigoDeAtivacao,
        {inteiro(sessao), texto(codigo), inteiro(opcao), texto(novo), texto(confirmacao)});
}

QString DllSat::ExtrairLogs(int sessao, const QString& codigo) {
    return chamar(sat::Funcao::ExtrairLogs, {inteiro(sessao), texto(codigo)});
}

QString DllSat::AtualizarSoftwareSAT(int sessao, const QString& codigo) {
    return chamar(sat::Funcao::AtualizarSoftwareSAT, {inteiro(sessao), texto(codigo)});
}

QString DllSat::BloquearSAT(int sessao, const QString& codigo) {
    return chamar(sat::Funcao::BloquearSAT, {inteiro(sessao), texto(codigo)});
}

QString DllSat::DesbloquearSAT(int sessao, const QString& codigo) {
    return chamar(sat::Funcao::DesbloquearSAT, {inteiro(sessao), texto(codigo)});
}
