// The device library's exported functions, by their plain C names.
#include "emulator/Dispositivo.h"

#define EXPORTA extern "C" __attribute__((visibility("default")))

// The version information the tool reads from the file: the maker's name and
// the file version, in the form the tool's reader documents. SpecialBuild
// ("how this build differs from the standard one") tells the tool, and anyone
// running `readelf -p .versioninfo`, that this is no device.
__attribute__((section(".versioninfo"), used)) static const char VersaoArquivo[] =
    "\\=1,0,2,15\n"
    "\\VarFileInfo\\Translation=0416 04E4\n"
    "\\StringFileInfo\\041604E4\\CompanyName=Tivoro Telecomunicacoes e Informatica S/A\n"
    "\\StringFileInfo\\041604E4\\FileDescription=Biblioteca do SAT KT-470e (emulador)\n"
    "\\StringFileInfo\\041604E4\\FileVersion=1.0.2.15\n"
    "\\StringFileInfo\\041604E4\\ProductName=SAT KT-470e\n"
    "\\StringFileInfo\\041604E4\\ProductVersion=1.0.2.15\n"
    "\\StringFileInfo\\041604E4\\SpecialBuild=SAT EMULADO\n";

namespace {

// Valid until the calling thread's next call, as the callers expect.
thread_local QByteArray resposta;

template <typename F>
const char* responder(F chamada) {
    try {
        emulador::Dispositivo dispositivo;
        resposta = chamada(dispositivo);
    } catch (...) {
        resposta = "0|99999|Erro desconhecido||";
    }
    return resposta.constData();
}

}  // namespace

EXPORTA const char* ConsultarSAT(int s) {
    return responder([&](auto& d) { return d.ConsultarSAT(s); });
}
EXPORTA const char* ConsultarStatusOperacional(int s, const char* c) {
    return responder([&](auto& d) { return d.ConsultarStatusOperacional(s, c); });
}
EXPORTA const char* ConsultarNumeroSessao(int s, const char* c, int n) {
    return responder([&](auto& d) { return d.ConsultarNumeroSessao(s, c, n); });
}
EXPORTA const char* AtivarSAT(int s, int sub, const char* c, const char* cnpj, int uf) {
    return responder([&](auto& d) { return d.AtivarSAT(s, sub, c, cnpj, uf); });
}
EXPORTA const char* AssociarAssinatura(int s, const char* c, const char* cnpjs, const char* a) {
    return responder([&](auto& d) { return d.AssociarAssinatura(s, c, cnpjs, a); });
}
EXPORTA const char* TesteFimAFim(int s, const char* c, const char* doc) {
    return responder([&](auto& d) { return d.TesteFimAFim(s, c, doc); });
}
EXPORTA const char* EnviarDadosVenda(int s, const char* c, const char* doc) {
    return responder([&](auto& d) { return d.EnviarDadosVenda(s, c, doc); });
}
EXPORTA const char* CancelarUltimaVenda(int s, const char* c, const char* chave, const char* doc) {
    return responder([&](auto& d) { return d.CancelarUltimaVenda(s, c, chave, doc); });
}
EXPORTA const char* ConfigurarInterfaceDeRede(int s, const char* c, const char* doc) {
    return responder([&](auto& d) { return d.ConfigurarInterfaceDeRede(s, c, doc); });
}
EXPORTA const char* TrocarCodigoDeAtivacao(int s, const char* c, int opcao, const char* novo,
                                           const char* conf) {
    return responder([&](auto& d) { return d.TrocarCodigoDeAtivacao(s, c, opcao, novo, conf); });
}
EXPORTA const char* ExtrairLogs(int s, const char* c) {
    return responder([&](auto& d) { return d.ExtrairLogs(s, c); });
}
EXPORTA const char* AtualizarSoftwareSAT(int s, const char* c) {
    return responder([&](auto& d) { return d.AtualizarSoftwareSAT(s, c); });
}
EXPORTA const char* BloquearSAT(int s, const char* c) {
    return responder([&](auto& d) { return d.BloquearSAT(s, c); });
}
EXPORTA const char* DesbloquearSAT(int s, const char* c) {
    return responder([&](auto& d) { return d.DesbloquearSAT(s, c); });
}
