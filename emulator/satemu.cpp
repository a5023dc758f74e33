// satemu: the control command of the emulated SAT device.
#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <QTextStream>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

#include "emulator/Controle.h"
#include "emulator/Documentos.h"

using emulador::Controle;
using emulador::Estado;

namespace {

const char* const Uso =
    "Uso: satemu COMANDO [ARGUMENTOS]\n"
    "Controla o SAT emulado (libdllsat.so). Estado em $SAT_EMULADOR_DIR, sen\u00e3o em\n"
    "$XDG_STATE_HOME/sat-emulador (~/.local/state/sat-emulador).\n"
    "\n"
    "Comandos:\n"
    "  estado                     mostra o estado do SAT em JSON (c\u00f3digos inclusos)\n"
    "  novo                       liga um SAT novo de f\u00e1brica, com outro n\u00famero de "
    "s\u00e9rie\n"
    "  fabrica                    volta este SAT ao estado de f\u00e1brica (mesmo n\u00famero de "
    "s\u00e9rie)\n"
    "  proximo [SEGUNDOS]         desconecta este SAT e conecta um novo depois de SEGUNDOS (2)\n"
    "  desconectar                tira o SAT da porta\n"
    "  conectar                   p\u00f5e o SAT na porta (e encerra um rein\u00edcio em curso)\n"
    "  reiniciar [SEGUNDOS]       reinicia agora: sem resposta por SEGUNDOS (3)\n"
    "  tempo-reinicio SEGUNDOS    dura\u00e7\u00e3o dos rein\u00edcios ap\u00f3s associar e "
    "atualizar (3)\n"
    "  ocupado [on|off|SEGUNDOS]  SAT em processamento (xx098), at\u00e9 off ou por SEGUNDOS\n"
    "  latencia [FUNCAO] MS       atraso de cada resposta (ou s\u00f3 da FUNCAO) em ms\n"
    "  ativado CODIGO [CNPJ UF [ASSINATURA]]\n"
    "                             SAT j\u00e1 ativado com este c\u00f3digo (e associado, com "
    "ASSINATURA)\n"
    "  log BYTES                  tamanho do log que ExtrairLogs devolve\n"
    "  diario on|off              di\u00e1rio de todas as chamadas (diario.txt na pasta do "
    "estado)\n"
    "  ajuda, --help              esta ajuda\n";

const QStringList Funcoes{"ConsultarSAT",
                          "ConsultarStatusOperacional",
                          "ConsultarNumeroSessao",
                          "AtivarSAT",
                          "AssociarAssinatura",
                          "TesteFimAFim",
                          "EnviarDadosVenda",
                          "CancelarUltimaVenda",
                          "ConfigurarInterfaceDeRede",
                          "TrocarCodigoDeAtivacao",
                          "ExtrairLogs",
                          "AtualizarSoftwareSAT",
                          "BloquearSAT",
                          "DesbloquearSAT"};

// Wrong use of the command: the message, then the usage.
class ErroUso : public std::runtime_error {
  public:
    explicit ErroUso(const QString& m) : std::runtime_error(m.toStdString()) {}
};

QTextStream& saida() {
    static QTextStream s(stdout);
    return s;
}

qint64 agoraMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

qint64 numero(const QString& t, qint64 maximo, const char* oQue) {
    bool ok = false;
    const qint64 n = t.toLongLong(&ok);
    if (!ok || n < 0 || n > maximo)
        throw ErroUso(QStringLiteral("%1 inv\u00e1lido: \"%2\"").arg(QLatin1String(oQue), t));
    return n;
}

int segundosEmMs(const QString& t) {
    bool ok = false;
    const double s = t.toDouble(&ok);
    if (!ok || !std::isfinite(s) || s < 0 || s > 86400)
        throw ErroUso(QStringLiteral("Segundos inv\u00e1lidos: \"%1\"").arg(t));
    return int(std::lround(s * 1000));
}

bool ligado(const QString& t) {
    if (t == QLatin1String("on")) return true;
    if (t == QLatin1String("off")) return false;
    throw ErroUso(QStringLiteral("Use on ou off, n\u00e3o \"%1\"").arg(t));
}

void argumentos(const QStringList& a, int minimo, int maximo) {
    if (a.size() < minimo || a.size() > maximo)
        throw ErroUso(QStringLiteral("N\u00famero de argumentos errado"));
}

void executar(Controle& c, const QString& comando, const QStringList& a) {
    using Acao = std::function<void()>;
    const std::map<QString, Acao> acoes{
        {"estado",
         [&] {
             argumentos(a, 0, 0);
             saida() << QString::fromUtf8(emulador::paraJson(c.estado()));
         }},
        {"novo",
         [&] {
             argumentos(a, 0, 0);
             c.novo();
             saida() << "SAT novo conectado, s\u00e9rie " << c.estado().serie << "\n";
         }},
        {"fabrica",
         [&] {
             argumentos(a, 0, 0);
             c.fabrica();
             saida() << "SAT de volta ao estado de f\u00e1brica, s\u00e9rie " << c.estado().serie
                     << "\n";
         }},
        {"proximo",
         [&] {
             argumentos(a, 0, 1);
             c.proximo(a.isEmpty() ? 2000 : segundosEmMs(a[0]));
             saida() << "Pr\u00f3ximo SAT, s\u00e9rie " << c.estado().serie << "\n";
         }},
        {"desconectar",
         [&] {
             argumentos(a, 0, 0);
             c.conectar(false);
             saida() << "SAT desconectado\n";
         }},
        {"conectar",
         [&] {
             argumentos(a, 0, 0);
             c.conectar(true);
             saida() << "SAT conectado\n";
         }},
        {"reiniciar",
         [&] {
             argumentos(a, 0, 1);
             c.reiniciar(a.isEmpty() ? 3000 : segundosEmMs(a[0]));
             saida() << "SAT reiniciando\n";
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
             if (a.isEmpty() || a[0] == QLatin1String("on") || a[0] == QLatin1String("off")) {
                 c.ocupar(a.isEmpty() || ligado(a[0]));
                 return;
             }
             const qint64 ate = agoraMs() + segundosEmMs(a[0]);
             c.alterar([ate](Estado& e) { e.ocupadoAteMs = ate; });
         }},
        {"latencia",
         [&] {
             argumentos(a, 1, 2);
             const int ms = int(numero(a.last(), 600000, "Atraso"));
             if (a.size() == 1) {
                 c.latencia(ms);
                 return;
             }
             if (!Funcoes.contains(a[0]))
                 throw ErroUso(QStringLiteral("Fun\u00e7\u00e3o desconhecida: \"%1\"").arg(a[0]));
             c.alterar([&](Estado& e) { e.latenciaPorFuncao.insert(a[0], ms); });
         }},
        {"ativado",
         [&] {
             argumentos(a, 1, 4);
             if (a.size() == 2) throw ErroUso(QStringLiteral("Informe CNPJ e UF juntos"));
             const QString cnpj = a.value(1, QStringLiteral("11111111111111"));
             const int uf = a.size() > 2 ? int(numero(a[2], 99, "UF")) : 35;
             if (a.size() > 2 && (!emulador::cnpjValido(cnpj) || !emulador::ufValida(uf)))
                 throw ErroUso(QStringLiteral("CNPJ ou UF inv\u00e1lidos"));
             c.ativado(a[0], cnpj, uf, a.value(3));
             saida() << "SAT ativado com o c\u00f3digo " << a[0] << "\n";
         }},
        {"log",
         [&] {
             argumentos(a, 1, 1);
             const qint64 n = numero(a[0], qint64(1) << 30, "Tamanho");
             c.alterar([n](Estado& e) { e.tamanhoLog = n; });
         }},
        {"diario",
         [&] {
             argumentos(a, 1, 1);
             const bool on = ligado(a[0]);
             c.alterar([on](Estado& e) { e.diario = on; });
         }},
    };
    const auto it = acoes.find(comando);
    if (it == acoes.end())
        throw ErroUso(QStringLiteral("Comando desconhecido: \"%1\"").arg(comando));
    it->second();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream erro(stderr);
    if (args.isEmpty()) {
        erro << QString::fromUtf8(Uso);
        return 2;
    }
    const QString comando = args.takeFirst();
    if (comando == QLatin1String("--help") || comando == QLatin1String("-h") ||
        comando == QLatin1String("ajuda")) {
        saida() << QString::fromUtf8(Uso);
        return 0;
    }
    try {
        Controle controle;
        executar(controle, comando, args);
    } catch (const ErroUso& e) {
        erro << "satemu: " << QString::fromUtf8(e.what()) << "\n\n" << QString::fromUtf8(Uso);
        return 2;
    } catch (const std::exception& e) {
        erro << "satemu: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }
    return 0;
}
