#pragma once

#include <QPixmap>

// The four looks of a step of the setup's progress panel.
enum class Aparencia { Azul, Amarelo, Ok, Erro };

// The 20 by 20 picture of a step (1 to 6, in the panel's order).
QPixmap imagemEtapa(int passo, Aparencia aparencia);
