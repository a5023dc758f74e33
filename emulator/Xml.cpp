#include "emulator/Xml.h"

#include <expat.h>

#include <cstdint>
#include <memory>

#include "emulator/Texto.h"

namespace emulador {

const No* No::filho(const std::string& n) const {
    for (const No& f : filhos)
        if (f.nome == n) return &f;
    return nullptr;
}

std::string No::valor(const std::string& caminho) const {
    const No* no = this;
    for (const std::string& parte : partes(caminho, '/')) {
        no = no->filho(parte);
        if (!no) return {};
    }
    return aparado(no->texto);
}

std::string No::atributo(const std::string& n) const {
    for (const auto& [chave, valor] : atributos)
        if (chave == n) return valor;
    return {};
}

std::vector<const No*> No::todos(const std::string& n) const {
    std::vector<const No*> lista;
    for (const No& f : filhos)
        if (f.nome == n) lista.push_back(&f);
    return lista;
}

namespace {

// The tree is freed recursively: a document nested without end would
// overflow the caller's stack. The device's documents are a few levels deep.
constexpr std::size_t ProfundidadeMaxima = 64;

struct Leitura {
    XML_Parser parser;
    std::vector<No> pilha;
    std::optional<No> raiz;
};

void XMLCALL inicio(void* dados, const XML_Char* nome, const XML_Char** atributos) {
    auto* l = static_cast<Leitura*>(dados);
    if (l->pilha.size() >= ProfundidadeMaxima) {
        XML_StopParser(l->parser, XML_FALSE);
        return;
    }
    No no;
    no.nome = nome;
    for (const XML_Char** a = atributos; *a; a += 2) no.atributos.emplace_back(a[0], a[1]);
    l->pilha.push_back(std::move(no));
}

void XMLCALL fim(void* dados, const XML_Char*) {
    auto* l = static_cast<Leitura*>(dados);
    No no = std::move(l->pilha.back());
    l->pilha.pop_back();
    if (l->pilha.empty())
        l->raiz = std::move(no);
    else
        l->pilha.back().filhos.push_back(std::move(no));
}

void XMLCALL caracteres(void* dados, const XML_Char* s, int n) {
    auto* l = static_cast<Leitura*>(dados);
    if (!l->pilha.empty()) l->pilha.back().texto.append(s, n);
}

// The standard's documents are UTF-8: one declared in another encoding is
// refused, not read in it.
void XMLCALL declaracao(void* dados, const XML_Char*, const XML_Char* codificacao, int) {
    auto* l = static_cast<Leitura*>(dados);
    if (codificacao && maiusculas(codificacao) != "UTF-8") XML_StopParser(l->parser, XML_FALSE);
}

std::string escapado(const std::string& s, bool atributo) {
    std::string r;
    r.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '&':
                r += "&amp;";
                break;
            case '<':
                r += "&lt;";
                break;
            case '>':
                r += "&gt;";
                break;
            case '"':
                r += atributo ? "&quot;" : "\"";
                break;
            default:
                r += c;
        }
    }
    return r;
}

}  // namespace

std::optional<No> lerXml(const std::string& bytes) {
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate("UTF-8"), XML_ParserFree);
    if (!parser || bytes.size() > std::size_t(INT32_MAX)) return std::nullopt;
    Leitura l{parser.get(), {}, {}};
    XML_SetUserData(parser.get(), &l);
    XML_SetElementHandler(parser.get(), inicio, fim);
    XML_SetCharacterDataHandler(parser.get(), caracteres);
    XML_SetXmlDeclHandler(parser.get(), declaracao);
    if (XML_Parse(parser.get(), bytes.data(), int(bytes.size()), XML_TRUE) != XML_STATUS_OK)
        return std::nullopt;
    return std::move(l.raiz);
}

EscritorXml& EscritorXml::abrir(const std::string& nome) {
    fecharAbertura();
    m_xml += '<' + nome;
    m_abertos.push_back(nome);
    m_aberturaPendente = true;
    return *this;
}

EscritorXml& EscritorXml::atributo(const std::string& nome, const std::string& valor) {
    m_xml += ' ' + nome + "=\"" + escapado(valor, true) + '"';
    return *this;
}

EscritorXml& EscritorXml::elemento(const std::string& nome, const std::string& texto) {
    fecharAbertura();
    m_xml += '<' + nome + '>' + escapado(texto, false) + "</" + nome + '>';
    return *this;
}

EscritorXml& EscritorXml::vazio(const std::string& nome) {
    fecharAbertura();
    m_xml += '<' + nome + "/>";
    return *this;
}

EscritorXml& EscritorXml::fechar() {
    if (m_aberturaPendente) {
        m_xml += "/>";
        m_aberturaPendente = false;
    } else {
        m_xml += "</" + m_abertos.back() + '>';
    }
    m_abertos.pop_back();
    return *this;
}

void EscritorXml::fecharAbertura() {
    if (m_aberturaPendente) m_xml += '>';
    m_aberturaPendente = false;
}

}  // namespace emulador
