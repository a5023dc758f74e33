// The automatic setup's own cost per device: whole bench cycles with every
// pause skipped, against the emulated device (latency 0) and against the
// scripted stand-in, whose replies take no time at all. Prints milliseconds
// per cycle: wall time, time in the skipped pauses and the operator's actions,
// and what is left, the tool's share (plus the emulated device's own work).
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <atomic>
#include <cstdio>
#include <functional>

#include "app/Aplicacao.h"
#include "core/Trabalhador.h"
#include "emulator/Controle.h"
#include "setup/SetupAtivacao.h"
#include "setup/TFormSetupAutom.h"
#include "tests/apoio/DialogosTeste.h"
#include "tests/setup/Roteiro.h"

namespace {
constexpr int Ciclos = 40;

// Skips every pause; the operator's actions run at the pauses the bench
// names, and their time is counted apart.
class RelogioBancada : public Relogio {
  public:
    std::function<void(int ms)> operador;
    void pausa(int ms) override {
        QElapsedTimer t;
        t.start();
        if (operador) operador(ms);
        m_ns += t.nsecsElapsed();
    }
    double ms() const { return m_ns / 1e6; }

  private:
    std::atomic<qint64> m_ns{0};
};

struct Resultado {
    double total, fora;
};

Resultado medir(const QString& dll, RelogioBancada& relogio,
                const std::function<void(Contexto&)>& preparar) {
    DialogosTeste dialogos;
    auto sat = DllSat::carregarDe(dll);
    Aplicacao app(*sat, dialogos, relogio);
    Contexto& ctx = app.contexto();
    preparar(ctx);
    auto* j = static_cast<TFormSetupAutom*>(app.janela(Janela::SetupAutom));
    j->findChild<QLineEdit*>("MskEdCNPJContr")->setText(QStringLiteral("11222333000181"));
    j->findChild<QLineEdit*>("MskEdCNPJSwHouse")->setText(QStringLiteral("16716114000172"));
    j->findChild<QLineEdit*>("EdCodAtivacao")->setText(QStringLiteral("bancada-123"));
    j->findChild<QPlainTextEdit*>("MemoSignac")->setPlainText(QString(344, QLatin1Char('A')));
    j->findChild<QComboBox*>("CBoxUF")->setCurrentIndex(24);
    QElapsedTimer t;
    t.start();
    const int execucao = ctx.estado.iniciarExecucaoSetup();
    ctx.estado.publicarEtapa(execucao, 1, QStringLiteral("SAT CONECTADO"));
    SetupAtivacao::iniciar(ctx, *j, execucao);
    while (Trabalhador::vivos() > 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QCoreApplication::processEvents();
    const double total = t.nsecsElapsed() / 1e6;
    // Only a run stopped after the last device measured whole cycles.
    if (ctx.estado.EtapaSetup().texto != QLatin1String("SAT PCONECTADO"))
        std::printf("ATENCAO: a bancada parou antes do fim (%d, %s)\n",
                    ctx.estado.EtapaSetup().numero, qPrintable(ctx.estado.EtapaSetup().texto));
    return {total / Ciclos, relogio.ms() / Ciclos};
}

void imprimir(const char* nome, const Resultado& r) {
    std::printf("%-34s %8.2f ms/ciclo  pausas+operador %6.2f  resto %6.2f\n", nome, r.total, r.fora,
                r.total - r.fora);
}
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QTemporaryDir pasta;
    qputenv("SAT_EMULADOR_DIR", pasta.path().toLocal8Bit());
    emulador::Controle sat(pasta.path().toStdString());
    sat.novo();
    sat.alterar([](emulador::Estado& e) { e.reinicioAposMs = 0; });

    // The emulated device: unplugged at the removal wait, the next one
    // plugged in at the insertion wait, the run stopped after the last one.
    RelogioBancada relogioEmulado;
    Contexto* atual = nullptr;
    int ciclos = 0;
    relogioEmulado.operador = [&](int ms) {
        const EstadoSessao::Etapa e = atual->estado.EtapaSetup();
        if (e.numero == 5 && ms == 2000 && sat.estado().conectado) sat.conectar(false);
        if (e.numero == 5 && ms == 5000 && !sat.estado().conectado) {
            ++ciclos;
            sat.proximo(0);
        }
        if (e.texto == QLatin1String("SAT PCONECTADO") && ciclos == Ciclos)
            atual->estado.pararExecucaoSetup();
    };
    imprimir("dispositivo emulado (latencia 0)",
             medir(DLLSAT_EMULADOR, relogioEmulado, [&](Contexto& ctx) { atual = &ctx; }));

    // The stand-in: the same replies, scripted, at no cost.
    RelogioBancada relogioFalso;
    std::unique_ptr<Roteiro> roteiro;
    imprimir("dispositivo roteirizado", medir(DLLSAT_TIVORO, relogioFalso, [&](Contexto& ctx) {
                 roteiro = std::make_unique<Roteiro>(DLLSAT_TIVORO, &ctx.estado);
                 QList<QByteArray> consultas;
                 for (int i = 0; i < Ciclos; ++i)
                     consultas << respostas::Conectado << respostas::Conectado << respostas::SemSat
                               << respostas::SemSat << respostas::Conectado;
                 roteiro->definir("ConsultarSAT", consultas);
                 roteiro->quando("ConsultarStatusOperacional", Ciclos,
                                 [&ctx] { ctx.estado.pararExecucaoSetup(); });
             }));
    return 0;
}
