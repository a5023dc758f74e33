#pragma once

// What the helper needs of its platform: its two pipes, loading the library
// and ending with the tool.

#include <cstddef>
#include <string>

namespace auxiliar {

// The pipes to the tool. The library's own prints must not land among the
// replies, so the replies leave through a copy of standard output, and
// standard output goes to standard error.
struct Canais {
    int entrada;
    int saida;
};
Canais prepararCanais();

// Whole reads and writes; false at the end of the pipe or on an error.
bool lerTudo(int canal, char* destino, std::size_t tamanho);
bool escreverTudo(int canal, const char* origem, std::size_t tamanho);

// The command line's argument i, in UTF-8.
std::string argumento(char** argv, int i);

// Ends the helper when the tool is gone, even while the library never
// returns from a call.
void vigiarTool(const Canais& canais);

// The loaded library, kept until the helper ends.
class Biblioteca {
  public:
    // Empty when it is loaded, else why not.
    std::string carregar(const std::string& caminho);
    void* funcao(const char* nome) const;
    // The file the platform actually loaded.
    std::string caminhoCarregado(void* umaFuncao) const;

  private:
    void* m_handle = nullptr;
};

}  // namespace auxiliar
