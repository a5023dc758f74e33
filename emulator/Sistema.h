#pragma once

#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <string>

// What the emulated device asks of the operating system, one file per system
// (Sistema_linux.cpp, Sistema_windows.cpp): its private folder, its files
// read, replaced and appended to without following a link, the lock of its
// state, the default folder, the local time and a crash. Paths are UTF-8;
// every failure throws std::runtime_error naming the path.
namespace emulador {

// The device stayed held by another caller past the wait a caller allows.
class Ocupado : public std::runtime_error {
  public:
    Ocupado() : std::runtime_error("O SAT emulado está ocupado por outro processo") {}
};

namespace sistema {

// $SAT_EMULADOR_DIR, else the system's folder for a program's state.
std::string pastaPadrao();
// Where the state lives, as satemu's help tells it.
extern const char* const OndeFicaOEstado;
// The file of the device library, as satemu's help names it.
extern const char* const NomeBiblioteca;

// The folder and the parents it lacks, private to the user. Refuses a folder
// of another user, one that others may change, and one below a folder where
// others could put another in its place.
void prepararPasta(const std::string& pasta);

// Held while it lives, on that file (made when missing): one holder at a time
// among every process and every thread. Throws Ocupado when another holder
// keeps it past esperaMs.
class Trava {
  public:
    Trava(const std::string& arquivo, int esperaMs);
    ~Trava();
    Trava(const Trava&) = delete;
    Trava& operator=(const Trava&) = delete;

  private:
    std::intptr_t m_arquivo;
};

// The whole file, or false when there is none; one bigger than limite is not
// read at all (the error then says alemDoLimite). Never a link, a pipe, a
// device or a file that has another name elsewhere: the folder's files are
// the device's own.
bool lerArquivo(const std::string& caminho, std::string& conteudo, std::int64_t limite,
                const char* alemDoLimite);
// conteudo in the file's place in one step, through a new file beside it
// (arquivo + ".novo"), made afresh so that nothing planted under that name is
// written through: the file is whole at every moment, and a write that fails
// leaves the old one as it was. No flush to the disk: a device's state need
// not outlive a power cut, and a call must stay well under a millisecond.
void substituir(const std::string& arquivo, const std::string& conteudo);
// de under the name para, replacing it; false when it cannot.
bool renomear(const std::string& de, const std::string& para);
// One line added in one write, whole or not at all; a line left without its
// end (a writer killed) gets one first. Past limite the file starts afresh,
// the last one kept as arquivo + ".1".
void anexarLinha(const std::string& arquivo, const std::string& linha, std::int64_t limite);

// That moment in local time (localtime_r, localtime_s: both safe in threads).
std::tm horaLocal(std::time_t t);

// The system's segmentation fault, as a library that crashes gives it: SIGSEGV,
// on Windows an access violation (ending the process with 0xC0000005).
// Returns only in a process that ignores it.
void falhaDeSegmentacao();

}  // namespace sistema
}  // namespace emulador
