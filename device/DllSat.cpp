#include "device/DllSat.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <array>

#include "device/EscolhaBiblioteca.h"
#include "device/VersaoArquivo.h"

namespace {

using Texto = const char*;
using FnSessao = Texto (*)(int);
using FnCodigo = Texto (*)(int, Texto);
using FnNumeroSessao = Texto (*)(int, Texto, int);
using FnAtivar = Texto (*)(int, int, Texto, Texto, int);
using FnCodigoDoisTextos = Texto (*)(int, Texto, Texto, Texto);
using FnCodigoTexto = Texto (*)(int, Texto, Texto);
using FnTrocar = Texto (*)(int, Texto, int, Texto, Texto);

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
class Arg {
  public:
    explicit Arg(const QByteArray& b) : m_b(b) {}
    explicit Arg(const QString& s) : m_b(DllSat::paraWin1252(s)) {}
    operator Texto() const { return m_b.isEmpty() ? nullptr : m_b.constData(); }

  private:
    QByteArray m_b;
};

// The reply as text; whoever waits is told before and after.
template <typename F, typename... Argumentos>
QString chamar(EsperaDispositivo* espera, F funcao, const Argumentos&... argumentos) {
    if (espera) espera->comecar();
    const char* resposta = funcao(argumentos...);
    QString texto = DllSat::deWin1252(resposta);
    if (espera) espera->terminar();
    return texto;
}

}  // namespace

struct DllSat::Funcoes {
    FnSessao ConsultarSAT;
    FnCodigo ConsultarStatusOperacional;
    FnNumeroSessao ConsultarNumeroSessao;
    FnAtivar AtivarSAT;
    FnCodigoDoisTextos AssociarAssinatura;
    FnCodigoTexto TesteFimAFim;
    FnCodigoTexto EnviarDadosVenda;
    FnCodigoDoisTextos CancelarUltimaVenda;
    FnCodigoTexto ConfigurarInterfaceDeRede;
    FnTrocar TrocarCodigoDeAtivacao;
    FnCodigo ExtrairLogs;
    FnCodigo AtualizarSoftwareSAT;
    FnCodigo BloquearSAT;
    FnCodigo DesbloquearSAT;
};

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
        .arg(QString::fromLatin1(DllSat::NomeArquivo), descreveProcura(procurados), motivo);
}
}  // namespace

std::unique_ptr<DllSat> DllSat::carregar(const EscolhaBiblioteca& escolha) {
    if (!escolha.porBusca && !QFileInfo::exists(escolha.caminho))
        throw ErroCarga(
            semBiblioteca(QStringLiteral("o arquivo %1 não existe").arg(escolha.caminho),
                          escolha.procurados)
                .toStdString());
    void* handle = dlopen(QFile::encodeName(escolha.caminho).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const QString motivo = QString::fromLocal8Bit(dlerror());
        throw ErroCarga((escolha.porBusca ? semBiblioteca(motivo, escolha.procurados)
                                          : recusa(escolha.caminho, escolha.procurados,
                                                   QStringLiteral("uma biblioteca que o sistema "
                                                                  "carregue: ") +
                                                       motivo))
                            .toStdString());
    }
    return std::unique_ptr<DllSat>(new DllSat(handle, escolha.caminho, escolha.procurados));
}

std::unique_ptr<DllSat> DllSat::carregarDe(const QString& caminho) {
    return carregar({caminho, {caminho}, false});
}

namespace {
template <typename F>
void resolver(void* handle, const char* nome, F& destino, const QString& caminho,
              const QStringList& procurados) {
    destino = reinterpret_cast<F>(dlsym(handle, nome));
    if (!destino) {
        dlclose(handle);
        throw DllSat::ErroCarga(
            recusa(caminho, procurados, QStringLiteral("a função %1").arg(nome)).toStdString());
    }
}

bool ehEmulador(const QString& caminho) {
    try {
        return textoArquivo(caminho, QStringLiteral("SpecialBuild")) ==
               QLatin1String("SAT EMULADO");
    } catch (const ErroSistemaOperacional&) {
        return false;
    }
}
}  // namespace

DllSat::DllSat(void* handle, const QString& caminho, const QStringList& procurados)
    : m_caminho(caminho), m_procurados(procurados), m_f(std::make_unique<Funcoes>()) {
#define SAT_RESOLVER(nome) resolver(handle, #nome, m_f->nome, caminho, procurados)
    SAT_RESOLVER(ConsultarSAT);
    SAT_RESOLVER(ConsultarStatusOperacional);
    SAT_RESOLVER(ConsultarNumeroSessao);
    SAT_RESOLVER(AtivarSAT);
    SAT_RESOLVER(AssociarAssinatura);
    SAT_RESOLVER(TesteFimAFim);
    SAT_RESOLVER(EnviarDadosVenda);
    SAT_RESOLVER(CancelarUltimaVenda);
    SAT_RESOLVER(ConfigurarInterfaceDeRede);
    SAT_RESOLVER(TrocarCodigoDeAtivacao);
    SAT_RESOLVER(ExtrairLogs);
    SAT_RESOLVER(AtualizarSoftwareSAT);
    SAT_RESOLVER(BloquearSAT);
    SAT_RESOLVER(DesbloquearSAT);
#undef SAT_RESOLVER
    // The file actually loaded, wherever the platform's search found it.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(m_f->ConsultarSAT), &info) && info.dli_fname)
        m_caminho = QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
    m_emulado = ehEmulador(m_caminho);
}

// Left loaded: a worker may still be inside a call while the program ends.
DllSat::~DllSat() = default;

QString DllSat::ConsultarSAT(int sessao) {
    return chamar(m_espera, m_f->ConsultarSAT, sessao);
}

QString DllSat::ConsultarStatusOperacional(int sessao, const QString& codigo) {
    return chamar(m_espera, m_f->ConsultarStatusOperacional, sessao, Arg(codigo));
}

QString DllSat::ConsultarNumeroSessao(int sessao, const QString& codigo, int sessaoConsultada) {
    return chamar(m_espera, m_f->ConsultarNumeroSessao, sessao, Arg(codigo), sessaoConsultada);
}

QString DllSat::AtivarSAT(int sessao, int subComando, const QString& codigo, const QString& cnpj,
                          int uf) {
    return chamar(m_espera, m_f->AtivarSAT, sessao, subComando, Arg(codigo), Arg(cnpj), uf);
}

QString DllSat::AssociarAssinatura(int sessao, const QString& codigo, const QString& cnpjs,
                                   const QString& assinatura) {
    return chamar(m_espera, m_f->AssociarAssinatura, sessao, Arg(codigo), Arg(cnpjs),
                  Arg(assinatura));
}

QString DllSat::TesteFimAFim(int sessao, const QString& codigo, const QByteArray& documento) {
    return chamar(m_espera, m_f->TesteFimAFim, sessao, Arg(codigo), Arg(documento));
}

QString DllSat::EnviarDadosVenda(int sessao, const QString& codigo, const QByteArray& documento) {
    return chamar(m_espera, m_f->EnviarDadosVenda, sessao, Arg(codigo), Arg(documento));
}

QString DllSat::CancelarUltimaVenda(int sessao, const QString& codigo, const QString& chave,
                                    const QByteArray& documento) {
    return chamar(m_espera, m_f->CancelarUltimaVenda, sessao, Arg(codigo), Arg(chave),
                  Arg(documento));
}

QString DllSat::ConfigurarInterfaceDeRede(int sessao, const QString& codigo,
                                          const QByteArray& documento) {
    return chamar(m_espera, m_f->ConfigurarInterfaceDeRede, sessao, Arg(codigo), Arg(documento));
}

QString DllSat::TrocarCodigoDeAtivacao(int sessao, const QString& codigo, int opcao,
                                       const QString& novo, const QString& confirmacao) {
    return chamar(m_espera, m_f->TrocarCodigoDeAtivacao, sessao, Arg(codigo), opcao, Arg(novo),
                  Arg(confirmacao));
}

QString DllSat::ExtrairLogs(int sessao, const QString& codigo) {
    return chamar(m_espera, m_f->ExtrairLogs, sessao, Arg(codigo));
}

QString DllSat::AtualizarSoftwareSAT(int sessao, const QString& codigo) {
    return chamar(m_espera, m_f->AtualizarSoftwareSAT, sessao, Arg(codigo));
}

QString DllSat::BloquearSAT(int sessao, const QString& codigo) {
    return chamar(m_espera, m_f->BloquearSAT, sessao, Arg(codigo));
}

QString DllSat::DesbloquearSAT(int sessao, const QString& codigo) {
    return chamar(m_espera, m_f->DesbloquearSAT, sessao, Arg(codigo));
}
