#pragma once

#include <QStringList>

// What starting the tool needs of the system it runs on, one file per system.
namespace partida {

// Where --help and the start's messages go: a Windows program without a
// console of its own writes to the one it was started from.
void ligarConsole();
// The command line, whatever the system's encoding of it.
QStringList argumentos(int argc, char** argv);
// Whether a display can be opened; when not, says so on standard error
// (what to do) and the tool ends. Past this point a display that does not
// answer is reported the same way (until telaAberta).
bool haTela();
void telaAberta();

}  // namespace partida
