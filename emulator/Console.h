#pragma once

#include <string>
#include <vector>

// satemu's command line and console, one file per system (Console_linux.cpp,
// Console_windows.cpp). Apart from the library: it is satemu's alone.
namespace emulador::console {

// The program's arguments after its name, in UTF-8 (on Windows, from the wide
// command line, whatever the code page), with the console showing UTF-8 until
// the program ends.
std::vector<std::string> argumentos(int argc, char** argv);

}  // namespace emulador::console
