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
constexpr int Rodadas = 7;

// Seconds a run took.
template <typename F>
double tempo(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e9;
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
    const QString texto16 = QString::fromLatin1(texto);
    bool ok = true;
    auto conferir = [&](qsizetype decodificados) { ok = ok && decodificados == bytes.size(); };
    // The three take turns, so a busy machine slows them alike; the best of
    // each counts.
    double nosso = 1e9, nosso16 = 1e9, coreutils = 1e9;
    for (int i = 0; i < Rodadas; ++i) {
        nosso = std::min(nosso, tempo([&] { conferir(DecodificarBase64(texto).size()); }));
        nosso16 = std::min(nosso16, tempo([&] { conferir(DecodificarBase64(texto16).size()); }));
        coreutils = std::min(coreutils, tempo([&] {
                                 QProcess base64;
                                 base64.setStandardInputFile(arquivo.fileName());
                                 base64.setStandardOutputFile(QProcess::nullDevice());
                                 base64.start("base64", {"-d"});
                                 ok = base64.waitForFinished(-1) && base64.exitCode() == 0 && ok;
                             }));
    }
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
