#pragma once

#include <QStringList>
#include <memory>
#include <optional>

#include "device/EscolhaBiblioteca.h"

class DllSat;
class PortaDialogos;

// The start-up's command line: which device library to open. --help and
// --version print to standard output; a mistake prints to standard error.
// A value means: end now with this status.
std::optional<int> lerLinhaDeComando(const QStringList& argumentos, PedidoBiblioteca& pedido);

// Opens the library asked for and says which one on standard error; a refusal
// goes to standard error and into an error box, and gives null.
std::unique_ptr<DllSat> abrirBiblioteca(const PedidoBiblioteca& pedido,
                                        const QString& pastaPrograma, PortaDialogos& dialogos);

// What goes wrong with the library (a refusal, a crash, a call past its
// limit), shown in an error box and printed to standard error alike.
void avisarDaBiblioteca(const QString& texto, PortaDialogos& dialogos);
