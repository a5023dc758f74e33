// Prints how long gerarAssinaturaCnpjs takes next to the three openssl
// commands it runs, run back to back by hand on the same certificate.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/Mediana.h"
#include "signature/funcoes.h"
#include "ui/DialogosQt.h"

namespace {
class DialogosSaida : public PortaDialogos {
  public:
    void mensagem(Icone, const QString& texto) override {
        std::fprintf(stderr, "caixa: %s\n", qPrintable(texto));
    }
    QString abrirArquivo(const Arquivo&) override { return {}; }
    QString salvarArquivo(const Arquivo&) override { return {}; }
    void abrirEndereco(const QUrl&) override {}
};

bool rodar(const QString& openssl, const QString& pasta, const QStringList& argumentos,
           const QByteArray& entrada = {}) {
    QProcess p;
    p.setWorkingDirectory(pasta);
    p.start(openssl, argumentos);
    if (!entrada.isEmpty()) p.write(entrada);
    p.closeWriteChannel();
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rodadas = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    const QString openssl = QStandardPaths::findExecutable("openssl");
    QTemporaryDir pasta;
    if (openssl.isEmpty() || !pasta.isValid()) return 1;
    const QString p = pasta.path();
    if (!rodar(openssl, p,
               {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "k.pem", "-out",
                "c.pem", "-subj", "/CN=Bench", "-days", "2"}) ||
        !rodar(openssl, p,
               {"pkcs12", "-export", "-in", "c.pem", "-inkey", "k.pem", "-out", "cert.pfx",
                "-passout", "pass:segredo"}))
        return 1;
    QFile dados(p + "/cnpjs.txt");
    if (!dados.open(QIODevice::WriteOnly)) return 1;
    dados.write("1122233300018161099008000141");
    dados.close();

    DialogosSaida dialogos;
    RelogioReal relogio;
    const AmbienteAssinatura amb{dialogos, relogio};
    std::vector<double> gerar, bare;
    QElapsedTimer t;
    for (int i = 0; i < rodadas; ++i) {
        t.start();
        const bool ok =
            rodar(openssl, p,
                  {"pkcs12", "-in", "cert.pfx", "-out", "certificado.pem", "-nodes", "-passin",
                   "stdin"},
                  "segredo\n") &&
            rodar(openssl, p,
                  {"dgst", "-sha256", "-sign", "certificado.pem", "-out", "assinatura.bin",
                   "cnpjs.txt"}) &&
            rodar(openssl, p,
                  {"enc", "-base64", "-in", "assinatura.bin", "-out", "assinatura.txt"});
        bare.push_back(t.nsecsElapsed() / 1e6);
        t.start();
        const ResultadoAssinatura r = gerarAssinaturaCnpjs("11222333000181", "61099008000141",
                                                           p + "/cert.pfx", "segredo", amb);
        gerar.push_back(t.nsecsElapsed() / 1e6);
        if (!ok || !r.gerada) return 2;
    }
    const double mg = mediana(gerar), mb = mediana(bare);
    QTextStream(stdout) << "rodadas: " << rodadas << "\n"
                        << "gerarAssinaturaCnpjs, mediana: " << mg << " ms\n"
                        << "tres openssl seguidos, mediana: " << mb << " ms\n"
                        << "razao: " << mg / mb << " (meta <= 1.5)\n";
    return 0;
}
