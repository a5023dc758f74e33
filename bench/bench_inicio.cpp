// Start-up: from launch to the first window on screen (mapped by the X
// server), the tool against a bare Qt Widgets window, taking turns. Needs an
// X display: xvfb-run -a bench_inicio.
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/Mediana.h"

namespace {
constexpr int Rodadas = 9;

// Milliseconds from the launch to the first top-level window mapped, or -1.
double ateMapear(xcb_connection_t* x, const QString& programa, const QProcessEnvironment& amb) {
    QProcess processo;
    processo.setProcessEnvironment(amb);
    processo.setStandardOutputFile(QProcess::nullDevice());
    processo.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    processo.start(programa, {});
    double ms = -1;
    while (ms < 0 && t.elapsed() < 20000) {
        std::unique_ptr<xcb_generic_event_t, decltype(&free)> evento(xcb_wait_for_event(x), &free);
        if (!evento) break;
        if ((evento->response_type & 0x7F) == XCB_MAP_NOTIFY) ms = t.nsecsElapsed() / 1e6;
    }
    processo.kill();
    processo.waitForFinished();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "sem tela X: rode com xvfb-run -a %s\n", argv[0]);
        return 2;
    }
    xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mascara = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, tela->root, XCB_CW_EVENT_MASK, &mascara);
    xcb_flush(x);

    // The emulated device in a folder of its own.
    QTemporaryDir estado;
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.insert("SAT_EMULADOR_DIR", estado.path());
    amb.insert("QT_QPA_PLATFORM", "xcb");
    std::vector<double> tool, nua;
    for (int i = 0; i < Rodadas; ++i) {
        nua.push_back(ateMapear(x, QStringLiteral(JANELA_NUA), amb));
        tool.push_back(ateMapear(x, QStringLiteral(TOOL_SAT), amb));
    }
    const double mTool = mediana(tool), mNua = mediana(nua);
    std::printf("do lancamento a janela na tela, mediana de %d rodadas alternadas\n", Rodadas);
    std::printf("  janela nua do Qt (rotulo, campo, botao)  %6.0f ms (melhor %.0f)\n", mNua,
                *std::min_element(nua.begin(), nua.end()));
    std::printf("  tool-sat-tivoro, janela inicial          %6.0f ms (melhor %.0f)\n", mTool,
                *std::min_element(tool.begin(), tool.end()));
    std::printf("  razao tool/nua: %.2fx\n", mTool / mNua);
    xcb_disconnect(x);
    return 0;
}
