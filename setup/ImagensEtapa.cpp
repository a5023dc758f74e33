#include "setup/ImagensEtapa.h"

namespace {
const char* nomeAparencia(Aparencia aparencia) {
    switch (aparencia) {
        case Aparencia::Azul:
            return "azul";
        case Aparencia::Amarelo:
            return "amarelo";
        case Aparencia::Ok:
            return "ok";
        case Aparencia::Erro:
            return "erro";
    }
    return "";
}
}  // namespace

QPixmap imagemEtapa(int passo, Aparencia aparencia) {
    return QPixmap(QStringLiteral(":/imagens/etapa_%1_%2.png")
                       .arg(passo)
                       .arg(QLatin1String(nomeAparencia(aparencia))));
}
