#include "emulator/Estado.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "emulator/Documentos.h"
#include "emulator/Funcoes.h"
#include "emulator/Json.h"
#include "emulator/Resumo.h"
#include "emulator/Texto.h"

namespace emulador {

Estado estadoNovo(const std::string& serie) {
    Estado e;
    e.serie = serie;
    // The maker's emergency code is fixed per device.
    const std::string h = sha256("emergencia" + serie);
    std::uint32_t n = 0;
    for (int i = 0; i < 4; ++i) n = n << 8 | static_cast<unsigned char>(h[i]);
    e.codigoEmergencia = std::to_string(n % 90000000 + 10000000);
    e.versaoSoftware = "01.00.00";
    e.versaoLayout = "00.07";
    return e;
}

namespace {

// Writes one key after another, in the order given.
class Escritor {
  public:
    template <typename T>
    Escritor& operator()(const char* chave, const T& valor) {
        m_json += std::string(m_json.size() > 1 ? ",\n" : "\n") + "    " + jsonTexto(chave) + ": " +
                  texto(valor);
        return *this;
    }
    std::string fim() const { return m_json + "\n}\n"; }

  private:
    static std::string texto(const std::string& s) { return jsonTexto(s); }
    static std::string texto(bool b) { return b ? "true" : "false"; }
    static std::string texto(int n) { return std::to_string(n); }
    static std::string texto(std::int64_t n) { return std::to_string(n); }
    template <typename V>
    static std::string texto(const std::map<std::string, V>& mapa) {
        std::string t = "{";
        for (const auto& [funcao, valor] : mapa)
            t += std::string(t.size() > 1 ? ", " : "") + jsonTexto(funcao) + ": " + texto(valor);
        return t + "}";
    }
    std::string m_json = "{";
};

// Reads one key, insisting on its type: a state edited by hand into another
// type is corrupt, not silently a default.
class Leitor {
  public:
    explicit Leitor(const Json& o) : m_o(o) {}
    Leitor& operator()(const char* chave, std::string& destino) {
        if (const Json* v = valor(chave, Json::Texto)) destino = v->texto;
        return *this;
    }
    Leitor& operator()(const char* chave, bool& destino) {
        if (const Json* v = valor(chave, Json::Logico)) destino = v->logico;
        return *this;
    }
    template <typename T>
    Leitor& operator()(const char* chave, T& destino) {
        if (const Json* v = valor(chave, Json::Numero)) destino = inteiro<T>(chave, v->numero);
        return *this;
    }
    Leitor& operator()(const char* chave, std::map<std::string, int>& destino) {
        if (const Json* v = valor(chave, Json::Objeto))
            for (const auto& [funcao, ms] : v->membros) {
                if (ms.tipo != Json::Numero) throw std::runtime_error(chave);
                destino[funcao] = inteiro<int>(chave, ms.numero);
            }
        return *this;
    }
    Leitor& operator()(const char* chave, std::map<std::string, std::string>& destino) {
        if (const Json* v = valor(chave, Json::Objeto))
            for (const auto& [funcao, t] : v->membros) {
                if (t.tipo != Json::Texto) throw std::runtime_error(chave);
                destino[funcao] = t.texto;
            }
        return *this;
    }

  private:
    // Whole numbers in the type's range only: a cast out of it is undefined.
    template <typename T>
    static T inteiro(const char* chave, double d) {
        if (d != std::floor(d) || d < double(std::numeric_limits<T>::min()) / 2 ||
            d > double(std::numeric_limits<T>::max()) / 2)
            throw std::runtime_error(chave);
        return static_cast<T>(d);
    }
    const Json* valor(const char* chave, Json::Tipo tipo) {
        const Json* v = m_o.membro(chave);
        if (v && v->tipo != tipo) throw std::runtime_error(chave);
        return v;
    }
    const Json& m_o;
};

// Every key of the state, for writing and for reading alike.
template <typename Campos, typename E>
void campos(Campos&& c, E& e) {
    c("serie", e.serie)("conectado", e.conectado)("ocupado", e.ocupado)(
        "ocupadoAteMs", e.ocupadoAteMs)("latenciaMs", e.latenciaMs)(
        "latenciaPorFuncao", e.latenciaPorFuncao)("reinicioAteMs", e.reinicioAteMs)(
        "reinicioAposMs", e.reinicioAposMs)("ativado", e.ativado)("ativadoEmMs", e.ativadoEmMs)(
        "codigoAtivacao", e.codigoAtivacao)("codigoEmergencia", e.codigoEmergencia)(
        "cnpjContribuinte", e.cnpjContribuinte)("uf", e.uf)(
        "cnpjSoftwareHouse", e.cnpjSoftwareHouse)("assinatura", e.assinatura)(
        "bloqueado", e.bloqueado)("redeXml", e.redeXml)("versaoSoftware", e.versaoSoftware)(
        "versaoLayout", e.versaoLayout)("tamanhoLog", e.tamanhoLog)(
        "ultimoEventoMs", e.ultimoEventoMs)("ultimaChave", e.ultimaChave)(
        "ultimaVendaMs", e.ultimaVendaMs)("ultimoValor", e.ultimoValor)(
        "ultimoDestCnpj", e.ultimoDestCnpj)("ultimoDestCpf", e.ultimoDestCpf)(
        "chaveCancelada", e.chaveCancelada)("ultimoCFe", e.ultimoCFe)("ultimoCFeMs", e.ultimoCFeMs)(
        "numeroCFe", e.numeroCFe)("diario", e.diario)("falhas", e.falhas)("inundacaoMib",
                                                                          e.inundacaoMib);
}

void exigir(bool valido, const char* oQue) {
    if (!valido) throw std::runtime_error(oQue);
}

bool digitos(const std::string& s, std::size_t n) {
    return s.size() == n && soDigitos(s);
}
bool vazioOuDigitos(const std::string& s, std::size_t n) {
    return s.empty() || digitos(s, n);
}
bool funcaoOuTodas(const std::string& nome) {
    return nome == TodasAsFuncoes || funcaoDe(nome.c_str());
}

// Every value in the range a device gives it: what is read is believed.
void conferir(const Estado& e) {
    exigir(digitos(e.serie, 9), "serie");
    exigir(e.numeroCFe >= 0 && e.numeroCFe <= 999999, "numeroCFe");
    exigir(e.tamanhoLog >= 0 && e.tamanhoLog <= LimiteLog, "tamanhoLog");
    exigir(e.latenciaMs >= 0 && e.latenciaMs <= LimiteLatenciaMs, "latenciaMs");
    for (const auto& [funcao, ms] : e.latenciaPorFuncao)
        exigir(funcaoDe(funcao.c_str()) && ms >= 0 && ms <= LimiteLatenciaMs, "latenciaPorFuncao");
    exigir(e.reinicioAposMs >= 0 && e.reinicioAposMs <= 86400000, "reinicioAposMs");
    for (std::int64_t ms : {e.reinicioAteMs, e.ocupadoAteMs, e.ativadoEmMs, e.ultimaVendaMs,
                            e.ultimoCFeMs, e.ultimoEventoMs})
        exigir(ms >= 0, "Ms");
    exigir(e.uf == 0 || ufValida(e.uf), "uf");
    exigir(vazioOuDigitos(e.cnpjContribuinte, 14) && vazioOuDigitos(e.cnpjSoftwareHouse, 14) &&
               vazioOuDigitos(e.ultimoDestCnpj, 14) && vazioOuDigitos(e.ultimoDestCpf, 11),
           "CNPJ");
    exigir(e.ultimaChave.empty() ||
               (comeca(e.ultimaChave, "CFe") && digitos(e.ultimaChave.substr(3), 44)),
           "ultimaChave");
    exigir(vazioOuDigitos(e.chaveCancelada, 44) && vazioOuDigitos(e.ultimoCFe, 44), "chave");
    for (const auto& [funcao, modo] : e.falhas)
        exigir(funcaoOuTodas(funcao) && modoDeFalha(modo), "falhas");
    for (const auto& [funcao, mib] : e.inundacaoMib)
        exigir(funcaoOuTodas(funcao) && mib > 0 && mib <= LimiteInundacaoMib, "inundacaoMib");
}

}  // namespace

std::string paraJson(const Estado& e) {
    Escritor escritor;
    campos(escritor, e);
    return escritor.fim();
}

Estado deJson(const std::string& json) {
    const Json doc = lerJson(json);
    if (doc.tipo != Json::Objeto) throw std::runtime_error("json");
    Estado e;
    campos(Leitor(doc), e);
    conferir(e);
    return e;
}

bool modoDeFalha(const std::string& modo) {
    for (const char* m : ModosFalha)
        if (modo == m) return true;
    return false;
}

}  // namespace emulador
