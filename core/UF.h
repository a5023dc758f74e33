#pragma once

#include <QStringList>

// The 27 state abbreviations, in the order of the state lists.
const QStringList& siglasUF();

// The IBGE code of the state at that index of siglasUF(); 35 outside 0..26.
int codigoUF(int indice);
