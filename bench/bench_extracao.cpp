// An 8 MiB device log extracted into the queries window, end to end: from the
// click to the log shown and the controls back, and the longest time the
// window did not answer meanwhile.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/Trabalhador.h"
#ifdef DLLSAT_EMULADOR
#include "emulator/Controle.h"
#endif
#include "operations/TFormConsultas.h"
#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"

namespace {
QByteArray logDoDispositivo(qsizetype tamanho) {
    QByteArray log;
    log.reserve(tamanho + 128);
    for (int i = 0; log.size() < tamanho; ++i)
        log += "2026-12-08 06:15:25.123 [INFO ] modulo-" + QByteArray::number(i % 17) +
               ": evento " + QByteArray::number(i) + " processado, fila sem pend\xc3\xaancias\n";
    log.truncate(tamanho);
    return log;
}

struct Medida {
    double totalMs = 0;
    double primeiroTrechoMs = 0;
    double maiorParadaMs = 0;
    // Of all threads: on a busy machine the wall time grows, this much less.
    double cpuMs = 0;
};

Medida extrair(Bancada& b, TFormConsultas& janela) {
    // A timer that should tick every millisecond: its longest gap is the
    // longest time the window could not answer.
    QElapsedTimer relogio;
    double ultimo = 0, maiorParada = 0, primeiroTrecho = 0;
    const int blocosAntes = janela.log()->document()->blockCount();
    QTimer pulso;
    pulso.setInterval(1);
    QObject::connect(&pulso, &QTimer::timeout, [&] {
        const double agora = relogio.nsecsElapsed() / 1e6;
        maiorParada = std::max(maiorParada, agora - ultimo);
        ultimo = agora;
        // The TX line and the log's first piece.
        if (primeiroTrecho == 0 && janela.log()->document()->blockCount() > blocosAntes + 2)
            primeiroTrecho = agora;
    });
    const std::clock_t cpuAntes = std::clock();
    relogio.start();
    pulso.start();
    if (!b.clicar(Janela::Consultas, "BtExtrairLogs")) std::printf("sem clique\n");
    while (Trabalhador::vivos() > 0 ||
           !janela.findChild<QPushButton*>("BtExtrairLogs")->isEnabled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double total = relogio.nsecsElapsed() / 1e6;
    pulso.stop();
    const double cpu = double(std::clock() - cpuAntes) * 1000 / CLOCKS_PER_SEC;
    return {total, primeiroTrecho, std::max(maiorParada, total - ultimo), cpu};
}
void medir(const char* nome, const QString& dll, Via via) {
    Bancada b(dll, via);
    b.ctx().setCodigoAtivacao("12345678");
    auto& janela = *static_cast<TFormConsultas*>(b.janela(Janela::Consultas));
    janela.show();

    // The library call alone: what the window cannot speed up.
    double chamada = 1e9;
    qsizetype tamanhoResposta = 0;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        tamanhoResposta = b.ctx().dll.ExtrairLogs(1, "12345678").size();
        chamada = std::min(chamada, t.nsecsElapsed() / 1e6);
    }
    std::printf("%s: resposta de %.1f MiB; chamada da biblioteca sozinha %.0f ms\n", nome,
                tamanhoResposta / 1048576.0, chamada);
    for (int i = 1; i <= 3; ++i) {
        const Medida m = extrair(b, janela);
        std::printf(
            "  extracao %d: clique ate o log todo mostrado %.0f ms (da resposta: ~%.0f ms); "
            "primeiro trecho mostrado %.0f ms; maior parada da janela %.0f ms; CPU do processo "
            "%.0f ms; log com %d linhas\n",
            i, m.totalMs, m.totalMs - chamada, m.primeiroTrechoMs, m.maiorParadaMs, m.cpuMs,
            janela.log()->document()->blockCount());
        if (i == 2) janela.log()->clear();
    }
}

// Qt alone holding the same text, with no window, no device and no decoding:
// the floor under any way of showing the log.
void medirDocumento(const QByteArray& log) {
    const QString texto = QString::fromUtf8(log);
    double melhor = 1e9;
    for (int i = 0; i < 3; ++i) {
        QTextDocument documento;
        documento.setUndoRedoEnabled(false);
        QElapsedTimer t;
        t.start();
        QTextCursor(&documento).insertText(texto);
        melhor = std::min(melhor, t.nsecsElapsed() / 1e6);
    }
    std::printf("so o documento do Qt, sem janela: %.0f ms\n", melhor);
}
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype tamanho = qsizetype(8) << 20;
    const QByteArray log = logDoDispositivo(tamanho);
    // Kept loaded, with its reply, until the end.
    const DllSatFalsa falsa(DLLSAT_TIVORO);
    falsa.responder("1|15000|Transferencia completa|||" + log.toBase64());
    std::printf("log de %.1f MiB (%lld linhas)\n", log.size() / 1048576.0,
                static_cast<long long>(log.count('\n')));
    medirDocumento(log);
    medir("biblioteca substituta, no processo", DLLSAT_TIVORO, Via::NoProcesso);
#ifdef DLLSAT_EMULADOR
    QTemporaryDir pasta;
    qputenv("SAT_EMULADOR_DIR", QFile::encodeName(pasta.path()));
    emulador::Controle dispositivo(pasta.path().toStdString());
    dispositivo.novo();
    dispositivo.alterar([&](emulador::Estado& e) { e.tamanhoLog = tamanho; });
    // The helper's cost: the same device in this process and through it.
    medir("dispositivo emulado, no processo", CaminhoEmulador(), Via::NoProcesso);
    medir("dispositivo emulado, pelo sat-auxiliar", CaminhoEmulador(), Via::Auxiliar);
#endif
    return 0;
}
