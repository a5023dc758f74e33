#include <dlfcn.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>

#include "device/DllSat.h"
#include "device/EscolhaBiblioteca.h"
#include "device/VersaoArquivo.h"
#include "tests/apoio/Ambiente.h"
#include "tests/apoio/CanalNoProcesso.h"
#include "tests/apoio/EsperaGravada.h"

// The binding against stand-in libraries whose arguments and replies the test
// controls: in the test's own process, and through the helper program.
class TstDllSat : public QObject {
    Q_OBJECT

    template <typename F>
    F falsa(const char* nome) {
        void* h = dlopen(DLLSAT_TIVORO, RTLD_NOW | RTLD_NOLOAD);
        return reinterpret_cast<F>(dlsym(h, nome));
    }
    void responder(const char* texto) {
        falsa<void (*)(const char*)>("DllSatFalsoResponder")(texto);
    }
    QByteArray argumento(int i) {
        return QByteArray(falsa<const char* (*)(int)>("DllSatFalsoArgumento")(i));
    }
    bool argumentoNulo(int i) { return falsa<int (*)(int)>("DllSatFalsoArgumentoNulo")(i) != 0; }

    std::unique_ptr<DllSat> m_dll;

  private Q_SLOTS:
    std::unique_ptr<DllSat> pelaAuxiliar(EsperaGravada& espera) {
        auto dll = DllSat::carregarDe(DLLSAT_TIVORO);
        dll->setEspera(&espera);
        return dll;
    }

    void initTestCase() { m_dll = carregarNoProcesso(DLLSAT_TIVORO); }
    void init() { responder("1|08000|ok||"); }

    // Named first, then the environment, then the program's folder; the
    // emulated device only when asked for.
    void escolheABibliotecaNestaOrdem() {
        QTemporaryDir programa;
        const QString local = programa.filePath("libdllsat.so");
        QVERIFY(QFile::copy(DLLSAT_TIVORO, local));
        QCOMPARE(escolherBiblioteca({"/a/lib.so", false, "/b/lib.so"}, programa.path()).caminho,
                 QStringLiteral("/a/lib.so"));
        QCOMPARE(escolherBiblioteca({{}, false, "/b/lib.so"}, programa.path()).caminho,
                 QStringLiteral("/b/lib.so"));
        QCOMPARE(escolherBiblioteca({}, programa.path()).caminho, local);
        QCOMPARE(escolherBiblioteca({{}, true, "/b/lib.so"}, programa.path()).caminho,
                 QDir::cleanPath(programa.path() + "/" SAT_EMULADOR_DO_PROGRAMA "/libdllsat.so"));
    }

    void semPastaUsaABuscaDaPlataforma() {
        // LD_LIBRARY_PATH of this test names the stand-in's folder.
        QTemporaryDir vazia;
        const EscolhaBiblioteca escolha = escolherBiblioteca({}, vazia.path());
        QVERIFY(escolha.porBusca);
        QCOMPARE(escolha.procurados.value(1),
                 "LD_LIBRARY_PATH: " + QFileInfo(DLLSAT_TIVORO).absoluteFilePath());
        auto dll = DllSat::carregar(escolha);
        QCOMPARE(dll->caminho(), QFileInfo(DLLSAT_TIVORO).absoluteFilePath());
        QVERIFY(!dll->emulado());
    }

    void bibliotecaAusenteOuIncompletaDizOQueFalta() {
        try {
            DllSat::carregar(escolherBiblioteca({"/nao/existe/libdllsat.so", false, {}}, "/"));
            QFAIL("carregou uma biblioteca inexistente");
        } catch (const DllSat::ErroCarga& erro) {
            const QString texto = QString::fromUtf8(erro.what());
            QVERIFY(texto.contains("1. --biblioteca /nao/existe/libdllsat.so"));
            QVERIFY(texto.contains("tool-sat-tivoro --emulador"));
        }
        try {
            DllSat::carregarDe(DLLSAT_INCOMPLETA);
            QFAIL("carregou uma biblioteca sem DesbloquearSAT");
        } catch (const DllSat::ErroCarga& erro) {
            const QString texto = QString::fromUtf8(erro.what());
            QVERIFY(texto.contains("Arquivo: " + QFileInfo(DLLSAT_INCOMPLETA).absoluteFilePath()));
            QVERIFY(texto.contains(QStringLiteral("Falta: a função DesbloquearSAT")));
        }
    }

    void respostaNulaDizQueNaoHouveResposta() {
        responder(nullptr);
        QCOMPARE(m_dll->ConsultarSAT(1), DllSat::SemResposta);
        responder("");
        QCOMPARE(m_dll->ExtrairLogs(1, "x"), DllSat::SemResposta);
    }

    // The frames carry every byte, and a null text stays null.
    void argumentosCruzamOProgramaAuxiliarInalterados() {
        EsperaGravada espera;
        QByteArray documento = "<CFe>";
        for (int c = 1; c < 0x100; ++c) documento.append(char(c));
        const Ambiente eco{{"DLLSAT_FALSO_ECO", "2"}};
        auto dll = pelaAuxiliar(espera);
        QCOMPARE(DllSat::paraWin1252(dll->EnviarDadosVenda(1, "codigo", documento)), documento);
        QCOMPARE(dll->CancelarUltimaVenda(1, "codigo", QString(), documento), QString("(nulo)"));
        QVERIFY(espera.falhas.isEmpty());
    }

    // A library that crashes, ends or floods: the call says so, the box too,
    // and the next call works on a fresh helper.
    void falhaDaBibliotecaViraTextoEAProximaChamadaFunciona_data() {
        QTest::addColumn<QByteArray>("falha");
        QTest::addColumn<QString>("resposta");
        QTest::addColumn<bool>("caixa");
        QTest::newRow("sinal")
            << QByteArray("sinal")
            << "a biblioteca do fabricante terminou com o sinal 11 em BloquearSAT" << true;
        QTest::newRow("abort") << QByteArray("abortar")
                               << "a biblioteca do fabricante terminou com o sinal 6 em BloquearSAT"
                               << true;
        QTest::newRow("exit") << QByteArray("sair")
                              << "a biblioteca do fabricante terminou com o código de saída 3 em "
                                 "BloquearSAT"
                              << true;
        QTest::newRow("enchente") << QByteArray("inundar")
                                  << "a biblioteca devolveu a BloquearSAT uma resposta de 41943040 "
                                     "bytes, acima do limite de 33554432 bytes; a resposta foi "
                                     "descartada"
                                  << true;
        QTest::newRow("nula") << QByteArray("nula") << DllSat::SemResposta << false;
        QTest::newRow("vazia") << QByteArray("vazia") << DllSat::SemResposta << false;
    }
    void falhaDaBibliotecaViraTextoEAProximaChamadaFunciona() {
        QFETCH(QByteArray, falha);
        QFETCH(QString, resposta);
        QFETCH(bool, caixa);
        EsperaGravada espera;
        std::unique_ptr<DllSat> dll;
        {
            const Ambiente a{{"DLLSAT_FALSO_FALHA", "BloquearSAT:" + falha}};
            dll = pelaAuxiliar(espera);
            QCOMPARE(dll->BloquearSAT(3, "codigo"), resposta);
        }
        QCOMPARE(espera.falhas.size(), caixa ? 1 : 0);
        if (caixa) {
            QVERIFY(espera.falhas[0].startsWith(resposta.left(40), Qt::CaseInsensitive));
            // Blocking may have happened: the box says so and how to check.
            QVERIFY(espera.falhas[0].contains(QStringLiteral("é desconhecido")));
        }
        QCOMPARE(dll->ConsultarSAT(4), QStringLiteral("1|08000|SAT em operação||"));
    }

    void chamadaSemRespostaNoPrazoDaTimeout() {
        EsperaGravada espera;
        std::unique_ptr<DllSat> dll;
        {
            const Ambiente a{{"DLLSAT_FALSO_FALHA", "ConsultarSAT:travar"},
                             {"SAT_TEMPO_LIMITE", "1"}};
            dll = pelaAuxiliar(espera);
            QCOMPARE(dll->tempoLimite(sat::Funcao::AtivarSAT), 1);
            QCOMPARE(dll->ConsultarSAT(3), QStringLiteral("TIMEOUT"));
        }
        QCOMPARE(espera.falhas.size(), 1);
        QVERIFY(espera.falhas[0].contains(QStringLiteral("não respondeu a ConsultarSAT em 1 s")));
        QVERIFY(!espera.falhas[0].contains(QStringLiteral("é desconhecido")));
        QCOMPARE(dll->ConsultarSAT(4), QStringLiteral("1|08000|SAT em operação||"));
    }

    // While one call is inside the library, another gets the device's busy
    // reply at once, in its function's layout, and never reaches the library.
    void segundaChamadaRecebeOcupadoSemEntrarNaBiblioteca() {
        QTemporaryDir pasta;
        const QString registro = pasta.filePath("chamadas");
        EsperaGravada espera;
        const Ambiente a{{"DLLSAT_FALSO_DEMORA_MS", "1500"},
                         {"DLLSAT_FALSO_REGISTRO", QFile::encodeName(registro)}};
        auto dll = pelaAuxiliar(espera);
        QString primeira;
        std::unique_ptr<QThread> outra(
            QThread::create([&] { primeira = dll->ExtrairLogs(1, "c"); }));
        outra->start();
        QTRY_VERIFY(QFile::exists(registro));
        QCOMPARE(dll->ConsultarSAT(7),
                 QStringLiteral("7|08098|SAT em processamento. Tente novamente.||"));
        QCOMPARE(dll->EnviarDadosVenda(8, "c", "<CFe/>"),
                 QStringLiteral("8|06098|0000|SAT em processamento. Tente novamente.||"));
        QVERIFY(outra->wait(10000));
        QCOMPARE(primeira, QStringLiteral("1|08000|SAT em operação||"));
        QFile lidas(registro);
        QVERIFY(lidas.open(QIODevice::ReadOnly));
        QCOMPARE(lidas.readAll(), QByteArray("ExtrairLogs\n"));
    }

    void textosCruzamEmWindows1252() {
        responder(
            "1|10001|C\xf3"
            "digo de ativa\xe7\xe3o inv\xe1lido||");
        const QString resposta = m_dll->ConsultarStatusOperacional(7, QStringLiteral("Sessão não"));
        QCOMPARE(argumento(1), QByteArray("Sess\xe3o n\xe3o"));
        QCOMPARE(resposta, QStringLiteral("1|10001|Código de ativação inválido||"));

        responder("PORTA SERIAL N\xe3O EST\xe1 PRONTA, TENTE NOVAMENTE");
        QCOMPARE(m_dll->ConsultarSAT(1),
                 QStringLiteral("PORTA SERIAL NãO ESTá PRONTA, TENTE NOVAMENTE"));

        // The bytes 0x80..0x9F are the letters Windows-1252 puts there.
        const QByteArray todos = [] {
            QByteArray b;
            for (int c = 1; c < 256; ++c) b.append(char(c));
            return b;
        }();
        QCOMPARE(DllSat::paraWin1252(DllSat::deWin1252(todos)), todos);
        QCOMPARE(DllSat::deWin1252(QByteArray("\x80\x99")), QStringLiteral("\u20ac\u2122"));
        QCOMPARE(DllSat::paraWin1252(QStringLiteral("\u4e2d")), QByteArray("?"));
    }

    void textoVazioVaiComoPonteiroNulo() {
        m_dll->AtivarSAT(5, 1, QString(), QStringLiteral("123"), 35);
        QVERIFY(argumentoNulo(2));
        QVERIFY(!argumentoNulo(3));
        m_dll->ConsultarStatusOperacional(5, QStringLiteral(""));
        QVERIFY(argumentoNulo(1));
    }

    void bytesDeArquivoPassamInalterados() {
        QByteArray documento = "<CFe><xProd>a\xc3\xa7\xc3\xa3o</xProd>";
        for (int c = 0x80; c < 0x100; ++c) documento.append(char(c));
        m_dll->EnviarDadosVenda(1, "codigo", documento);
        QCOMPARE(argumento(2), documento);
        m_dll->CancelarUltimaVenda(1, "codigo", "CFe123", documento);
        QCOMPARE(argumento(3), documento);
        QCOMPARE(argumento(2), QByteArray("CFe123"));
    }

    void versaoDaBibliotecaDoFabricante() {
        QCOMPARE(EmpresaArquivo(DLLSAT_TIVORO),
                 QStringLiteral("Tivoro Telecomunicacoes e Informatica S/A"));
        QCOMPARE(VersaoArquivo(DLLSAT_TIVORO), QStringLiteral("1.0.2.15"));
        QCOMPARE(EmpresaArquivo(DLLSAT_OUTRA_EMPRESA),
                 QStringLiteral("Tivoro Telecomunicacoes e Informatica S/A "));
    }

    void versaoAusenteEhErroDoSistema_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<int>("codigo");
        QTest::newRow("sem secao") << QString(DLLSAT_SEM_SECAO) << ENODATA;
        QTest::newRow("sem traducao") << QString(DLLSAT_SEM_TRADUCAO) << ENODATA;
        QTest::newRow("nao ELF") << QString(QFINDTESTDATA("tst_dllsat.cpp")) << ENOEXEC;
        QTest::newRow("inexistente") << QString("/nao/existe.so") << ENOENT;
    }
    void versaoAusenteEhErroDoSistema() {
        QFETCH(QString, arquivo);
        QFETCH(int, codigo);
        try {
            EmpresaArquivo(arquivo);
            QFAIL("sem erro");
        } catch (const ErroSistemaOperacional& erro) {
            QCOMPARE(erro.codigo(), codigo);
            QVERIFY(!erro.texto().isEmpty());
            QVERIFY(erro.mensagem().contains(QString::number(codigo)));
        }
        // The version alone never fails.
        QVERIFY(!VersaoArquivo(arquivo).isEmpty());
    }

    void versaoSemSecaoNaoFalha() {
        QCOMPARE(VersaoArquivo(DLLSAT_SEM_SECAO), QStringLiteral("0.0.0.0"));
        QCOMPARE(VersaoArquivo(DLLSAT_SEM_TRADUCAO), QStringLiteral("1.0.0.1"));
    }

    void elfTruncadoNaoDerruba() {
        QTemporaryDir pasta;
        QFile original(DLLSAT_TIVORO);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        for (qsizetype corte :
             {qsizetype(16), qsizetype(64), bytes.size() / 2, bytes.size() - 100}) {
            QFile truncado(pasta.filePath("t.so"));
            QVERIFY(truncado.open(QIODevice::WriteOnly | QIODevice::Truncate));
            truncado.write(bytes.left(corte));
            truncado.close();
            try {
                EmpresaArquivo(truncado.fileName());
            } catch (const ErroSistemaOperacional&) {
            }
            VersaoArquivo(truncado.fileName());
        }
    }
};

QTEST_GUILESS_MAIN(TstDllSat)
#include "tst_dllsat.moc"
