#include "app/Recursos.h"

#include <QtGlobal>

// Outside any namespace: the macro names a global function.
void IniciaRecursos() {
    Q_INIT_RESOURCE(imagens);
}
