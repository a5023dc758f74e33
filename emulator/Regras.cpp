#include "emulator/Regras.h"

#include <algorithm>

#include "emulator/Atendimento.h"
#include "emulator/CFe.h"
#include "emulator/Dispositivo.h"
#include "emulator/Documentos.h"
#include "emulator/Resumo.h"
#include "emulator/Status.h"
#include "emulator/Texto.h"
#include "emulator/Venda.h"

namespace emulador {

namespace {

const char* const MsgCodigoInvalido = "Código de ativação inválido";
const char* const MsgNaoAtivado = "SAT ainda não ativado";
const char* const MsgBloqueado = "SAT bloqueado pelo contribuinte";
const char* const MsgErroConteudo = "Erro de validação do conteúdo";

std::string texto(const char* bytes) {
    return deWin1252(bytes);
}
std::string documento(const char* bytes) {
    return bytes ? bytes : "";
}

// Access as the standard gates it: only the device's own code, once activated.
bool confere(const Estado& e, const char* codigo) {
    return e.ativado && texto(codigo) == e.codigoAtivacao;
}
// Functions a factory-new device serves to any code.
bool livreOuConfere(const Estado& e, const char* codigo) {
    return !e.ativado || confere(e, codigo);
}

bool tamanhoDeCodigo(const std::string& codigo) {
    const std::size_t n = caracteres(codigo);
    return n >= 8 && n <= 32;
}

// 344 Base64 characters, as a signature of a 2048-bit key.
bool assinaturaBase64(const std::string& s) {
    const std::string alfabeto = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    return s.size() == 344 && s.find_first_not_of(alfabeto) >= 342 &&
           s.find_first_not_of(alfabeto + "=") == std::string::npos;
}

}  // namespace

void Regras::registrarEvento() {
    e.tamanhoLog = std::min(e.tamanhoLog + TamanhoLinhaLog, LimiteLog);
    e.ultimoEventoMs = agoraMs();
    mudou = true;
}

std::string Regras::ConsultarSAT(int) {
    return r.padrao(0, "SAT em operação");
}

std::string Regras::ConsultarStatusOperacional(int, const char* codigo) {
    if (!livreOuConfere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    return r.padrao(0, "Resposta com Sucesso", camposStatus(e, agoraMs()));
}

std::string Regras::ConsultarNumeroSessao(int, const char* codigo, int consultada) {
    if (!e.ativado) return r.padrao(2, MsgNaoAtivado);
    if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    if (const auto guardada = historico().buscar(consultada)) return *guardada;
    return r.padrao(3, "Sessão não existe");
}

std::string Regras::AtivarSAT(int, int subComando, const char* codigo, const char* cnpj, int uf) {
    const std::string novo = texto(codigo);
    const std::string contribuinte = texto(cnpj);
    if (e.ativado) return r.padrao(3, "SAT já ativado");
    if (subComando < 1 || subComando > 3 || !tamanhoDeCodigo(novo))
        return r.padrao(99, "Erro desconhecido na ativação");
    if (!cnpjValido(contribuinte))
        return r.padrao(2, "SEFAZ não reconhece este SAT (CNPJ inválido)");
    if (!ufValida(uf)) return r.padrao(2, "SEFAZ não reconhece este SAT (UF inválida)");
    e.ativado = true;
    e.ativadoEmMs = agoraMs();
    e.codigoAtivacao = novo;
    e.cnpjContribuinte = contribuinte;
    e.uf = uf;
    registrarEvento();
    if (subComando == 1) return r.padrao(0, "Ativado corretamente", {csr(e, contribuinte)});
    return r.padrao(6, "CSR ICP-BRASIL criado com sucesso", {csr(e, contribuinte)});
}

std::string Regras::AssociarAssinatura(int, const char* codigo, const char* cnpjs,
                                       const char* assinatura) {
    const std::string par = texto(cnpjs);
    const std::string sinal = texto(assinatura);
    if (!confere(e, codigo)) return r.detalhada(1, 0, MsgCodigoInvalido);
    if (par.size() != 28 || !cnpjValido(par.substr(0, 14)) || !cnpjValido(par.substr(14)))
        return r.detalhada(4, 1224,
                           "CNPJ da Software House + CNPJ do emitente assinado no campo signAC "
                           "difere do informado no campo CNPJvalue");
    if (par.substr(14) != e.cnpjContribuinte)
        return r.detalhada(7, 1203,
                           "CNPJ do contribuinte difere daquele constante da "
                           "parametrização de uso");
    if (sinal != Dispositivo::AssinaturaDesenvolvimento && !assinaturaBase64(sinal))
        return r.detalhada(3, 1222, "Assinatura fora do padrão informado");
    e.cnpjSoftwareHouse = par.substr(0, 14);
    e.assinatura = sinal;
    e.reinicioAteMs = agoraMs() + e.reinicioAposMs;
    registrarEvento();
    return r.detalhada(0, 0, "Assinatura do AC registrada");
}

std::string Regras::TesteFimAFim(int, const char* codigo, const char* xml) {
    if (!e.ativado) return r.padrao(2, MsgNaoAtivado);
    if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    const std::string bytes = documento(xml);
    if (bytes.size() > LimiteCFe) return r.padrao(99, "Erro desconhecido: CF-e maior que 1.500KB");
    const auto doc = lerXml(bytes);
    if (!doc || doc->nome != "CFe") return r.padrao(99, "Erro desconhecido");
    const Venda v = calcular(*doc);
    const std::int64_t agora = agoraMs();
    const std::string cnpj = cnpjValido(v.cnpjEmitente) ? v.cnpjEmitente : e.cnpjContribuinte;
    // Test documents do not take a number of the sales'.
    const std::string chave = novaChave(e.uf, cnpj, e.serie, 0, agora, codigoNumerico());
    const std::string qr = assinaturaFalsa(chave + "qr");
    registrarEvento();
    return r.padrao(
        0, "Emitido com sucesso",
        {base64(cfeEmitido(e, v, chave, agora, qr)), dataHora(agora), "000000", "CFe" + chave});
}

std::string Regras::EnviarDadosVenda(int, const char* codigo, const char* xml) {
    if (!e.ativado) return r.detalhada(2, 0, MsgNaoAtivado);
    if (!confere(e, codigo)) return r.detalhada(1, 0, MsgCodigoInvalido);
    if (e.bloqueado) return r.detalhada(6, 0, MsgBloqueado);
    if (e.assinatura.empty()) return r.detalhada(3, 0, "SAT não vinculado ao AC");
    const std::string bytes = documento(xml);
    if (bytes.size() > LimiteCFe)
        return r.detalhada(5, 0, "Tamanho do CF-e-SAT superior a 1.500KB");
    const auto doc = lerXml(bytes);
    const Venda v = doc ? calcular(*doc) : malformada();
    if (doc && doc->nome == "CFe" &&
        (v.signAC != e.assinatura ||
         (!e.cnpjSoftwareHouse.empty() && v.cnpjSoftwareHouse != e.cnpjSoftwareHouse)))
        return r.detalhada(4, 0, "Vinculação do AC não confere");
    if (v.cccc) return r.detalhada(10, v.cccc, MsgErroConteudo);
    if (v.cnpjEmitente != e.cnpjContribuinte)
        return r.detalhada(10, 1203, "Emitente não autorizado para uso do SAT");
    const std::int64_t agora = agoraMs();
    e.numeroCFe = e.numeroCFe % 999999 + 1;
    const std::string chave =
        novaChave(e.uf, v.cnpjEmitente, e.serie, e.numeroCFe, agora, codigoNumerico());
    const std::string qr = assinaturaFalsa(chave + "qr");
    e.ultimaChave = "CFe" + chave;
    e.ultimaVendaMs = agora;
    e.ultimoValor = valor(v.total);
    e.ultimoDestCnpj = v.destCnpj;
    e.ultimoDestCpf = v.destCpf;
    e.ultimoCFe = chave;
    e.ultimoCFeMs = agora;
    registrarEvento();
    return r.detalhada(0, 0, "Emitido com sucesso + conteúdo notas",
                       {base64(cfeEmitido(e, v, chave, agora, qr)), dataHora(agora), "CFe" + chave,
                        valor(v.total), v.destCnpj.empty() ? v.destCpf : v.destCnpj, qr});
}

std::string Regras::CancelarUltimaVenda(int, const char* codigo, const char* chave,
                                        const char* xml) {
    if (!confere(e, codigo)) return r.detalhada(1, 0, "Código ativação inválido");
    if (e.bloqueado) return r.detalhada(3, 0, MsgBloqueado);
    const std::string alvo = semPrefixo(texto(chave));
    const std::string bytes = documento(xml);
    const auto doc = bytes.size() > LimiteCFe ? std::nullopt : lerXml(bytes);
    const No* inf = doc && doc->nome == "CFeCanc" ? doc->filho("infCFe") : nullptr;
    if (!inf) return r.detalhada(7, 1999, MsgErroConteudo);
    if (!chaveValida(alvo) || semPrefixo(inf->atributo("chCanc")) != alvo)
        return r.detalhada(7, 1270, MsgErroConteudo);
    if (e.assinatura.empty() || inf->valor("ide/signAC") != e.assinatura)
        return r.detalhada(7, 1455, MsgErroConteudo);
    if (!e.cnpjSoftwareHouse.empty() && inf->valor("ide/CNPJ") != e.cnpjSoftwareHouse)
        return r.detalhada(7, 1454, MsgErroConteudo);
    if (alvo == e.chaveCancelada) return r.detalhada(7, 1218, MsgErroConteudo);
    if (semPrefixo(e.ultimaChave) != alvo) return r.detalhada(2, 0, "Cupom inválido");
    if (inf->valor("dest/CNPJ") != e.ultimoDestCnpj) return r.detalhada(7, 1232, MsgErroConteudo);
    if (inf->valor("dest/CPF") != e.ultimoDestCpf) return r.detalhada(7, 1233, MsgErroConteudo);
    const std::int64_t agora = agoraMs();
    if (agora - e.ultimaVendaMs > std::int64_t(30) * 60 * 1000)
        return r.detalhada(7, 1210, MsgErroConteudo);
    e.numeroCFe = e.numeroCFe % 999999 + 1;
    long long uf = 0;
    inteiro(alvo.substr(0, 2), uf);
    const std::string nova =
        novaChave(int(uf), alvo.substr(6, 14), e.serie, e.numeroCFe, agora, codigoNumerico());
    const std::string qr = assinaturaFalsa(nova + "qr");
    const std::string cancelamento = cfeCancelamento(e, nova, alvo, agora, *inf, qr);
    e.ultimaChave.clear();
    e.chaveCancelada = alvo;
    e.ultimoCFe = nova;
    e.ultimoCFeMs = agora;
    registrarEvento();
    return r.detalhada(
        0, 0, "Cupom cancelado com sucesso + conteúdo CF-e-SAT cancelado",
        {base64(cancelamento), dataHora(agora), "CFe" + nova, e.ultimoValor, "", qr});
}

std::string Regras::ConfigurarInterfaceDeRede(int, const char* codigo, const char* xml) {
    if (!livreOuConfere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    const std::string bytes = documento(xml);
    if (bytes.size() > LimiteRede || !lerRede(bytes))
        return r.padrao(2, "Dados fora do padrão a ser informado");
    e.redeXml = bytes;
    registrarEvento();
    return r.padrao(0, "Rede configurada com sucesso");
}

std::string Regras::TrocarCodigoDeAtivacao(int, const char* codigo, int opcao, const char* novo,
                                           const char* confirmacao) {
    if (opcao == 2) {
        if (!e.ativado || texto(codigo) != e.codigoEmergencia)
            return r.padrao(2, "Código de ativação de emergência incorreto");
    } else if (opcao == 1) {
        if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    } else {
        return r.padrao(99, "Erro desconhecido: opção inválida");
    }
    const std::string codigoNovo = texto(novo);
    if (codigoNovo != texto(confirmacao))
        return r.padrao(99, "Erro desconhecido: a confirmação difere do novo código");
    if (!tamanhoDeCodigo(codigoNovo))
        return r.padrao(99, "Erro desconhecido: o novo código deve ter de 8 a 32 caracteres");
    e.codigoAtivacao = codigoNovo;
    registrarEvento();
    return r.padrao(0, "Código de ativação alterado com sucesso");
}

std::string Regras::ExtrairLogs(int, const char* codigo) {
    if (!livreOuConfere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    const std::int64_t tamanho = e.tamanhoLog;
    const std::int64_t fimMs = e.ultimoEventoMs ? e.ultimoEventoMs : agoraMs() / 1000 * 1000;
    // The log, up to a GiB, is made once the device is released.
    depois = [tamanho, fimMs](std::string& resposta, const Continuar& continuar) {
        // The same size and end give the same log: keep the last one encoded.
        // Calls are served one at a time, so the cache needs no lock of its own.
        static std::int64_t feitoTamanho = -1, feitoFim = -1;
        static std::string codificado;
        if (feitoTamanho != tamanho || feitoFim != fimMs) {
            feitoTamanho = -1;
            codificado.clear();
            if (!logEmBase64(tamanho, fimMs, codificado, continuar)) return false;
            feitoTamanho = tamanho;
            feitoFim = fimMs;
        }
        resposta += codificado;
        return true;
    };
    return r.padrao(0, "Transferência completa", {""});
}

std::string Regras::AtualizarSoftwareSAT(int, const char* codigo) {
    if (!livreOuConfere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    e.versaoSoftware = versaoMaisUm(e.versaoSoftware);
    e.reinicioAteMs = agoraMs() + e.reinicioAposMs;
    registrarEvento();
    return r.padrao(0, "Software atualizado com sucesso");
}

std::string Regras::BloquearSAT(int, const char* codigo) {
    if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    if (e.bloqueado) return r.padrao(2, "Equipamento SAT já está bloqueado");
    e.bloqueado = true;
    registrarEvento();
    return r.padrao(0, "Equipamento SAT bloqueado com sucesso");
}

std::string Regras::DesbloquearSAT(int, const char* codigo) {
    if (!confere(e, codigo)) return r.padrao(1, MsgCodigoInvalido);
    if (!e.bloqueado) return r.padrao(5, "SAT já desbloqueado");
    e.bloqueado = false;
    registrarEvento();
    return r.padrao(0, "Equipamento SAT desbloqueado com sucesso");
}

}  // namespace emulador
