#pragma once

#include <string>
#include <vector>

#include "emulator/Funcoes.h"

// One reply of a function: the session number, the function's return code
// and further fields, as the Windows-1252 bytes the library returns.
namespace emulador {

class Resposta {
  public:
    Resposta(int sessao, const Funcao& funcao) : m_sessao(sessao), m_funcao(funcao) {}

    std::string codigo(int desfecho) const;
    // numeroSessao|EEEEE|mensagem|cod|mensagemSEFAZ, then the extra fields.
    std::string padrao(int desfecho, const std::string& mensagem,
                       const std::vector<std::string>& extras = {}) const;
    // numeroSessao|EEEEE|CCCC|mensagem|cod|mensagemSEFAZ, then the extra fields.
    std::string detalhada(int desfecho, int cccc, const std::string& mensagem,
                          const std::vector<std::string>& extras = {}) const;
    // In the function's own layout, with no detail to give: busy, unknown error.
    std::string semDetalhe(int desfecho, const std::string& mensagem) const;

  private:
    std::string montar(const std::string& codigos, const std::string& mensagem,
                       const std::vector<std::string>& extras) const;
    int m_sessao;
    const Funcao& m_funcao;
};

// The whole reply of a device that is not on its port (Windows-1252).
inline const char* const PortaNaoPronta = "PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE";

}  // namespace emulador
