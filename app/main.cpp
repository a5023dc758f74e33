#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "app/Aplicacao.h"
#include "app/Partida.h"
#include "core/Inicio.h"
#include "core/Trabalhador.h"
#include "shell/TFormCodAtivacao.h"
#include "ui/DialogosQt.h"
#include "ui/Recursos.h"

int main(int argc, char** argv) {
    // Read before the display is opened, so --help works without one.
    partida::ligarConsole();
    PedidoBiblioteca pedido;
    if (const auto saida = lerLinhaDeComando(partida::argumentos(argc, argv), pedido))
        return *saida;
    if (!partida::haTela()) return 2;
    QApplication app(argc, argv);
    partida::telaAberta();
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
