#pragma once

#include <string>
#include <utility>
#include <vector>

// Just enough JSON for the state file: any document is read, kept as a tree.
namespace emulador {

struct Json {
    enum Tipo { Nulo, Logico, Numero, Texto, Lista, Objeto } tipo = Nulo;
    bool logico = false;
    double numero = 0;
    std::string texto;
    std::vector<Json> itens;
    std::vector<std::pair<std::string, Json>> membros;

    // The member of an object by its key, null when absent.
    const Json* membro(const std::string& chave) const;
};

// Throws std::runtime_error when the text is no JSON.
Json lerJson(const std::string& texto);
// The text between quotes, escaped.
std::string jsonTexto(const std::string& s);

}  // namespace emulador
