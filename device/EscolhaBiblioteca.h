#pragma once

#include <QString>
#include <QStringList>

// Which device library the tool opens. A technician must never work on the
// emulated device by accident while a real one waits, so the emulator is
// opened only when asked for, and every message says where the tool looked.
struct PedidoBiblioteca {
    QString caminho;        // named on the command line
    bool emulador = false;  // the emulated device asked for
    QString variavel;       // SAT_BIBLIOTECA
};

struct EscolhaBiblioteca {
    // A path, or the bare file name when the platform's search decides.
    QString caminho;
    // Every place looked at, in order, as the messages show them.
    QStringList procurados;
    // Nothing was named: a miss means no library at all.
    bool porBusca = false;
};

// In this order: the path named, the emulated device, SAT_BIBLIOTECA, the
// program's own folder, the platform's search (LD_LIBRARY_PATH, then the
// system's folders).
EscolhaBiblioteca escolherBiblioteca(const PedidoBiblioteca& pedido, const QString& pastaPrograma);

// Where the emulated device lives beside a program in that folder.
QString pastaEmulador(const QString& pastaPrograma);

// "Procurada, nesta ordem: ..." lines for the messages.
QString descreveProcura(const QStringList& procurados);
// The file, what it lacks and where it was looked for: what every refusal of
// a library says, so that whoever installed it knows what to change.
QString descreveRecusa(const QString& caminho, const QString& falta, const QStringList& procurados);
