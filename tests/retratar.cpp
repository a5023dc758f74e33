// Renders every window of the tool to a PNG file, through the real widgets on
// the offscreen platform, for the README and for reviewing layouts.
// Usage: retratar PASTA [BIBLIOTECA]
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextStream>
#include <QWidget>
#include <cstdio>

#include "tests/apoio/Bancada.h"

namespace {
int retratar(Bancada& bancada, const QDir& pasta) {
    int falhas = 0;
    for (int i = 0; i <= static_cast<int>(Janela::TesteFimaFim); ++i) {
        QWidget* w = bancada.janela(static_cast<Janela>(i));
        if (!w) continue;
        w->show();
        w->raise();
        // Let show handlers and queued control changes settle before the picture.
        for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
        const QString arquivo = pasta.filePath(w->objectName() + QStringLiteral(".png"));
        if (w->grab().save(arquivo)) {
            std::printf("%s\n", qPrintable(arquivo));
        } else {
            std::fprintf(stderr, "retratar: nao gravou %s\n", qPrintable(arquivo));
            ++falhas;
        }
        w->hide();
    }
    return falhas;
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "uso: retratar PASTA [BIBLIOTECA]\n");
        return 2;
    }
    const QDir pasta(args.at(1));
    if (!QDir().mkpath(pasta.path())) {
        std::fprintf(stderr, "retratar: nao criou %s\n", qPrintable(pasta.path()));
        return 1;
    }
    const QString biblioteca = args.size() > 2 ? args.at(2) : QStringLiteral(BIBLIOTECA_RETRATO);
    try {
        Bancada bancada(biblioteca);
        return retratar(bancada, pasta) == 0 ? 0 : 1;
    } catch (const DllSat::ErroCarga& erro) {
        std::fprintf(stderr, "retratar: %s\n", erro.what());
        return 1;
    }
}
