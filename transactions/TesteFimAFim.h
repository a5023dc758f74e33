#pragma once

class Contexto;

// The end-to-end test from the main window, on the GUI thread: the
// parameters window, then the test coupon sent with its lines in the
// operation log, the reply box and the painted status refresh.
void executarTesteFimAFim(Contexto& ctx);
