#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/Aplicacao.h"
#include "core/Inicio.h"
#include "core/Trabalhador.h"
#include "shell/TFormCodAtivacao.h"
#include "ui/DialogosQt.h"
#include "ui/Recursos.h"

namespace {
// Without a display Qt would abort with a toolkit message; say what to do.
bool semTela() {
    auto vazio = [](const char* nome) {
        const char* valor = std::getenv(nome);
        return !valor || !*valor;
    };
    return vazio("DISPLAY") && vazio("WAYLAND_DISPLAY") && vazio("QT_QPA_PLATFORM");
}

void avisarSemTela() {
    std::fprintf(stderr,
                 "tool-sat-tivoro: nenhuma tela gráfica encontrada (DISPLAY vazio).\n"
                 "Numa máquina sem tela, rode-o com: xvfb-run -a tool-sat-tivoro\n");
}

// A display named but not answering ends the toolkit's start with a fatal
// message, which would abort with a core dump: give the same advice instead.
QtMessageHandler mensagensAnteriores = nullptr;
void telaQueNaoResponde(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (tipo != QtFatalMsg) return mensagensAnteriores(tipo, contexto, texto);
    avisarSemTela();
    std::_Exit(2);
}
}  // namespace

int main(int argc, char** argv) {
    // Read before the display is opened, so --help works without one.
    QStringList argumentos;
    for (int i = 0; i < argc; ++i) argumentos << QString::fromLocal8Bit(argv[i]);
    PedidoBiblioteca pedido;
    if (const auto saida = lerLinhaDeComando(argumentos, pedido)) return *saida;
    if (semTela()) {
        avisarSemTela();
        return 2;
    }
    mensagensAnteriores = qInstallMessageHandler(telaQueNaoResponde);
    QApplication app(argc, argv);
    qInstallMessageHandler(mensagensAnteriores);
    QApplication::setApplicationName(QStringLiteral("tool-sat-tivoro"));
    QApplication::setDesktopFileName(QStringLiteral("tool-sat-tivoro"));
    iniciaRecursos();

    DialogosQt dialogos;
    const auto dll = abrirBiblioteca(pedido, QApplication::applicationDirPath(), dialogos);
    if (!dll) return 1;
    RelogioReal relogio;
    Aplicacao aplicacao(*dll, dialogos, relogio);
    QObject::connect(&aplicacao.inicial(), &TFormCodAtivacao::encerrar, &app, &QApplication::quit);
    aplicacao.inicial().show();
    // Decoded once the start window is up: the window need not wait for it.
    QTimer::singleShot(
        0, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/imagens/icone.png"))); });
    return Trabalhador::encerrar(QApplication::exec());
}
