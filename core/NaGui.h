#pragma once

#include <functional>

// Hands a control change from a worker to the GUI thread. Changes handed over
// by one thread run in the order they were handed; on the GUI thread they run
// at once.
void naGui(std::function<void()> acao);

// As naGui, but the worker waits until the change has run (a read of a control,
// a box the worker must wait for). Never call it from the GUI thread's own
// waits: it would wait for itself.
void naGuiEsperando(std::function<void()> acao);

// The GUI thread's value of an expression, for a worker reading a control.
template <typename T>
T lerNaGui(const std::function<T()>& leitura) {
    T valor{};
    naGuiEsperando([&] { valor = leitura(); });
    return valor;
}
