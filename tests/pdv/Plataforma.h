#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the point-of-sale check asks of the system, one file per system
// (Plataforma_linux.cpp, Plataforma_windows.cpp). Paths are UTF-8.
namespace pdv {

// The library loaded by its path, as a point-of-sale program loads it; null
// when it cannot be, with the system's reason in erro.
void* carregar(const std::string& caminho, std::string& erro);
void* simbolo(void* biblioteca, const char* nome);
void descarregar(void* biblioteca);

// A value of the library's version resource ("CompanyName" of the first
// translation, "Translation" as "0416 04E4", "FileVersion" of the fixed part
// as "1,0,2,15"), or none where the system's libraries have no such resource.
std::optional<std::string> versao(const std::string& arquivo, const std::string& chave);

// A variable of this process's environment, which its children inherit.
void definirVariavel(const char* nome, const std::string& valor);
// Where the check keeps its devices' folders when it is given none: on
// Windows the user's own %LOCALAPPDATA%, as the emulator's default is.
std::string pastaBase();

// A folder that anyone may write to (chmod 0777; Everyone with full control).
void abrirAosOutros(const std::string& pasta);
// Whether the user alone (and the system) may use the folder; why not, if not.
bool soDoUsuario(const std::string& pasta, std::string& porque);
// Another name for the file.
bool linkFisico(const std::string& arquivo, const std::string& outroNome);

// The lock the emulator takes on its state, held by this process until soltar.
std::intptr_t travar(const std::string& arquivo);
void soltar(std::intptr_t trava);

// How a process ended: by a signal (on Windows, an exception such as an access
// violation, 0xC0000005) or with an exit code.
struct Fim {
    bool sinal = false;
    long codigo = 0;
};
// The code of a process ended by a segmentation fault: SIGSEGV, 0xC0000005.
extern const long Segmentacao;
// This program's own file.
std::string estePrograma();
// The programs started together, each with its arguments, then waited for.
std::vector<Fim> executar(const std::vector<std::vector<std::string>>& comandos);
int processo();

}  // namespace pdv
