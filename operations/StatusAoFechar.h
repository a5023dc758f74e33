#pragma once

class Contexto;

// What differs between the windows that close with an operational status
// query instead of the plain status refresh.
struct OpcoesStatusAoFechar {
    // RespostaSAT and the three slots emptied before the query.
    bool limparAntes = false;
    // "10000" ends the activation mode.
    bool conectadoEncerraModoAtivacao = false;
    // A device off its port sends a user still in activation mode back to the
    // start window instead of the main window.
    bool semPortaEmAtivacaoVaiAoInicio = false;
};

// The operational status with the activation code in use decides where the
// user lands: the start window on "10001" (code not recognised), otherwise the
// main window with its status, version and layout brought up to date.
void statusAoFechar(Contexto& ctx, OpcoesStatusAoFechar opcoes);
