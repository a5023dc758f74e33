#pragma once

#include <QString>
#include <cstdio>

// Text for a person at a terminal (help, the start's messages), in whatever
// the terminal reads: a Windows console takes UTF-16, any other stream UTF-8.
void escreverTexto(std::FILE* saida, const QString& texto);
