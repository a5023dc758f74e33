#include "core/Inicio.h"

#include <QCommandLineParser>
#include <cstdio>

#include "core/Portas.h"
#include "core/Saida.h"
#include "device/DllSat.h"
#include "device/Sistema.h"

std::optional<int> lerLinhaDeComando(const QStringList& argumentos, PedidoBiblioteca& pedido) {
    QCommandLineParser linha;
    linha.setApplicationDescription(
        QStringLiteral("Ferramenta de serviço do SAT KT-470e da Tivoro.\n"
                       "Sem opções, usa a biblioteca %1 da pasta do programa ou da busca do "
                       "sistema\n(%2); SAT_BIBLIOTECA=CAMINHO indica outra.\n")
            .arg(QLatin1String(sistema::NomeBiblioteca), QLatin1String(sistema::ResumoDaBusca)) +
        QStringLiteral(
            "A biblioteca roda no programa auxiliar sat-auxiliar, uma chamada por vez; cada função\n"
            "tem um tempo limite (de 15 s em ConsultarSAT a 1800 s em AtualizarSoftwareSAT; veja\n"
            "man tool-sat-tivoro), após o qual a chamada devolve TIMEOUT. SAT_TEMPO_LIMITE=SEGUNDOS\n"
            "dá um só limite a todas."));
    const QCommandLineOption ajuda({"h", "help"}, QStringLiteral("Mostra esta ajuda."));
    const QCommandLineOption versao({"v", "version"}, QStringLiteral("Mostra a versão."));
    const QCommandLineOption biblioteca("biblioteca",
                                        QStringLiteral("Usa a biblioteca do SAT neste caminho."),
                                        QStringLiteral("CAMINHO"));
    const QCommandLineOption emulador(
        "emulador", QStringLiteral("Usa o SAT emulado (pacote sat-emulador), nenhum SAT real."));
    linha.addOptions({ajuda, versao, biblioteca, emulador});
    if (!linha.parse(argumentos)) {
        const QString erro =
            linha.unknownOptionNames().isEmpty()
                ? linha.errorText()
                : QStringLiteral("opção desconhecida: ") + linha.unknownOptionNames().join(", ");
        escreverTexto(
            stderr,
            QStringLiteral("tool-sat-tivoro: %1\nUse --help para ver as opções.\n").arg(erro));
        return 2;
    }
    if (linha.isSet(ajuda)) {
        // Read before the toolkit starts: no program name and no translation yet.
        escreverTexto(stdout, linha.helpText()
                                  .replace("<executable_name>", "tool-sat-tivoro")
                                  .replace("Usage:", "Uso:")
                                  .replace("[options]", QStringLiteral("[opções]"))
                                  .replace("Options:", QStringLiteral("Opções:")));
        return 0;
    }
    if (linha.isSet(versao)) {
        escreverTexto(stdout, QStringLiteral("tool-sat-tivoro " SAT_VERSAO "\n"));
        return 0;
    }
    if (!linha.positionalArguments().isEmpty() ||
        (linha.isSet(biblioteca) && linha.isSet(emulador))) {
        escreverTexto(stderr,
                      QStringLiteral("tool-sat-tivoro: use --biblioteca CAMINHO ou --emulador, "
                                     "sem outros argumentos.\n"));
        return 2;
    }
    pedido.caminho = linha.value(biblioteca);
    pedido.emulador = linha.isSet(emulador);
    pedido.variavel = qEnvironmentVariable("SAT_BIBLIOTECA");
    return std::nullopt;
}

void avisarDaBiblioteca(const QString& texto, PortaDialogos& dialogos) {
    escreverTexto(stderr, QStringLiteral("tool-sat-tivoro: ") + texto + '\n');
    dialogos.erro(texto);
}

std::unique_ptr<DllSat> abrirBiblioteca(const PedidoBiblioteca& pedido,
                                        const QString& pastaPrograma, PortaDialogos& dialogos) {
    try {
        auto dll = DllSat::carregar(escolherBiblioteca(pedido, pastaPrograma));
        escreverTexto(stderr, QStringLiteral("biblioteca: %1%2%3\n")
                                  .arg(dll->caminho(), sistema::marcaArquitetura(dll->caminho()),
                                       dll->emulado() ? " (SAT EMULADO)" : ""));
        return dll;
    } catch (const DllSat::ErroCarga& erro) {
        avisarDaBiblioteca(QString::fromUtf8(erro.what()), dialogos);
        return nullptr;
    }
}
