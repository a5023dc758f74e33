#pragma once

#include <QString>
#include <QStringList>

// What the binding needs of the system it runs on, one file per system.
namespace sistema {

// The device library's file name on this system.
extern const char* const NomeBiblioteca;

// The folder of the running program.
QString pastaDoPrograma();

// Where a library's version information lies, as the messages name it.
extern const char* const LugarDaVersao;

// The same, in a few words for the command line's help.
extern const char* const ResumoDaBusca;

// Where the system's own search looks for a bare library name, after the
// program's folder, as the messages show it.
QStringList pastasDaBusca();

// The system's text for one of its error codes.
QString textoDoErro(unsigned long codigo);

// A library built for another processor needs a helper built for that one.
enum class Arquitetura { Desconhecida, X86, X64 };
Arquitetura arquiteturaBiblioteca(const QString& caminho);
// " (32 bits)" where one system hosts libraries of two architectures, else empty.
QString marcaArquitetura(const QString& caminho);

}  // namespace sistema
