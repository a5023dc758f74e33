#include <cstdio>
#include <cstdlib>

#include "app/Partida.h"

namespace partida {
namespace {
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

void ligarConsole() {}

QStringList argumentos(int argc, char** argv) {
    QStringList lista;
    for (int i = 0; i < argc; ++i) lista << QString::fromLocal8Bit(argv[i]);
    return lista;
}

bool haTela() {
    auto vazio = [](const char* nome) {
        const char* valor = std::getenv(nome);
        return !valor || !*valor;
    };
    if (vazio("DISPLAY") && vazio("WAYLAND_DISPLAY") && vazio("QT_QPA_PLATFORM")) {
        avisarSemTela();
        return false;
    }
    mensagensAnteriores = qInstallMessageHandler(telaQueNaoResponde);
    return true;
}

void telaAberta() {
    qInstallMessageHandler(mensagensAnteriores);
}

}  // namespace partida
