// sat-auxiliar: hosts the device library for the tool, in a process of its
// own, so that a library that crashes, hangs or floods never takes the tool
// with it. Usage: sat-auxiliar LIBRARY. It loads the library, says whether
// it could, then answers one request at a time over its standard input and
// output (frames of sat/Quadro.h) until the tool closes the pipe.

#include <cstring>
#include <string>

#include "auxiliar/Plataforma.h"
#include "sat/Chamada.h"

namespace {

using auxiliar::Canais;

bool responder(const Canais& canais, sat::TipoResposta tipo, const char* bytes,
               std::size_t tamanho) {
    const std::string q = sat::quadro(tipo, bytes, tamanho);
    return auxiliar::escreverTudo(canais.saida, q.data(), q.size());
}

bool responder(const Canais& canais, sat::TipoResposta tipo, const std::string& texto) {
    return responder(canais, tipo, texto.data(), texto.size());
}

bool responderChamada(const Canais& canais, const char* resposta) {
    if (!resposta) return responder(canais, sat::TipoResposta::Nula, std::string());
    const std::size_t tamanho = std::strlen(resposta);
    if (tamanho > sat::LimiteResposta)
        return responder(canais, sat::TipoResposta::Grande, std::to_string(tamanho));
    return responder(canais, sat::TipoResposta::Texto, resposta, tamanho);
}

// The next request's content; false when the tool closed the pipe.
bool lerQuadro(const Canais& canais, std::string& conteudo) {
    unsigned char cabecalho[4];
    if (!auxiliar::lerTudo(canais.entrada, reinterpret_cast<char*>(cabecalho), 4)) return false;
    const std::uint32_t tamanho = sat::tamanhoDoQuadro(cabecalho);
    if (tamanho > sat::LimitePedido) return false;
    conteudo.resize(tamanho);
    return auxiliar::lerTudo(canais.entrada, conteudo.data(), tamanho);
}

void atender(const Canais& canais, const sat::TabelaFuncoes& tabela) {
    std::string conteudo;
    while (lerQuadro(canais, conteudo)) {
        const auto pedido = sat::lerPedido(conteudo);
        const bool enviado = pedido ? responderChamada(canais, tabela.chamar(*pedido))
                                    : responder(canais, sat::TipoResposta::Invalido, std::string());
        if (!enviado) return;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Canais canais = auxiliar::prepararCanais();
    if (argc != 2) {
        responder(canais, sat::TipoResposta::NaoCarrega,
                  std::string("uso: sat-auxiliar BIBLIOTECA"));
        return 2;
    }
    auxiliar::vigiarTool(canais);
    auxiliar::Biblioteca biblioteca;
    if (const std::string erro = biblioteca.carregar(auxiliar::argumento(argv, 1)); !erro.empty()) {
        responder(canais, sat::TipoResposta::NaoCarrega, erro);
        return 1;
    }
    sat::TabelaFuncoes tabela;
    if (const char* falta =
            tabela.resolver([&](const char* nome) { return biblioteca.funcao(nome); })) {
        responder(canais, sat::TipoResposta::SemFuncao, std::string(falta));
        return 1;
    }
    const std::string caminho =
        biblioteca.caminhoCarregado(reinterpret_cast<void*>(tabela.ConsultarSAT));  // NOLINT
    if (!responder(canais, sat::TipoResposta::Pronta, caminho)) return 0;
    atender(canais, tabela);
    return 0;
}
