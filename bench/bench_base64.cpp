// DecodificarBase64 against `base64 -d` of coreutils on the same input.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>

#include "operations/ConverBase64.h"

namespace {
constexpr int Rodadas = 5;

// The best of a few runs, in seconds.
template <typename F>
double melhor(F&& f) {
    double menor = 1e9;
    for (int i = 0; i < Rodadas; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        menor = std::min(menor, t.nsecsElapsed() / 1e9);
    }
    return menor;
}

void medir(qsizetype tamanhoTexto) {
    QByteArray bytes(tamanhoTexto / 4 * 3, Qt::Uninitialized);
    QRandomGenerator gerador(470);
    gerador.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    const QByteArray texto = bytes.toBase64();
    QTemporaryFile arquivo;
    if (!arquivo.open() || arquivo.write(texto) != texto.size() || !arquivo.flush()) {
        std::fprintf(stderr, "sem arquivo temporario\n");
        return;
    }
    qsizetype decodificados = 0;
    const double nosso = melhor([&] { decodificados = DecodificarBase64(texto).size(); });
    const QString texto16 = QString::fromLatin1(texto);
    const double nosso16 = melhor([&] { decodificados = DecodificarBase64(texto16).size(); });
    bool ok = decodificados == bytes.size();
    const double coreutils = melhor([&] {
        QProcess base64;
        base64.setStandardInputFile(arquivo.fileName());
        base64.setStandardOutputFile(QProcess::nullDevice());
        base64.start("base64", {"-d"});
        ok = base64.waitForFinished(-1) && base64.exitCode() == 0 && ok;
    });
    const double mb = texto.size() / 1048576.0;
    std::printf(
        "entrada %.0f MiB de Base64 (%.0f MiB decodificados)%s\n"
        "  DecodificarBase64 (bytes)  %7.1f ms  %7.0f MiB/s\n"
        "  DecodificarBase64 (QString)%7.1f ms  %7.0f MiB/s\n"
        "  base64 -d (coreutils)      %7.1f ms  %7.0f MiB/s\n"
        "  razao coreutils/nosso: %.2fx (bytes), %.2fx (QString)\n",
        mb, bytes.size() / 1048576.0, ok ? "" : "  FALHOU", nosso * 1e3, mb / nosso, nosso16 * 1e3,
        mb / nosso16, coreutils * 1e3, mb / coreutils, coreutils / nosso, coreutils / nosso16);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("melhor de %d rodadas\n", Rodadas);
    medir((qsizetype(8) << 20) / 3 * 4);  // a device log of 8 MiB
    medir(qsizetype(64) << 20);
    return 0;
}
