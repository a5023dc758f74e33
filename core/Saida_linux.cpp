#include "core/Saida.h"

void escreverTexto(std::FILE* saida, const QString& texto) {
    std::fputs(texto.toLocal8Bit().constData(), saida);
    std::fflush(saida);
}
