#pragma once

class Contexto;

// Block and unblock from the main window, on the GUI thread: TX line, call,
// RX line in its log, then the painted status refresh. The reply is not judged.
void BloquearSAT(Contexto& ctx);
void DesbloquearSAT(Contexto& ctx);
