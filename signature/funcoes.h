#pragma once

#include <QByteArray>
#include <QString>

class PortaDialogos;
class Relogio;

// What the conversion says for a certificate it cannot read and for a wrong
// password, whichever OpenSSL generation ran: the texts the callers look for.
inline const QString TextoArquivoAusente = QStringLiteral("Error opening input file");
inline const QString TextoSenhaErrada = QStringLiteral("Mac verify error: invalid password?");

// What the signature pipeline needs from its caller: where to show its boxes,
// how to pause between probes, and how long one OpenSSL run may take.
struct AmbienteAssinatura {
    PortaDialogos& dialogos;
    Relogio& relogio;
    int limiteMs = 30000;
};

// The work folder of one generation: private (0700), made inside the user's
// temporary folder, else inside a folder of the user's own, its name carrying
// the process id; removed with everything in it by LimparArquivosTemporarios,
// or by a later run once the process is gone. Empty when it cannot be made,
// `motivo` then naming each folder tried and why.
QString PastaTemporaria(QString* motivo = nullptr);
// Size in bytes, or -1 when the file does not exist or cannot be opened.
qint64 TamanhoArquivo(const QString& caminho);
// Replaces the file by the text freed of surrounding blanks and control
// characters, without a line end. Throws std::runtime_error on failure.
void GravarArquivoTexto(const QString& caminho, const QString& texto);
// Waits until the file holds at least one byte; false when the bound is reached.
bool AguardarArquivo(const QString& caminho, const AmbienteAssinatura& amb);
// The lines of the file, each preceded by one blank; empty when it is missing.
QString LerArquivoTexto(const QString& caminho, PortaDialogos& dialogos);
void LimparArquivosTemporarios(const QString& pasta);
// The pipeline: the result text (signature lines, or what OpenSSL said).
QString GerarAssinatura(const QString& pasta, const QString& certificado, const QString& senha,
                        const AmbienteAssinatura& amb);

// The calling protocol both windows follow: CNPJ digits joined (software house
// first), the pipeline, and the error boxes for a missing certificate or a
// wrong password. `gerada` is true only when `texto` is a signature.
struct ResultadoAssinatura {
    QString texto;
    bool gerada = false;
};
ResultadoAssinatura gerarAssinaturaCnpjs(const QString& cnpjSoftwareHouse,
                                         const QString& cnpjContribuinte,
                                         const QString& certificado, const QString& senha,
                                         const AmbienteAssinatura& amb);
