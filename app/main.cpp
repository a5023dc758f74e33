#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/Aplicacao.h"
#include "app/Recursos.h"
#include "app/TFormCodAtivacao.h"
#include "app/Trabalhador.h"

namespace {
// Without a display Qt would abort with a toolkit message; say what to do.
bool semTela() {
    auto vazio = [](const char* nome) {
        const char* valor = std::getenv(nome);
        return !valor || !*valor;
    };
    return vazio("DISPLAY") && vazio("WAYLAND_DISPLAY") && vazio("QT_QPA_PLATFORM");
}
}  // namespace

int main(int argc, char** argv) {
    if (semTela()) {
        std::fprintf(stderr,
                     "tool-sat-tivoro: nenhuma tela gr\u00e1fica encontrada (DISPLAY vazio).\n"
                     "Numa m\u00e1quina sem tela, rode-o com: xvfb-run -a tool-sat-tivoro\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tool-sat-tivoro"));
    QApplication::setDesktopFileName(QStringLiteral("tool-sat-tivoro"));
    IniciaRecursos();

    std::unique_ptr<DllSat> dll;
    try {
        dll = DllSat::carregar(DllSat::pastasDoPrograma());
    } catch (const DllSat::ErroCarga& erro) {
        QMessageBox::critical(nullptr, QString::fromLatin1(TituloAplicacao),
                              QString::fromUtf8(erro.what()));
        return 1;
    }

    DialogosQt dialogos;
    RelogioReal relogio;
    Aplicacao aplicacao(*dll, dialogos, relogio);
    QObject::connect(&aplicacao.inicial(), &TFormCodAtivacao::encerrar, &app, &QApplication::quit);
    aplicacao.inicial().show();
    // Decoded once the start window is up: the window need not wait for it.
    QTimer::singleShot(
        0, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/imagens/icone.png"))); });
    return Trabalhador::encerrar(app.exec());
}
