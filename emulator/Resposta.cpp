#include "emulator/Resposta.h"

#include "emulator/Texto.h"

namespace emulador {

std::string Resposta::codigo(int desfecho) const {
    return comZeros(m_funcao.codigo * 1000 + desfecho, 5);
}

std::string Resposta::padrao(int desfecho, const std::string& mensagem,
                             const std::vector<std::string>& extras) const {
    return montar(codigo(desfecho), mensagem, extras);
}

std::string Resposta::detalhada(int desfecho, int cccc, const std::string& mensagem,
                                const std::vector<std::string>& extras) const {
    return montar(codigo(desfecho) + '|' + comZeros(cccc, 4), mensagem, extras);
}

std::string Resposta::semDetalhe(int desfecho, const std::string& mensagem) const {
    return m_funcao.comDetalhe ? detalhada(desfecho, 0, mensagem) : padrao(desfecho, mensagem);
}

std::string Resposta::montar(const std::string& codigos, const std::string& mensagem,
                             const std::vector<std::string>& extras) const {
    // A message naming a file may hold the separator; the fields must stay put.
    std::string limpa = paraWin1252(mensagem);
    for (char& c : limpa)
        if (c == '|') c = '\xa6';
    std::string r = std::to_string(m_sessao) + '|' + codigos + '|' + limpa + "||";
    for (const std::string& e : extras) {
        r += '|';
        r += e;
    }
    return r;
}

}  // namespace emulador
