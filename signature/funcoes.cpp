#include "signature/funcoes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <stdexcept>

#include "core/Arquivos.h"
#include "core/Portas.h"
#include "core/Respostas.h"
#include "signature/PlataformaAssinatura.h"
#include "ui/CursorOcupado.h"

namespace {
const QString PrefixoPasta = QStringLiteral("tool-sat-assinatura-");
const QString Cnpjs = QStringLiteral("cnpjs.txt");
const QString Pfx = QStringLiteral("certificado.pfx");
const QString Retorno = QStringLiteral("retorno.txt");
const QString Pem = QStringLiteral("certificado.pem");
const QString Bin = QStringLiteral("assinatura.bin");
const QString Base64 = QStringLiteral("assinatura.txt");
// A PKCS#12 file holds a few kilobytes; nothing past a megabyte is one.
constexpr qint64 LimiteCertificado = qint64(1024) * 1024;
// The pipeline's own files, in the order they are removed.
const QStringList ArquivosPipeline{Base64, Bin, Pem, Pfx, Retorno};

// What both OpenSSL generations print when the certificate cannot be read.
const QStringList AvisosArquivoAusente{TextoArquivoAusente, QStringLiteral("Could not open file"),
                                       QStringLiteral("Can't open ")};
const QStringList AvisosSenhaErrada{TextoSenhaErrada, QStringLiteral("mac verify failure")};

void apagar(const QString& pasta, const QStringList& nomes) {
    for (const QString& nome : nomes)
        if (QFile::exists(pasta + nome)) QFile::remove(pasta + nome);
}

// Removes the folder's work files however the run ends.
struct Limpeza {
    QString pasta;
    ~Limpeza() { LimparArquivosTemporarios(pasta); }
};

// The work folders of runs whose process is gone (a run killed mid-way): the
// folder name carries the process id. A live process's folder, a link or a
// folder of another user is never touched.
void removerAbandonadas(const QString& base) {
    static const QRegularExpression nome('^' + PrefixoPasta + QStringLiteral("(\\d+)-"));
    const QDir dir(base);
    for (const QString& entrada : dir.entryList({PrefixoPasta + '*'}, QDir::Dirs | QDir::Hidden)) {
        const QRegularExpressionMatch m = nome.match(entrada);
        const qint64 pid = m.hasMatch() ? m.captured(1).toInt() : 0;
        const QString caminho = dir.filePath(entrada);
        if (pastaAbandonada(caminho, pid)) QDir(caminho).removeRecursively();
    }
}

struct Execucao {
    enum class Fim { Terminou, NaoIniciou, NaoTerminou } fim = Fim::Terminou;
    int codigo = -1;
    QString erro;
};

// One openssl run, standard output and error together into `saida`, the
// password (when given) on standard input only.
Execucao executar(const QString& programa, const QStringList& argumentos, const QString& saida,
                  const QByteArray& entrada, int limiteMs) {
    const CursorOcupado ocupado;
    // Qt waits forever on a negative bound.
    limiteMs = std::max(limiteMs, 1);
    QProcess processo;
    ArvoreOpenssl arvore(processo);
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.setStandardOutputFile(saida);
    if (entrada.isNull()) processo.setStandardInputFile(QProcess::nullDevice());
    processo.start(programa, argumentos);
    Execucao r;
    if (!processo.waitForStarted(limiteMs)) {
        r.fim = Execucao::Fim::NaoIniciou;
        r.erro = processo.errorString();
        processo.kill();
        processo.waitForFinished(1000);
        return r;
    }
    arvore.liberar();
    if (!entrada.isNull()) {
        processo.write(entrada);
        processo.closeWriteChannel();
    }
    if (!processo.waitForFinished(limiteMs)) {
        r.fim = Execucao::Fim::NaoTerminou;
        arvore.encerrar();
        processo.kill();
        processo.waitForFinished(1000);
        return r;
    }
    r.codigo = processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1;
    return r;
}

QString segundos(int ms) {
    return QString::number(ms / 1000.0, 'g', 4);
}

struct Pipeline {
    const QString& pasta;
    const QString& certificado;
    const QString& senha;
    const AmbienteAssinatura& amb;
    QString openssl;
    RotaDaChave chave;

    // The unencrypted key must not wait on disk while the user reads a box.
    void avisar(const QString& mensagem) {
        LimparArquivosTemporarios(pasta);
        amb.dialogos.erro(mensagem);
    }

    // The text of a failure of ours: shown at once, and returned as a result
    // in the shape of a file that was read.
    ResultadoAssinatura falha(const QString& mensagem) {
        avisar(mensagem);
        return {' ' + mensagem, false};
    }

    // Runs one step; the text says why it could not run or finish.
    QString rodar(const QString& etapa, const QStringList& argumentos, const QString& saida,
                  const QByteArray& entrada, int* codigo) {
        const Execucao e = executar(openssl, argumentos, saida, entrada, amb.limiteMs);
        *codigo = e.codigo;
        if (e.fim == Execucao::Fim::NaoIniciou)
            return QStringLiteral("O programa openssl (") + openssl +
                   QStringLiteral(") não pôde ser iniciado: ") + e.erro;
        if (e.fim == Execucao::Fim::NaoTerminou)
            return QStringLiteral("O openssl não terminou de ") + etapa + QStringLiteral(" em ") +
                   segundos(amb.limiteMs) +
                   QStringLiteral(" s e foi interrompido: a assinatura não foi gerada.");
        return {};
    }

    QStringList conversao(bool legado) const {
        QStringList a{QStringLiteral("pkcs12")};
        if (legado) a << QStringLiteral("-legacy");
        a << "-in" << pasta + Pfx << "-out" << pasta + Pem << chave.escrita() << "-passin"
          << "stdin";
        return a;
    }

    ResultadoAssinatura executarTudo();
    ResultadoAssinatura converter();
    ResultadoAssinatura assinar();
};

// Both generations' complaints become the texts the callers look for.
QString comTextosConhecidos(const QString& saida, const QString& certificado) {
    auto algum = [&](const QStringList& avisos) {
        return std::any_of(avisos.begin(), avisos.end(),
                           [&](const QString& a) { return saida.contains(a); });
    };
    if (algum(AvisosSenhaErrada) && !saida.contains(TextoSenhaErrada))
        return ' ' + TextoSenhaErrada + saida;
    if (algum(AvisosArquivoAusente) && !saida.contains(TextoArquivoAusente))
        return ' ' + TextoArquivoAusente + ' ' + certificado + saida;
    return saida;
}

ResultadoAssinatura Pipeline::converter() {
    // A copy that cannot be made is the certificate that is not there. Only a
    // regular file is read: a pipe would hold the window for ever.
    const ResultadoArquivo lido = lerArquivoComum(certificado, LimiteCertificado);
    QFile copia(pasta + Pfx);
    if (lido.falha != ResultadoArquivo::Falha::Nenhuma ||
        !copia.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        copia.write(lido.dados) != lido.dados.size() || !copia.flush())
        return {' ' + TextoArquivoAusente + ' ' + certificado, false};
    copia.close();
    const QByteArray entrada = senha.toLocal8Bit() + '\n' + chave.entradaDaEscrita();
    int codigo = -1;
    QString problema = rodar(QStringLiteral("converter o certificado"), conversao(false),
                             pasta + Retorno, entrada, &codigo);
    if (!problema.isEmpty()) return falha(problema);
    QString saida = LerArquivoTexto(pasta + Retorno, amb.dialogos);
    // OpenSSL 3 refuses the RC2 of many A1 certificates without its legacy
    // provider.
    if (codigo != 0 && saida.contains(QLatin1String("unsupported"))) {
        problema = rodar(QStringLiteral("converter o certificado"), conversao(true),
                         pasta + Retorno, entrada, &codigo);
        if (!problema.isEmpty()) return falha(problema);
        saida = LerArquivoTexto(pasta + Retorno, amb.dialogos);
    }
    if (codigo == 0) return {saida, true};
    saida = comTextosConhecidos(saida, certificado);
    if (saida.contains(TextoArquivoAusente) || saida.contains(TextoSenhaErrada))
        return {saida, false};
    avisar(QStringLiteral("O openssl não conseguiu converter o certificado:") + saida);
    return {saida, false};
}

ResultadoAssinatura Pipeline::assinar() {
    QByteArray entrada = chave.entradaDaLeitura(pasta + Pem);
    int codigo = -1;
    QString problema = rodar(QStringLiteral("assinar os CNPJs"),
                             QStringList{"dgst", "-sha256"} << chave.leitura(pasta + Pem) << "-out"
                                                            << pasta + Bin << pasta + Cnpjs,
                             pasta + Retorno, entrada, &codigo);
    entrada.fill(0);
    if (problema.isEmpty() && codigo == 0)
        problema = rodar(QStringLiteral("codificar a assinatura"),
                         {"enc", "-base64", "-in", pasta + Bin, "-out", pasta + Base64},
                         pasta + Retorno, QByteArray(), &codigo);
    if (!problema.isEmpty()) return falha(problema);
    const QString assinatura = LerArquivoTexto(pasta + Base64, amb.dialogos);
    if (codigo == 0 && !assinatura.trimmed().isEmpty()) return {assinatura, true};
    const QString saida = LerArquivoTexto(pasta + Retorno, amb.dialogos);
    avisar(QStringLiteral("O openssl não conseguiu assinar os CNPJs:") + saida);
    return {saida, false};
}

ResultadoAssinatura Pipeline::executarTudo() {
    apagar(pasta, ArquivosPipeline);
    if (!QFileInfo(pasta + Cnpjs).isFile())
        return falha(QStringLiteral("O arquivo dos CNPJs a assinar não foi encontrado: ") + pasta +
                     Cnpjs);
    openssl = programaOpenssl();
    if (openssl.isEmpty()) return falha(avisoOpensslAusente());
    const ResultadoAssinatura conversao = converter();
    if (!conversao.gerada) return conversao;
    return assinar();
}

ResultadoAssinatura gerar(const QString& pasta, const QString& certificado, const QString& senha,
                          const AmbienteAssinatura& amb) {
    const Limpeza limpeza{pasta};
    Pipeline pipeline{pasta, certificado, senha, amb, {}, {}};
    try {
        return pipeline.executarTudo();
    } catch (const std::exception& e) {
        return pipeline.falha(QString::fromUtf8(e.what()));
    }
}
}  // namespace

QString PastaTemporaria(QString* motivo) {
    QStringList tentativas;
    for (const BaseTemporaria& base : basesTemporarias()) {
        if (base.pasta.isEmpty()) continue;
        const QString problema = problemaDaBase(base);
        if (!problema.isEmpty()) {
            tentativas << base.pasta + " (" + problema + ')';
            continue;
        }
        removerAbandonadas(base.pasta);
        QTemporaryDir pasta(base.pasta + '/' + PrefixoPasta +
                            QString::number(QCoreApplication::applicationPid()) +
                            QStringLiteral("-XXXXXX"));
        if (pasta.isValid() && tornarPrivada(pasta.path())) {
            pasta.setAutoRemove(false);
            return pasta.path() + '/';
        }
        tentativas << base.pasta + " (" + pasta.errorString() + ')';
    }
    if (motivo) *motivo = tentativas.join(QStringLiteral(" nem em "));
    return {};
}

qint64 TamanhoArquivo(const QString& caminho) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly)) return -1;
    return arquivo.size();
}

void GravarArquivoTexto(const QString& caminho, const QString& texto) {
    if (QFile::exists(caminho) && !QFile::remove(caminho))
        throw std::runtime_error(
            QString(QStringLiteral("Não foi possível apagar ") + caminho).toStdString());
    QFile arquivo(caminho);
    const QByteArray dados = aparado(texto).toLocal8Bit();
    if (!arquivo.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        arquivo.write(dados) != dados.size() || !arquivo.flush())
        throw std::runtime_error(QString(QStringLiteral("Não foi possível gravar ") + caminho +
                                         ": " + arquivo.errorString())
                                     .toStdString());
}

bool AguardarArquivo(const QString& caminho, const AmbienteAssinatura& amb) {
    for (int esperado = 0; TamanhoArquivo(caminho) <= 0; esperado += 100) {
        if (esperado >= amb.limiteMs) return false;
        amb.relogio.pausa(100);
    }
    return true;
}

QString LerArquivoTexto(const QString& caminho, PortaDialogos& dialogos) {
    QFile arquivo(caminho);
    if (!arquivo.exists()) return {};
    if (!arquivo.open(QIODevice::ReadOnly)) {
        dialogos.mensagem(PortaDialogos::Icone::Nenhum,
                          QStringLiteral("Erro na abertura do arquivo !!!"));
        return {};
    }
    QString texto;
    while (!arquivo.atEnd()) {
        QByteArray linha = arquivo.readLine();
        if (linha.endsWith('\n')) linha.chop(1);
        if (linha.endsWith('\r')) linha.chop(1);
        texto += ' ' + QString::fromLocal8Bit(linha);
    }
    return texto;
}

void LimparArquivosTemporarios(const QString& pasta) {
    apagar(pasta, ArquivosPipeline);
    apagar(pasta, {Cnpjs});
    // Only a folder of ours goes with its files: never the temporary folder
    // itself, whatever a caller passes.
    QDir propria(pasta);
    if (propria.dirName().startsWith(PrefixoPasta) && propria.exists()) propria.removeRecursively();
}

QString GerarAssinatura(const QString& pasta, const QString& certificado, const QString& senha,
                        const AmbienteAssinatura& amb) {
    return gerar(pasta, certificado, senha, amb).texto;
}

ResultadoAssinatura gerarAssinaturaCnpjs(const QString& cnpjSoftwareHouse,
                                         const QString& cnpjContribuinte,
                                         const QString& certificado, const QString& senha,
                                         const AmbienteAssinatura& amb) {
    const QString dados = cnpjSoftwareHouse + cnpjContribuinte;
    if (aparado(dados).isEmpty()) {
        amb.dialogos.erro(QStringLiteral("Não há CNPJs a assinar."));
        return {};
    }
    QString motivo;
    const QString pasta = PastaTemporaria(&motivo);
    if (pasta.isEmpty()) {
        amb.dialogos.erro(QStringLiteral("Não foi possível criar a pasta de trabalho da assinatura "
                                         "em ") +
                          motivo + '.');
        return {};
    }
    try {
        GravarArquivoTexto(pasta + Cnpjs, dados);
    } catch (const std::exception& e) {
        LimparArquivosTemporarios(pasta);
        amb.dialogos.erro(QString::fromUtf8(e.what()));
        return {};
    }
    AguardarArquivo(pasta + Cnpjs, amb);
    const ResultadoAssinatura resultado = gerar(pasta, certificado, senha, amb);
    if (resultado.texto.contains(TextoArquivoAusente))
        amb.dialogos.erro(QStringLiteral("Certificado não encontrado!"));
    else if (resultado.texto.contains(TextoSenhaErrada))
        amb.dialogos.erro(QStringLiteral("Senha invalida!"));
    return resultado;
}
