#pragma once

// The pictures are compiled into the tool's static library, where the linker
// keeps them only when something refers to them: call this once before the
// first window is built (the composition root does).
void iniciaRecursos();

// Qt's own texts (file dialogs, their buttons) in Brazilian Portuguese, when
// the system has Qt's translation. Once per application.
void carregaTraducaoQt();
