#pragma once

#include <string>

// Where each calling thread's last reply lives: the pointer a function
// returns stays valid until that thread's next call, as the callers expect.
// One file per system (RespostaDaThread_linux.cpp, _windows.cpp), in the
// device library alone: on Windows nothing of the library may be left to run
// in a thread after the library is unloaded (FreeLibrary), as a thread_local's
// destructor would be.
namespace emulador {

std::string& respostaDaThread();

}  // namespace emulador
