#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "core/Arquivos.h"
#include "device/DllSat.h"
#include "device/Sistema.h"
#include "device/VersaoArquivo.h"
#include "tests/apoio/Ambiente.h"
#include "tests/apoio/EsperaGravada.h"
#include "tests/apoio/FifoTeste.h"

// What differs on Windows: the version resource, the helper of each
// architecture, a crash or a hang inside a maker's DLL, and the files the
// user names.
class TstWindows : public QObject {
    Q_OBJECT

    static std::unique_ptr<DllSat> carregar(const QString& caminho, EsperaGravada& espera) {
        auto dll = DllSat::carregarDe(caminho);
        dll->setEspera(&espera);
        return dll;
    }

  private Q_SLOTS:
    void versaoLidaDoRecurso() {
        QCOMPARE(EmpresaArquivo(DLLSAT_TIVORO),
                 QStringLiteral("Tivoro Telecomunicacoes e Informatica S/A"));
        QCOMPARE(VersaoArquivo(DLLSAT_TIVORO), QStringLiteral("1.0.2.15"));
        QCOMPARE(EmpresaArquivo(DLLSAT_OUTRA_EMPRESA),
                 QStringLiteral("Tivoro Telecomunicacoes e Informatica S/A "));
        QCOMPARE(VersaoArquivo(DLLSAT_SEM_SECAO), QStringLiteral("0.0.0.0"));
    }

    void semRecursoOuTraducaoDizOQueFalta_data() {
        QTest::addColumn<QString>("dll");
        QTest::addColumn<QString>("falta");
        QTest::newRow("sem recurso")
            << QString(DLLSAT_SEM_SECAO) << QStringLiteral("sem o recurso de versão (VERSIONINFO)");
        QTest::newRow("sem tradução") << QString(DLLSAT_SEM_TRADUCAO)
                                      << QStringLiteral("sem a entrada \\VarFileInfo\\Translation");
        QTest::newRow("inexistente")
            << QStringLiteral("C:/nao/existe/dllsat.dll") << QStringLiteral("o arquivo não existe");
    }
    void semRecursoOuTraducaoDizOQueFalta() {
        QFETCH(QString, dll);
        QFETCH(QString, falta);
        try {
            EmpresaArquivo(dll);
            QFAIL("leu a empresa de um arquivo sem ela");
        } catch (const ErroSistemaOperacional& e) {
            QVERIFY2(e.falta().startsWith(falta), qPrintable(e.falta()));
            QVERIFY(!e.texto().isEmpty());
        }
    }

    // Each architecture's DLL answers through the helper built for it, and
    // the start's line says which.
    void cadaArquiteturaPorSeuAuxiliar_data() {
        QTest::addColumn<QString>("dll");
        QTest::addColumn<QString>("marca");
        QTest::newRow("64 bits") << QString(DLLSAT_TIVORO) << QStringLiteral(" (64 bits)");
#ifdef DLLSAT_TIVORO_32
        QTest::newRow("32 bits") << QString(DLLSAT_TIVORO_32) << QStringLiteral(" (32 bits)");
#endif
    }
    void cadaArquiteturaPorSeuAuxiliar() {
        QFETCH(QString, dll);
        QFETCH(QString, marca);
        EsperaGravada espera;
        auto binding = carregar(dll, espera);
        QCOMPARE(sistema::marcaArquitetura(dll), marca);
        QCOMPARE(binding->ConsultarSAT(5), QStringLiteral("1|08000|SAT em operação||"));
        const Ambiente eco{{"DLLSAT_FALSO_ECO", "2"}};
        auto outra = carregar(dll, espera);
        QCOMPARE(outra->EnviarDadosVenda(1, "codigo", "<CFe>a\xe7\xe3o</CFe>"),
                 QStringLiteral("<CFe>ação</CFe>"));
        QVERIFY(espera.falhas.isEmpty());
    }

    void bibliotecaNumaPastaComAcentos() {
        QTemporaryDir raiz;
        const QString pasta = raiz.filePath(QStringLiteral("Configuração ßøñ"));
        QVERIFY(QDir().mkpath(pasta));
        const QString copia = pasta + QStringLiteral("/dllsat.dll");
        QVERIFY(QFile::copy(DLLSAT_TIVORO, copia));
        EsperaGravada espera;
        auto dll = carregar(copia, espera);
        QCOMPARE(QFileInfo(dll->caminho()).canonicalFilePath(),
                 QFileInfo(copia).canonicalFilePath());
        QCOMPARE(dll->ConsultarSAT(5), QStringLiteral("1|08000|SAT em operação||"));
    }

    // A crash ends the helper, not the tool: the call says so, and the next
    // one works on a fresh helper.
    void quedaNaBibliotecaEAProximaChamada_data() {
        QTest::addColumn<QByteArray>("falha");
        QTest::addColumn<QString>("como");
        QTest::newRow("sinal") << QByteArray("sinal") << QStringLiteral("a exceção 0xC0000005");
        QTest::newRow("abortar") << QByteArray("abortar") << QStringLiteral("o código de saída 3");
        QTest::newRow("sair") << QByteArray("sair") << QStringLiteral("o código de saída 3");
    }
    void quedaNaBibliotecaEAProximaChamada() {
        QFETCH(QByteArray, falha);
        QFETCH(QString, como);
        EsperaGravada espera;
        std::unique_ptr<DllSat> dll;
        {
            const Ambiente a{{"DLLSAT_FALSO_FALHA", "BloquearSAT:" + falha}};
            dll = carregar(DLLSAT_TIVORO, espera);
            QCOMPARE(dll->BloquearSAT(3, "codigo"),
                     "a biblioteca do fabricante terminou com " + como + " em BloquearSAT");
        }
        QCOMPARE(espera.falhas.size(), 1);
        QCOMPARE(dll->ConsultarSAT(4), QStringLiteral("1|08000|SAT em operação||"));
    }

    // Past its limit the helper is killed with all it started.
    void travadaViraTimeout() {
        EsperaGravada espera;
        std::unique_ptr<DllSat> dll;
        {
            const Ambiente a{{"DLLSAT_FALSO_FALHA", "ConsultarSAT:travar"},
                             {"SAT_TEMPO_LIMITE", "1"}};
            dll = carregar(DLLSAT_TIVORO, espera);
            QElapsedTimer relogio;
            relogio.start();
            QCOMPARE(dll->ConsultarSAT(3), QStringLiteral("TIMEOUT"));
            QVERIFY(relogio.elapsed() < 10000);
        }
        QCOMPARE(espera.falhas.size(), 1);
        QCOMPARE(dll->ConsultarSAT(4), QStringLiteral("1|08000|SAT em operação||"));
    }

    // A pipe is no file: refused at once, never waited on.
    void canoNaoEhArquivo() {
        const FifoTeste cano(QString(), 5000);
        const ResultadoArquivo r = lerArquivoComum(cano.caminho, LimiteDocumento);
        QCOMPARE(r.falha, ResultadoArquivo::Falha::NaoAbriu);
        QCOMPARE(r.motivo, QStringLiteral("não é um arquivo comum"));
        QVERIFY(!cano.precisouLiberar());
    }

    void acrescentaEDesfazNada() {
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath("log.txt");
        QCOMPARE(acrescentarArquivoComum(arquivo, "um\n").falha, ResultadoArquivo::Falha::Nenhuma);
        QCOMPARE(acrescentarArquivoComum(arquivo, "dois\n").falha,
                 ResultadoArquivo::Falha::Nenhuma);
        QCOMPARE(lerArquivoComum(arquivo, 100).dados, QByteArray("um\ndois\n"));
    }
};

QTEST_GUILESS_MAIN(TstWindows)
#include "tst_windows.moc"
