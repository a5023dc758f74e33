// Prints the median time of every emulated device call (latency 0) and of the
// log extraction for 1 MB and 8 MB logs: called in this process, as a
// point-of-sale program calls it, and through the tool's helper program, with
// the difference, which is what the helper costs each call.
#include <stdlib.h>

#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "device/CanalAuxiliar.h"
#include "emulator/Controle.h"
#include "emulator/Regras.h"
#include "emulator/Texto.h"
#include "tests/apoio/CanalNoProcesso.h"

namespace {

using sat::Funcao;

sat::Argumento arg(int v) {
    return sat::Argumento::deInteiro(v);
}
sat::Argumento arg(const char* v) {
    return sat::Argumento::deTexto(v, false);
}
sat::Argumento arg(const std::string& v) {
    return arg(v.c_str());
}

// The emulated device reached one way or the other (in this process, or
// through the helper); the reply copied, as every caller does.
class Via {
  public:
    explicit Via(CanalDispositivo& canal) : m_canal(canal) {}
    template <typename... A>
    std::string operator()(Funcao f, const A&... a) {
        return m_canal.chamar({f, {arg(a)...}}, 600000, {}).bytes.toStdString();
    }

  private:
    CanalDispositivo& m_canal;
};

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
    return double(ns[ns.size() / 2]) / 1000.0;
}

// Every measure, in the order taken, for one way of calling.
using Medidas = std::vector<std::pair<std::string, double>>;

Medidas medir(Via& v, emulador::Controle& controle) {
    Medidas m;
    const int n = 200;
    const auto linha = [&](const std::string& nome, double us) { m.emplace_back(nome, us); };
    controle.novo();
    controle.alterar([](emulador::Estado& e) { e.reinicioAposMs = 0; });
    linha("AtivarSAT (04000)",
          mediana(
              1, [&] { v(Funcao::AtivarSAT, 1, 1, Codigo, "12345678000195", 35); },
              [&] { controle.novo(); }));
    controle.alterar([](emulador::Estado& e) { e.reinicioAposMs = 0; });
    v(Funcao::AtivarSAT, 1, 1, Codigo, "12345678000195", 35);
    linha("AtivarSAT (04003)",
          mediana(n, [&] { v(Funcao::AtivarSAT, 1, 1, Codigo, "12345678000195", 35); }));
    linha("AssociarAssinatura", mediana(n, [&] {
              v(Funcao::AssociarAssinatura, 1, Codigo, "9876543200019812345678000195", Dev);
          }));
    linha("ConsultarSAT", mediana(n, [&] { v(Funcao::ConsultarSAT, 1); }));
    linha("ConsultarStatusOperacional",
          mediana(n, [&] { v(Funcao::ConsultarStatusOperacional, 1, Codigo); }));
    linha("AtualizarSoftwareSAT", mediana(n, [&] { v(Funcao::AtualizarSoftwareSAT, 1, Codigo); }));
    linha("ConsultarNumeroSessao",
          mediana(n, [&] { v(Funcao::ConsultarNumeroSessao, 2, Codigo, 1); }));
    linha("BloquearSAT", mediana(
                             n, [&] { v(Funcao::BloquearSAT, 1, Codigo); },
                             [&] { v(Funcao::DesbloquearSAT, 1, Codigo); }));
    linha("DesbloquearSAT", mediana(
                                n, [&] { v(Funcao::DesbloquearSAT, 1, Codigo); },
                                [&] { v(Funcao::BloquearSAT, 1, Codigo); }));
    v(Funcao::DesbloquearSAT, 1, Codigo);
    linha("TrocarCodigoDeAtivacao",
          mediana(n, [&] { v(Funcao::TrocarCodigoDeAtivacao, 1, Codigo, 1, Codigo, Codigo); }));
    linha("ConfigurarInterfaceDeRede",
          mediana(n, [&] { v(Funcao::ConfigurarInterfaceDeRede, 1, Codigo, Rede); }));
    linha("TesteFimAFim", mediana(n, [&] { v(Funcao::TesteFimAFim, 1, Codigo, Venda); }));
    linha("EnviarDadosVenda", mediana(n, [&] { v(Funcao::EnviarDadosVenda, 1, Codigo, Venda); }));
    std::string chave, cancelamento;
    linha("CancelarUltimaVenda",
          mediana(
              n, [&] { v(Funcao::CancelarUltimaVenda, 1, Codigo, chave, cancelamento); },
              [&] {
                  chave =
                      emulador::partes(v(Funcao::EnviarDadosVenda, 1, Codigo, Venda), '|').at(8);
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
    linha("EnviarDadosVenda (limite)",
          mediana(5, [&] { v(Funcao::EnviarDadosVenda, 1, Codigo, grande); }));
    linha("TesteFimAFim (limite)", mediana(5, [&] { v(Funcao::TesteFimAFim, 1, Codigo, grande); }));
    const std::string redeGrande =
        std::string(Rede).insert(8, emulador::LimiteRede - std::strlen(Rede), ' ');
    linha("ConfigurarInterfaceDeRede (limite)",
          mediana(5, [&] { v(Funcao::ConfigurarInterfaceDeRede, 1, Codigo, redeGrande); }));
    const std::string dezMb(10 << 20, ' ');
    linha("EnviarDadosVenda (10 MB)",
          mediana(5, [&] { v(Funcao::EnviarDadosVenda, 1, Codigo, dezMb); }));
    linha("ExtrairLogs (vazio)", mediana(n, [&] { v(Funcao::ExtrairLogs, 1, Codigo); }));
    for (const int mb : {1, 8}) {
        controle.alterar([mb](emulador::Estado& e) { e.tamanhoLog = std::int64_t(mb) << 20; });
        const std::string nome = "ExtrairLogs (" + std::to_string(mb) + " MB)";
        linha(nome + " 1a vez", mediana(1, [&] { v(Funcao::ExtrairLogs, 1, Codigo); }));
        linha(nome, mediana(20, [&] { v(Funcao::ExtrairLogs, 1, Codigo); }));
    }
    return m;
}

}  // namespace

int main() {
    char modelo[] = "/tmp/bench_emulador.XXXXXX";
    const std::string pasta = mkdtemp(modelo);
    setenv("SAT_EMULADOR_DIR", pasta.c_str(), 1);
    emulador::Controle controle(pasta);
    CanalNoProcesso noProcesso(QStringLiteral(DLLSAT_EMULADOR));
    CanalAuxiliar pelaAuxiliar(ProcessoAuxiliar::programa(DLLSAT_EMULADOR),
                               QStringLiteral(DLLSAT_EMULADOR));
    pelaAuxiliar.abrir();
    Via direta(noProcesso);
    Via auxiliar(pelaAuxiliar);
    const Medidas d = medir(direta, controle);
    const Medidas a = medir(auxiliar, controle);
    std::printf("Emulador, medianas em us, latencia 0, estado em %s\n", pasta.c_str());
    std::printf("%-34s %12s %12s %12s\n", "", "no processo", "sat-auxiliar", "diferenca");
    for (std::size_t i = 0; i < d.size(); ++i)
        std::printf("%-34s %12.1f %12.1f %12.1f\n", d[i].first.c_str(), d[i].second, a[i].second,
                    a[i].second - d[i].second);
    std::filesystem::remove_all(pasta);
    return 0;
}
