#pragma once

#include <functional>

class QObject;

// The hand-over: how a worker reaches the windows.
// - A worker never touches a control. What it needs of a window it gets as
//   plain values copied before it starts; what it changes it hands over here.
// - The call runs on the GUI thread; on the GUI thread itself it runs at once.
//   Calls handed over by one thread run in the order they were handed.
// - The context is the widget the call is aimed at (the window, or the control
//   itself). A call whose context is deleted before it runs is dropped by Qt,
//   and a null context drops it at once: nothing else checks for a window
//   that is gone. The context must exist when the call is handed over; the
//   tool's windows live as long as the program.
// - naGuiEsperando and lerNaGui wait for the call. Never use them from code
//   the GUI thread runs inside a wait of its own (a box, a device call): it
//   would wait for itself.
void naGui(QObject* contexto, std::function<void()> acao);

// As naGui, but the worker waits until the call has run or been dropped.
void naGuiEsperando(QObject* contexto, std::function<void()> acao);

// The GUI thread's value of an expression, for a worker that must read a
// control at a later moment; the type's empty value when the call is dropped.
template <typename T>
T lerNaGui(QObject* contexto, const std::function<T()>& leitura) {
    T valor{};
    naGuiEsperando(contexto, [&] { valor = leitura(); });
    return valor;
}
