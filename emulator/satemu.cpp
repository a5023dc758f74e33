// satemu: the control command of the emulated SAT device.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "emulator/Console.h"
#include "emulator/Controle.h"
#include "emulator/Documentos.h"
#include "emulator/Funcoes.h"
#include "emulator/Sistema.h"
#include "emulator/Texto.h"
#include "emulator/Versao.h"

using emulador::Controle;
using emulador::Estado;

namespace {

const char* const Comandos =
    "Comandos:\n"
    "  estado                     mostra o estado do SAT em JSON (códigos inclusos)\n"
    "  novo [--serie N]           liga um SAT novo de fábrica, com outro número de "
    "série\n"
    "                             (ou o N de 9 dígitos)\n"
    "  fabrica                    volta este SAT ao estado de fábrica (mesmo número de "
    "série)\n"
    "  proximo [SEGUNDOS]         desconecta este SAT e conecta um novo depois de SEGUNDOS (2)\n"
    "  desconectar                tira o SAT da porta\n"
    "  conectar                   põe o SAT na porta (e encerra um reinício em curso)\n"
    "  reiniciar [SEGUNDOS]       reinicia agora: sem resposta por SEGUNDOS (3)\n"
    "  tempo-reinicio SEGUNDOS    duração dos reinícios após associar e "
    "atualizar (3)\n"
    "  ocupado [on|off|SEGUNDOS]  SAT em processamento (xx098), até off ou por SEGUNDOS\n"
    "  latencia [FUNCAO] MS       atraso de cada resposta (ou só da FUNCAO) em ms\n"
    "  ativado CODIGO [CNPJ UF [ASSINATURA]]\n"
    "                             SAT já ativado com este código (e associado, com "
    "ASSINATURA)\n"
    "  log BYTES                  tamanho do log que ExtrairLogs devolve\n"
    "  diario on|off              diário de todas as chamadas (diario.txt na pasta do "
    "estado)\n"
    "  falha FUNCAO|todas MODO    a FUNCAO (ou todas) falha a partir da próxima chamada:\n"
    "      travar                 não retorna até a falha sair (ou o SAT ser desconectado)\n"
    "      abortar                chama abort()\n"
    "      sinal                  falha de segmentação (SIGSEGV)\n"
    "      sair                   encerra o processo com código 3\n"
    "      inundar [MIB]          resposta de MIB MiB (100)\n"
    "      nula                   devolve um ponteiro nulo\n"
    "      vazia                  devolve um texto vazio\n"
    "      nenhuma                desfaz a falha da FUNCAO (a de todas segue); todas\n"
    "                             nenhuma desfaz toda falha\n"
    "  ajuda, --help              esta ajuda\n"
    "  --version                  a versão do emulador\n";

// The library's file and the state's folder are the system's.
std::string uso() {
    return std::string(
               "Uso: satemu COMANDO [ARGUMENTOS]\n"
               "Controla o SAT emulado (") +
           emulador::sistema::NomeBiblioteca + "). Estado em " +
           emulador::sistema::OndeFicaOEstado + ".\n\n" + Comandos;
}

using Argumentos = std::vector<std::string>;

// Wrong use of the command: the message, then the usage.
class ErroUso : public std::runtime_error {
  public:
    explicit ErroUso(const std::string& m) : std::runtime_error(m) {}
};

long long numero(const std::string& t, long long maximo, const char* oQue) {
    long long n = 0;
    if (!emulador::inteiro(t, n) || n < 0 || n > maximo)
        throw ErroUso(std::string(oQue) + " inválido: \"" + t + "\"");
    return n;
}

int segundosEmMs(const std::string& t) {
    double s = 0;
    if (!emulador::decimal(t, s) || !std::isfinite(s) || s < 0 || s > 86400)
        throw ErroUso("Segundos inválidos: \"" + t + "\"");
    return int(std::lround(s * 1000));
}

bool ligado(const std::string& t) {
    if (t == "on") return true;
    if (t == "off") return false;
    throw ErroUso("Use on ou off, não \"" + t + "\"");
}

void argumentos(const Argumentos& a, std::size_t minimo, std::size_t maximo) {
    if (a.size() < minimo || a.size() > maximo) throw ErroUso("Número de argumentos errado");
}

std::string serieDe(const Argumentos& a) {
    argumentos(a, 0, 2);
    if (a.empty()) return {};
    if (a.size() != 2 || a[0] != "--serie") throw ErroUso("Use novo --serie N");
    if (a[1].size() != 9 || !emulador::soDigitos(a[1]) || a[1][0] == '0')
        throw ErroUso("Série inválida: \"" + a[1] + "\" (9 dígitos)");
    return a[1];
}

void falha(Controle& c, const Argumentos& a) {
    argumentos(a, 2, 3);
    if (a[0] != emulador::TodasAsFuncoes && !emulador::funcaoDe(a[0].c_str()))
        throw ErroUso("Função desconhecida: \"" + a[0] + "\"");
    if (a[1] != "nenhuma" && !emulador::modoDeFalha(a[1]))
        throw ErroUso("Falha desconhecida: \"" + a[1] + "\"");
    if (a.size() == 3 && a[1] != "inundar") throw ErroUso("Só inundar leva MIB");
    const int mib = a.size() == 3 ? int(numero(a[2], emulador::LimiteInundacaoMib, "MIB"))
                                  : emulador::InundacaoPadraoMib;
    if (mib == 0) throw ErroUso("MIB inválido: \"0\"");
    c.falha(a[0], a[1], mib);
    std::cout << (a[1] == "nenhuma" ? "Falha desfeita: " : "Falha ativa: ") << a[0] << "\n";
}

void executar(Controle& c, const std::string& comando, const Argumentos& a) {
    using Acao = std::function<void()>;
    const std::map<std::string, Acao> acoes{
        {"estado",
         [&] {
             argumentos(a, 0, 0);
             std::cout << emulador::paraJson(c.estado());
         }},
        {"novo",
         [&] {
             c.novo(serieDe(a));
             std::cout << "SAT novo conectado, série " << c.estado().serie << "\n";
         }},
        {"fabrica",
         [&] {
             argumentos(a, 0, 0);
             c.fabrica();
             std::cout << "SAT de volta ao estado de fábrica, série " << c.estado().serie << "\n";
         }},
        {"proximo",
         [&] {
             argumentos(a, 0, 1);
             c.proximo(a.empty() ? 2000 : segundosEmMs(a[0]));
             std::cout << "Próximo SAT, série " << c.estado().serie << "\n";
         }},
        {"desconectar",
         [&] {
             argumentos(a, 0, 0);
             c.conectar(false);
             std::cout << "SAT desconectado\n";
         }},
        {"conectar",
         [&] {
             argumentos(a, 0, 0);
             c.conectar(true);
             std::cout << "SAT conectado\n";
         }},
        {"reiniciar",
         [&] {
             argumentos(a, 0, 1);
             c.reiniciar(a.empty() ? 3000 : segundosEmMs(a[0]));
             std::cout << "SAT reiniciando\n";
         }},
        {"tempo-reinicio",
         [&] {
             argumentos(a, 1, 1);
             const int ms = segundosEmMs(a[0]);
             c.alterar([ms](Estado& e) { e.reinicioAposMs = ms; });
         }},
        {"ocupado",
         [&] {
             argumentos(a, 0, 1);
             if (a.empty() || a[0] == "on" || a[0] == "off") {
                 c.ocupar(a.empty() || ligado(a[0]));
                 return;
             }
             const std::int64_t ate = emulador::agoraMs() + segundosEmMs(a[0]);
             c.alterar([ate](Estado& e) { e.ocupadoAteMs = ate; });
         }},
        {"latencia",
         [&] {
             argumentos(a, 1, 2);
             const int ms = int(numero(a.back(), emulador::LimiteLatenciaMs, "Atraso"));
             if (a.size() == 1) {
                 c.latencia(ms);
                 return;
             }
             if (!emulador::funcaoDe(a[0].c_str()))
                 throw ErroUso("Função desconhecida: \"" + a[0] + "\"");
             c.alterar([&](Estado& e) { e.latenciaPorFuncao[a[0]] = ms; });
         }},
        {"ativado",
         [&] {
             argumentos(a, 1, 4);
             if (a.size() == 2) throw ErroUso("Informe CNPJ e UF juntos");
             const std::string cnpj = a.size() > 1 ? a[1] : "11111111111111";
             const int uf = a.size() > 2 ? int(numero(a[2], 99, "UF")) : 35;
             if (a.size() > 2 && (!emulador::cnpjValido(cnpj) || !emulador::ufValida(uf)))
                 throw ErroUso("CNPJ ou UF inválidos");
             c.ativado(a[0], cnpj, uf, a.size() > 3 ? a[3] : "");
             std::cout << "SAT ativado com o código " << a[0] << "\n";
         }},
        {"log",
         [&] {
             argumentos(a, 1, 1);
             const long long n = numero(a[0], emulador::LimiteLog, "Tamanho");
             const std::int64_t agora = emulador::agoraMs();
             c.alterar([n, agora](Estado& e) {
                 e.tamanhoLog = n;
                 e.ultimoEventoMs = agora;
             });
         }},
        {"falha", [&] { falha(c, a); }},
        {"diario",
         [&] {
             argumentos(a, 1, 1);
             const bool on = ligado(a[0]);
             c.alterar([on](Estado& e) { e.diario = on; });
         }},
    };
    const auto it = acoes.find(comando);
    if (it == acoes.end()) throw ErroUso("Comando desconhecido: \"" + comando + "\"");
    it->second();
}

}  // namespace

int main(int argc, char** argv) {
    Argumentos args = emulador::console::argumentos(argc, argv);
    if (args.empty()) {
        std::cerr << uso();
        return 2;
    }
    const std::string comando = args.front();
    args.erase(args.begin());
    if (comando == "--help" || comando == "-h" || comando == "ajuda") {
        std::cout << uso();
        return 0;
    }
    if (comando == "--version") {
        std::cout << "satemu " << emulador::Versao << "\n";
        return 0;
    }
    try {
        Controle controle;
        executar(controle, comando, args);
    } catch (const ErroUso& e) {
        std::cerr << "satemu: " << e.what() << "\n\n" << uso();
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "satemu: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
