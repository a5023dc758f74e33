// Prints the median time of every emulated device call (latency 0) and of the
// log extraction for 1 MB and 8 MB logs.
#include <dlfcn.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "emulator/Controle.h"
#include "emulator/Regras.h"
#include "emulator/Texto.h"

namespace {

using T = const char*;
void* biblioteca;

template <typename F>
F funcao(const char* nome) {
    return reinterpret_cast<F>(dlsym(biblioteca, nome));
}

const char* const Codigo = "12345678";
const char* const Dev = "SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT";
const char* const Venda =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><CFe><infCFe versaoDadosEnt=\"0.07\"><ide><CNPJ>"
    "98765432000198</CNPJ><signAC>SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT</signAC>"
    "<numeroCaixa>001</numeroCaixa></ide><emit><CNPJ>12345678000195</CNPJ><IE>111222333444</IE>"
    "<indRatISSQN>N</indRatISSQN></emit><dest/><det nItem=\"1\"><prod><cProd>01</cProd><xProd>"
    "Produto 1</xProd><NCM>85447030</NCM><CFOP>5001</CFOP><uCom>un</uCom><qCom>2.0000</qCom>"
    "<vUnCom>0.10</vUnCom><indRegra>A</indRegra></prod><imposto/></det><total/><pgto><MP>"
    "<cMP>01</cMP><vMP>12.00</vMP></MP></pgto></infCFe></CFe>";
const char* const Rede =
    "<config><tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy></config>";

// Median in microseconds; antes runs untimed before each call.
double mediana(int vezes, const std::function<void()>& chamada,
               const std::function<void()>& antes = {}) {
    std::vector<std::int64_t> ns;
    for (int i = 0; i < vezes; ++i) {
        if (antes) antes();
        const auto inicio = std::chrono::steady_clock::now();
        chamada();
        ns.push_back(std::chrono::nanoseconds(std::chrono::steady_clock::now() - inicio).count());
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1000.0;
}

void linha(const char* nome, double us) {
    std::printf("%-34s %10.1f us\n", nome, us);
}

}  // namespace

int main() {
    char modelo[] = "/tmp/bench_emulador.XXXXXX";
    const std::string pasta = mkdtemp(modelo);
    setenv("SAT_EMULADOR_DIR", pasta.c_str(), 1);
    emulador::Controle controle(pasta);
    biblioteca = dlopen(DLLSAT_EMULADOR, RTLD_NOW);
    if (!biblioteca) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    controle.alterar([](emulador::Estado& e) { e.reinicioAposMs = 0; });
    const int n = 200;
    std::printf("Emulador, mediana de %d chamadas, latencia 0, estado em %s\n", n, pasta.c_str());

    auto ativar = funcao<T (*)(int, int, T, T, int)>("AtivarSAT");
    linha("AtivarSAT (04000)",
          mediana(
              1, [&] { ativar(1, 1, Codigo, "12345678000195", 35); }, [&] { controle.novo(); }));
    controle.alterar([](emulador::Estado& e) { e.reinicioAposMs = 0; });
    ativar(1, 1, Codigo, "12345678000195", 35);
    linha("AtivarSAT (04003)", mediana(n, [&] { ativar(1, 1, Codigo, "12345678000195", 35); }));
    auto associar = funcao<T (*)(int, T, T, T)>("AssociarAssinatura");
    linha("AssociarAssinatura",
          mediana(n, [&] { associar(1, Codigo, "9876543200019812345678000195", Dev); }));
    linha("ConsultarSAT", mediana(n, [&] { funcao<T (*)(int)>("ConsultarSAT")(1); }));
    for (const char* nome : {"ConsultarStatusOperacional", "AtualizarSoftwareSAT"})
        linha(nome, mediana(n, [&] { funcao<T (*)(int, T)>(nome)(1, Codigo); }));
    linha("ConsultarNumeroSessao",
          mediana(n, [&] { funcao<T (*)(int, T, int)>("ConsultarNumeroSessao")(2, Codigo, 1); }));
    auto codigo = [&](const char* nome) { return funcao<T (*)(int, T)>(nome); };
    linha("BloquearSAT", mediana(
                             n, [&] { codigo("BloquearSAT")(1, Codigo); },
                             [&] { codigo("DesbloquearSAT")(1, Codigo); }));
    linha("DesbloquearSAT", mediana(
                                n, [&] { codigo("DesbloquearSAT")(1, Codigo); },
                                [&] { codigo("BloquearSAT")(1, Codigo); }));
    codigo("DesbloquearSAT")(1, Codigo);
    auto trocar = funcao<T (*)(int, T, int, T, T)>("TrocarCodigoDeAtivacao");
    linha("TrocarCodigoDeAtivacao", mediana(n, [&] { trocar(1, Codigo, 1, Codigo, Codigo); }));
    linha("ConfigurarInterfaceDeRede", mediana(n, [&] {
              funcao<T (*)(int, T, T)>("ConfigurarInterfaceDeRede")(1, Codigo, Rede);
          }));
    auto documento = [&](const char* nome) { return funcao<T (*)(int, T, T)>(nome); };
    linha("TesteFimAFim", mediana(n, [&] { documento("TesteFimAFim")(1, Codigo, Venda); }));
    linha("EnviarDadosVenda", mediana(n, [&] { documento("EnviarDadosVenda")(1, Codigo, Venda); }));
    std::string chave, cancelamento;
    auto cancelar = funcao<T (*)(int, T, T, T)>("CancelarUltimaVenda");
    linha("CancelarUltimaVenda",
          mediana(
              n, [&] { cancelar(1, Codigo, chave.c_str(), cancelamento.c_str()); },
              [&] {
                  chave =
                      emulador::partes(documento("EnviarDadosVenda")(1, Codigo, Venda), '|').at(8);
                  cancelamento = "<CFeCanc><infCFe chCanc=\"" + chave +
                                 "\"><ide><CNPJ>98765432000198</CNPJ>"
                                 "<signAC>" +
                                 Dev + "</signAC></ide></infCFe></CFeCanc>";
              }));
    // Documents at the standard's limit: one sale element with as many
    // attributes as the size allows, blanks filling the others.
    std::string atributos;
    for (int i = 0; atributos.size() < 1490 * 1024; ++i)
        atributos += " a" + std::to_string(i) + "=\"1\"";
    const std::string grande =
        std::string(Venda).replace(std::string(Venda).find("<ide>"), 5, "<ide" + atributos + ">");
    std::printf("Venda de %zu KB com %zu atributos\n", grande.size() / 1024,
                std::count(atributos.begin(), atributos.end(), '='));
    linha("EnviarDadosVenda (limite)",
          mediana(5, [&] { documento("EnviarDadosVenda")(1, Codigo, grande.c_str()); }));
    linha("TesteFimAFim (limite)",
          mediana(5, [&] { documento("TesteFimAFim")(1, Codigo, grande.c_str()); }));
    const std::string redeGrande =
        std::string(Rede).insert(8, emulador::LimiteRede - std::strlen(Rede), ' ');
    linha("ConfigurarInterfaceDeRede (limite)", mediana(5, [&] {
              documento("ConfigurarInterfaceDeRede")(1, Codigo, redeGrande.c_str());
          }));
    const std::string dezMb(10 << 20, ' ');
    linha("EnviarDadosVenda (10 MB)",
          mediana(5, [&] { documento("EnviarDadosVenda")(1, Codigo, dezMb.c_str()); }));
    linha("ExtrairLogs (vazio)", mediana(n, [&] { codigo("ExtrairLogs")(1, Codigo); }));
    for (const int mb : {1, 8}) {
        controle.alterar([mb](emulador::Estado& e) { e.tamanhoLog = std::int64_t(mb) << 20; });
        char nome[64];
        std::snprintf(nome, sizeof nome, "ExtrairLogs (%d MB)", mb);
        linha((std::string(nome) + " 1a vez").c_str(),
              mediana(1, [&] { codigo("ExtrairLogs")(1, Codigo); }));
        linha(nome, mediana(20, [&] { codigo("ExtrairLogs")(1, Codigo); }));
    }
    std::filesystem::remove_all(pasta);
    return 0;
}
