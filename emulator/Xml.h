#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The XML the emulated device reads (a small tree) and writes.
namespace emulador {

// One element of a parsed document; enough of a tree for the device's checks.
struct No {
    std::string nome;
    std::vector<std::pair<std::string, std::string>> atributos;
    std::string texto;
    std::vector<No> filhos;

    const No* filho(const std::string& n) const;
    // Text of the element at this path of child names, "" when absent.
    std::string valor(const std::string& caminho) const;
    std::string atributo(const std::string& n) const;
    std::vector<const No*> todos(const std::string& n) const;
};

// The root element, or nothing when the bytes are no well-formed XML or are
// nested deeper than any document of the device.
std::optional<No> lerXml(const std::string& bytes);

// Writes elements one after another, escaping texts and attributes.
class EscritorXml {
  public:
    EscritorXml& abrir(const std::string& nome);
    EscritorXml& atributo(const std::string& nome, const std::string& valor);
    EscritorXml& elemento(const std::string& nome, const std::string& texto);
    EscritorXml& vazio(const std::string& nome);
    EscritorXml& fechar();
    const std::string& texto() const { return m_xml; }

  private:
    void fecharAbertura();
    std::string m_xml;
    std::vector<std::string> m_abertos;
    bool m_aberturaPendente = false;
};

}  // namespace emulador
