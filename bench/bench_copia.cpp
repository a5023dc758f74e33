// The whole 8 MiB device log, extracted into the queries window on the
// emulated device, copied and pasted as another program would: the time of
// each step on the GUI thread, which is the longest the window freezes.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>

#include "core/Trabalhador.h"
#include "operations/TFormConsultas.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DispositivoEmulado.h"

namespace {
double ms(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

// Copy, then what another program asking for the text costs this one.
void copiarEColar(const char* nome, QPlainTextEdit& log) {
    log.selectAll();
    QElapsedTimer t;
    t.start();
    log.copy();
    const double copia = ms(t);
    t.restart();
    const QMimeData* dados = QGuiApplication::clipboard()->mimeData();
    const QStringList formatos = dados->formats();
    const qsizetype colado = dados->text().size();
    const double colagem = ms(t);
    std::printf(
        "%s: %.1f MiB; copiar %.0f ms, colar noutro programa %.0f ms, total %.0f ms "
        "(formatos: %s)\n",
        nome, colado / 1048576.0, copia, colagem, copia + colagem, qPrintable(formatos.join(' ')));
}
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DispositivoEmulado dispositivo;
    dispositivo.novo();
    dispositivo.alterar([](emulador::Estado& e) { e.tamanhoLog = qsizetype(8) << 20; });
    Bancada b(CaminhoEmulador());
    b.ctx().setCodigoAtivacao("12345678");
    auto& janela = *static_cast<TFormConsultas*>(b.janela(Janela::Consultas));
    janela.show();
    b.clicar(Janela::Consultas, "BtExtrairLogs");
    while (Trabalhador::vivos() > 0 ||
           !janela.findChild<QPushButton*>("BtExtrairLogs")->isEnabled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    for (int i = 1; i <= 3; ++i) copiarEColar("log da janela de consultas", *janela.log());

    // Qt's own log view, for comparison, on a small piece: it turns the
    // selection into HTML and Markdown.
    QPlainTextEdit comum(janela.log()->toPlainText().left(256 * 1024));
    copiarEColar("QPlainTextEdit comum, 256 KiB", comum);
    return 0;
}
