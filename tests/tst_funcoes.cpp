#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "signature/funcoes.h"
#include "tests/apoio/DialogosTeste.h"
#include "tests/apoio/FifoTeste.h"

using Icone = PortaDialogos::Icone;

namespace {
const QString CnpjSH = QStringLiteral("11222333000181");
const QString CnpjContrib = QStringLiteral("61099008000141");
const QString Senha = QStringLiteral("segredo");
const QString SenhaDoShell =
    QStringLiteral(" a b \"c\" 'd';$(touch MARCA)&`touch MARCA` %PATH% \\ ");

void gravar(const QString& caminho, const QByteArray& dados) {
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(dados);
}

void executavel(const QString& caminho, const QByteArray& script) {
    gravar(caminho, script);
    QFile::setPermissions(caminho, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray conteudo(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(ausente)");
}

// Alive and not a zombie waiting for a parent that never reaps it.
bool vivo(qint64 pid) {
    const QByteArray estado = conteudo(QStringLiteral("/proc/%1/stat").arg(pid));
    return estado != "(ausente)" && !estado.contains(") Z ");
}
// The id of a process that has ended.
qint64 pidTerminado() {
    QProcess p;
    p.start(QStringLiteral("true"));
    p.waitForStarted();
    const qint64 pid = p.processId();
    p.waitForFinished();
    return pid;
}
}  // namespace

// The signature pipeline against the real openssl, with certificates made by
// the test; fake openssl programs stand for the ones that misbehave.
class TstFuncoes : public QObject {
    Q_OBJECT
    QTemporaryDir certificados;
    QString openssl;
    QByteArray pathOriginal;
    QTemporaryDir base;
    std::unique_ptr<QTemporaryDir> temporaria;
    DialogosTeste dialogos;
    RelogioTeste relogio{1000};

    QString cert(const QString& nome) const { return certificados.filePath(nome); }

    // openssl with the password in its environment; its output.
    QByteArray rodar(const QStringList& argumentos, const QString& senha = Senha) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SENHA", senha);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(certificados.path());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(openssl, argumentos);
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            qWarning() << argumentos << p.readAll();
        return p.readAll();
    }

    void exportar(const QString& chave, const QString& saida, const QString& senha,
                  bool legado = false) {
        QStringList a{"pkcs12",       "-export", "-in", chave + ".crt", "-inkey",
                      chave + ".key", "-out",    saida, "-passout",     "env:SENHA"};
        if (legado) a.insert(2, "-legacy");
        rodar(a, senha);
        QVERIFY(QFile::exists(cert(saida)));
    }

    void novaChave(const QString& nome, int bits) {
        rodar({"req", "-x509", "-newkey", "rsa:" + QString::number(bits), "-nodes", "-keyout",
               nome + ".key", "-out", nome + ".crt", "-subj", "/CN=Software House Teste", "-days",
               "2"});
        rodar({"x509", "-in", nome + ".crt", "-pubkey", "-noout", "-out", nome + ".pub"});
    }

    AmbienteAssinatura ambiente(int limiteMs = 30000) {
        return AmbienteAssinatura{dialogos, relogio, limiteMs};
    }

    ResultadoAssinatura gerar(const QString& certificado, const QString& senha,
                              int limiteMs = 30000) {
        return gerarAssinaturaCnpjs(CnpjSH, CnpjContrib, certificado, senha, ambiente(limiteMs));
    }

    // The signature checked with the certificate's public key over the 28 digits.
    bool verifica(const QString& assinatura, const QString& chave) {
        gravar(cert("dados"), (CnpjSH + CnpjContrib).toLatin1());
        gravar(cert("assinatura.bin"), QByteArray::fromBase64(assinatura.toLatin1()));
        return rodar({"dgst", "-sha256", "-verify", chave + ".pub", "-signature", "assinatura.bin",
                      "dados"})
            .contains("Verified OK");
    }

    // A fake openssl in a folder that becomes the whole PATH.
    QString falsoOpenssl(const QByteArray& script) {
        const QString pasta = temporaria->filePath("falso");
        QDir().mkpath(pasta);
        executavel(pasta + "/openssl", script);
        qputenv("PATH", QFile::encodeName(pasta) + ":/usr/bin:/bin");
        return pasta;
    }

  private Q_SLOTS:
    void initTestCase() {
        openssl = QStandardPaths::findExecutable("openssl");
        QVERIFY2(!openssl.isEmpty(), "openssl is needed to make the test certificates");
        pathOriginal = qgetenv("PATH");
        novaChave("rsa2048", 2048);
        novaChave("rsa4096", 4096);
        exportar("rsa2048", "moderno.pfx", Senha);
        exportar("rsa2048", "legado.pfx", Senha, true);
        exportar("rsa4096", "grande.pfx", Senha);
        exportar("rsa2048", "shell.pfx", SenhaDoShell);
        // The legacy file really needs the legacy provider.
        QVERIFY(rodar({"pkcs12", "-info", "-noout", "-legacy", "-in", "legado.pfx", "-passin",
                       "env:SENHA"})
                    .contains("RC2"));
    }

    // Every run gets its own temporary folder, which must be empty afterwards.
    void init() {
        temporaria = std::make_unique<QTemporaryDir>(base.filePath("teste-XXXXXX"));
        QDir().mkpath(temporaria->filePath("tmp"));
        qputenv("TMPDIR", QFile::encodeName(temporaria->filePath("tmp")));
        dialogos.limpar();
        relogio.limpar();
    }
    void cleanup() {
        qputenv("PATH", pathOriginal);
        QCOMPARE(QDir(temporaria->filePath("tmp"))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        QVERIFY(!QFile::exists(certificados.filePath("MARCA")));
        QVERIFY(!QFile::exists(QDir::current().filePath("MARCA")));
    }

    void assinaturaVerificaComAChavePublica_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<QString>("chave");
        QTest::addColumn<QString>("senha");
        QTest::addColumn<int>("tamanho");
        QTest::newRow("moderno") << "moderno.pfx"
                                 << "rsa2048" << Senha << 344;
        QTest::newRow("legado RC2") << "legado.pfx"
                                    << "rsa2048" << Senha << 344;
        QTest::newRow("4096 bits") << "grande.pfx"
                                   << "rsa4096" << Senha << 684;
        QTest::newRow("senha do shell") << "shell.pfx"
                                        << "rsa2048" << SenhaDoShell << 344;
    }
    void assinaturaVerificaComAChavePublica() {
        QFETCH(QString, arquivo);
        QFETCH(QString, chave);
        QFETCH(QString, senha);
        QFETCH(int, tamanho);
        const ResultadoAssinatura r = gerar(cert(arquivo), senha);
        QVERIFY2(r.gerada, qPrintable(r.texto));
        QCOMPARE(dialogos.caixas().size(), 0);
        // The lines of the Base64 file, each after one blank.
        QVERIFY(r.texto.startsWith(' '));
        const QStringList linhas = r.texto.mid(1).split(' ');
        for (int i = 0; i < linhas.size() - 1; ++i) QCOMPARE(linhas[i].size(), 64);
        QString assinatura = r.texto;
        assinatura.remove(' ');
        QCOMPARE(assinatura.size(), tamanho);
        QVERIFY(verifica(assinatura, chave));
    }

    void senhaErrada_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::newRow("moderno") << "moderno.pfx";
        QTest::newRow("legado RC2") << "legado.pfx";
    }
    void senhaErrada() {
        QFETCH(QString, arquivo);
        const ResultadoAssinatura r = gerar(cert(arquivo), "errada");
        QVERIFY(!r.gerada);
        QVERIFY(r.texto.contains(TextoSenhaErrada));
        QCOMPARE(dialogos.caixas().size(), 1);
        QCOMPARE(dialogos.ultima().icone, Icone::Erro);
        QCOMPARE(dialogos.ultima().texto, QStringLiteral("Senha invalida!"));
        // The password as typed: surrounding blanks are part of it.
        dialogos.limpar();
        QVERIFY(!gerar(cert(arquivo), Senha + ' ').gerada);
        QCOMPARE(dialogos.ultima().texto, QStringLiteral("Senha invalida!"));
    }

    void certificadoNaoEncontrado_data() {
        QTest::addColumn<QString>("caminho");
        QTest::newRow("ausente") << "nao-existe.pfx";
        QTest::newRow("pasta") << ".";
        QTest::newRow("branco antes") << " moderno.pfx";
        QTest::newRow("nao eh pkcs12") << "rsa2048.crt";
    }
    void certificadoNaoEncontrado() {
        QFETCH(QString, caminho);
        const ResultadoAssinatura r = gerar(cert(caminho), Senha);
        QVERIFY(!r.gerada);
        QCOMPARE(dialogos.caixas().size(), 1);
        QCOMPARE(dialogos.ultima().icone, Icone::Erro);
        if (caminho.endsWith(".crt")) {
            // Neither known text: OpenSSL's own words, and a box that says so.
            QVERIFY(!r.texto.contains(TextoArquivoAusente));
            QVERIFY(dialogos.ultima().texto.startsWith(
                QStringLiteral("O openssl não conseguiu converter o certificado:")));
            QVERIFY(dialogos.ultima().texto.endsWith(r.texto));
            QVERIFY(!r.texto.trimmed().isEmpty());
            return;
        }
        QVERIFY(r.texto.contains(TextoArquivoAusente));
        QCOMPARE(dialogos.ultima().texto, QStringLiteral("Certificado não encontrado!"));
    }

    // While openssl runs, the work folder is the user's alone; the password
    // arrives on its standard input and nowhere on its command line.
    void senhaSoNaEntradaEPastaPrivada() {
        const QString pasta = falsoOpenssl(
            "#!/bin/sh\n"
            "ant=''; for a in \"$@\"; do [ \"$ant\" = -in ] && d=$(dirname \"$a\"); ant=$a; done\n"
            "printf '%s\\n' \"$@\" > \"$REGISTRO/argumentos\"\n"
            "stat -c %a \"$d\" > \"$REGISTRO/modo\"\n"
            "cat > \"$REGISTRO/entrada\"\n"
            "echo 'algo deu errado'; echo 'na conversao' >&2; exit 1\n");
        qputenv("REGISTRO", QFile::encodeName(pasta));
        const ResultadoAssinatura r = gerar(cert("shell.pfx"), SenhaDoShell);
        qunsetenv("REGISTRO");
        auto ler = [&](const char* nome) { return conteudo(pasta + '/' + nome); };
        QCOMPARE(ler("modo"), QByteArray("700\n"));
        QCOMPARE(ler("entrada"), SenhaDoShell.toUtf8() + '\n');
        QVERIFY(!ler("argumentos").contains("segredo"));
        QVERIFY(!ler("argumentos").contains("touch"));
        QVERIFY(ler("argumentos").contains("stdin"));
        QVERIFY(!r.gerada);
        QCOMPARE(r.texto, QStringLiteral(" algo deu errado na conversao"));
        QCOMPARE(dialogos.caixas().size(), 1);
    }

    // What other OpenSSL builds print comes out as the texts the callers know.
    void mensagensDeOutrasVersoes_data() {
        QTest::addColumn<QByteArray>("saida");
        QTest::addColumn<QString>("caixa");
        QTest::addColumn<QString>("texto");
        const QString ausente = QStringLiteral("Certificado não encontrado!");
        QTest::newRow("1.x") << QByteArray("Error opening input file x.pfx\nx.pfx: No such file")
                             << ausente << TextoArquivoAusente;
        QTest::newRow("3 fopen") << QByteArray("Can't open \"x.pfx\" for reading, No such file")
                                 << ausente << TextoArquivoAusente;
        QTest::newRow("3 uri") << QByteArray("Could not open file or uri x.pfx") << ausente
                               << TextoArquivoAusente;
        QTest::newRow("mac") << QByteArray("error:11800071:PKCS12 routines:mac verify failure")
                             << QStringLiteral("Senha invalida!") << TextoSenhaErrada;
    }
    void mensagensDeOutrasVersoes() {
        QFETCH(QByteArray, saida);
        QFETCH(QString, caixa);
        QFETCH(QString, texto);
        falsoOpenssl("#!/bin/sh\ncat >/dev/null\ncat >&2 <<'FIM'\n" + saida + "\nFIM\nexit 1\n");
        const ResultadoAssinatura r = gerar(cert("moderno.pfx"), Senha);
        QVERIFY(!r.gerada);
        QVERIFY(r.texto.contains(texto));
        QCOMPARE(dialogos.caixas().size(), 1);
        QCOMPARE(dialogos.ultima().texto, caixa);
    }

    void opensslAusente() {
        qputenv("PATH", QFile::encodeName(temporaria->path()));
        const ResultadoAssinatura r = gerar(cert("moderno.pfx"), Senha);
        QVERIFY(!r.gerada);
        QCOMPARE(dialogos.caixas().size(), 1);
        QCOMPARE(dialogos.ultima().icone, Icone::Erro);
        QVERIFY(dialogos.ultima().texto.contains(QStringLiteral("openssl não foi encontrado")));
    }

    void opensslQueNaoTermina() {
        falsoOpenssl("#!/bin/sh\nexec sleep 60\n");
        const ResultadoAssinatura r = gerar(cert("moderno.pfx"), Senha, 300);
        QVERIFY(!r.gerada);
        QCOMPARE(dialogos.caixas().size(), 1);
        QCOMPARE(dialogos.ultima().texto,
                 QStringLiteral("O openssl não terminou de converter o certificado em 0.3 s "
                                "e foi interrompido: a assinatura não foi gerada."));
    }

    // A wrapper's child is ended with it: the step's whole process group goes.
    void passoForaDoTempoEncerraOGrupo() {
        const QString pasta =
            falsoOpenssl("#!/bin/sh\nsleep 60 &\necho $! > \"$REGISTRO/filho\"\nwait\n");
        qputenv("REGISTRO", QFile::encodeName(pasta));
        const ResultadoAssinatura r = gerar(cert("moderno.pfx"), Senha, 300);
        qunsetenv("REGISTRO");
        QVERIFY(!r.gerada);
        const qint64 filho = conteudo(pasta + "/filho").trimmed().toLongLong();
        QVERIFY(filho > 0);
        const bool ficou = !QTest::qWaitFor([&] { return !vivo(filho); }, 2000);
        if (ficou) ::kill(filho, SIGKILL);
        QVERIFY(!ficou);
    }

    void opensslQueNaoInicia() {
        falsoOpenssl("#!/nao/existe/interpretador\n");
        const ResultadoAssinatura r = gerar(cert("moderno.pfx"), Senha);
        QVERIFY(!r.gerada);
        QCOMPARE(dialogos.caixas().size(), 1);
        QVERIFY(dialogos.ultima().texto.contains(QStringLiteral("não pôde ser iniciado")));
    }

    void assinaturaQueFalhaNaoEhResultado() {
        // A conversion that "works" but leaves no key: the signing step fails.
        falsoOpenssl(
            "#!/bin/sh\n"
            "[ \"$1\" = pkcs12 ] && { cat >/dev/null; exit 0; }\n"
            "echo 'unable to load key' >&2; exit 1\n");
        const ResultadoAssinatura r = gerar(cert("moderno.pfx"), Senha);
        QVERIFY(!r.gerada);
        QCOMPARE(r.texto, QStringLiteral(" unable to load key"));
        QCOMPARE(dialogos.caixas().size(), 1);
        QVERIFY(dialogos.ultima().texto.startsWith(
            QStringLiteral("O openssl não conseguiu assinar os CNPJs:")));
    }

    // The unencrypted key must be gone before the user is shown why the run
    // failed: a box can stay open for as long as the user likes.
    void nadaNoDiscoEnquantoACaixaEstaAberta() {
        struct Vigia : DialogosTeste {
            QString tmp;
            QStringList vistos;
            void mensagem(Icone icone, const QString& texto) override {
                vistos << QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
                DialogosTeste::mensagem(icone, texto);
            }
        } vigia;
        vigia.tmp = temporaria->filePath("tmp");
        falsoOpenssl(
            "#!/bin/sh\n"
            "[ \"$1\" = pkcs12 ] && { cat >/dev/null; echo chave > \"$5\"; exit 0; }\n"
            "echo 'unable to load key' >&2; exit 1\n");
        const ResultadoAssinatura r = gerarAssinaturaCnpjs(CnpjSH, CnpjContrib, cert("moderno.pfx"),
                                                           Senha, {vigia, relogio, 30000});
        QVERIFY(!r.gerada);
        QCOMPARE(vigia.caixas().size(), 1);
        QCOMPARE(vigia.vistos, QStringList());
    }

    // The unencrypted key is off the disk while the signing step runs: it gets
    // the key on its standard input.
    void chaveForaDoDiscoAoAssinar() {
        const QString pasta = falsoOpenssl(
            "#!/bin/sh\n"
            "[ \"$1\" = pkcs12 ] && { cat >/dev/null; echo CHAVE > "
            "\"$5\"; exit 0; }\n"
            "ls \"$(dirname \"$6\")\" > \"$REGISTRO/vistos\"\n"
            "cat > \"$REGISTRO/entrada\"\n"
            "echo 'sem assinatura' >&2; exit 1\n");
        qputenv("REGISTRO", QFile::encodeName(pasta));
        QVERIFY(!gerar(cert("moderno.pfx"), Senha).gerada);
        qunsetenv("REGISTRO");
        QVERIFY(conteudo(pasta + "/vistos").contains("cnpjs.txt"));
        QVERIFY(!conteudo(pasta + "/vistos").contains("certificado.pem"));
        QCOMPARE(conteudo(pasta + "/entrada"), QByteArray("CHAVE\n"));
    }

    // Folders left by runs killed mid-way go with the next run; those of a
    // live process, of another kind, or links, stay.
    void pastasAbandonadasRemovidas() {
        const QDir tmp(temporaria->filePath("tmp"));
        const QString prefixo = QStringLiteral("tool-sat-assinatura-");
        const QString morto = QString::number(pidTerminado());
        const QString morta = prefixo + morto + "-abc123";
        const QString viva =
            prefixo + QString::number(QCoreApplication::applicationPid()) + "-def456";
        const QStringList ficam{viva, prefixo + "Xy12Zw", "outra-" + morto + "-abc123"};
        for (const QString& nome : ficam + QStringList{morta}) {
            QVERIFY(tmp.mkdir(nome));
            gravar(tmp.filePath(nome + "/certificado.pem"), "chave");
        }
        const QString alvo = temporaria->filePath("alvo");
        QVERIFY(QDir().mkdir(alvo));
        gravar(alvo + "/guardado", "1");
        const QString link = prefixo + morto + "-lnk";
        QVERIFY(QFile::link(alvo, tmp.filePath(link)));

        QVERIFY(gerar(cert("moderno.pfx"), Senha).gerada);
        QVERIFY(!tmp.exists(morta));
        for (const QString& nome : ficam)
            QVERIFY2(tmp.exists(nome + "/certificado.pem"), qPrintable(nome));
        QVERIFY(QFileInfo(tmp.filePath(link)).isSymLink());
        QVERIFY(QFile::exists(alvo + "/guardado"));
        for (const QString& nome : ficam) QVERIFY(QDir(tmp.filePath(nome)).removeRecursively());
        QVERIFY(QFile::remove(tmp.filePath(link)));
    }

    // A pipe given as the certificate held the window until someone wrote to it.
    void certificadoFifoNaoEspera() {
        const FifoTeste fifo(temporaria->filePath("certificado.pfx"));
        const ResultadoAssinatura r = gerar(fifo.caminho, Senha);
        QVERIFY(!fifo.precisouLiberar());
        QVERIFY(!r.gerada);
        QCOMPARE(dialogos.ultima().texto, QStringLiteral("Certificado não encontrado!"));
    }

    // A TMPDIR naming no folder: a folder of the user's own, never the root;
    // when none can be had, the message names every folder tried.
    void semTemporariaUtilizavel() {
        const QString pedida = temporaria->filePath("nao-existe");
        const QString propria = temporaria->filePath("runtime");
        QVERIFY(QDir().mkdir(propria));
        qputenv("TMPDIR", QFile::encodeName(pedida));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(propria));
        const QString pasta = PastaTemporaria();
        QVERIFY2(pasta.startsWith(propria + "/tool-sat-assinatura-"), qPrintable(pasta));
        LimparArquivosTemporarios(pasta);

        qunsetenv("XDG_RUNTIME_DIR");
        const QString cache = temporaria->filePath("sem-cache");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
        const ResultadoAssinatura r = gerar(cert("moderno.pfx"), Senha);
        qunsetenv("XDG_CACHE_HOME");
        QVERIFY(!r.gerada);
        QCOMPARE(dialogos.caixas().size(), 1);
        const QString nenhuma = QStringLiteral(" (não é uma pasta utilizável)");
        QCOMPARE(dialogos.ultima().texto,
                 "Não foi possível criar a pasta de trabalho da assinatura em " + pedida + nenhuma +
                     " nem em " + cache + nenhuma + '.');
        QCOMPARE(QDir(propria).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void lerArquivoTexto() {
        const QString caminho = temporaria->filePath("linhas.txt");
        gravar(caminho, "A\r\nB\n\nC");
        QCOMPARE(LerArquivoTexto(caminho, dialogos), QStringLiteral(" A B  C"));
        gravar(caminho, "A\n");
        QCOMPARE(LerArquivoTexto(caminho, dialogos), QStringLiteral(" A"));
        gravar(caminho, "");
        QCOMPARE(LerArquivoTexto(caminho, dialogos), QString());
        QCOMPARE(LerArquivoTexto(temporaria->filePath("nada"), dialogos), QString());
        QCOMPARE(dialogos.caixas().size(), 0);
        QCOMPARE(LerArquivoTexto(temporaria->path(), dialogos), QString());
        QCOMPARE(dialogos.caixas().size(), 1);
        QCOMPARE(dialogos.ultima().texto, QStringLiteral("Erro na abertura do arquivo !!!"));
        QCOMPARE(dialogos.ultima().icone, Icone::Nenhum);
    }

    void gravarEAguardar() {
        const QString caminho = temporaria->filePath("cnpjs.txt");
        gravar(caminho, "antigo conteudo mais longo");
        GravarArquivoTexto(caminho, QStringLiteral(" \t1234\r\n\x01"));
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("1234"));
        QVERIFY(AguardarArquivo(caminho, ambiente()));
        QCOMPARE(relogio.pausas(), QList<int>());
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 GravarArquivoTexto(temporaria->filePath("sem/pasta.txt"), "1"));
        // An empty file is waited for up to the bound only.
        GravarArquivoTexto(caminho, "  ");
        QCOMPARE(TamanhoArquivo(caminho), 0);
        QVERIFY(!AguardarArquivo(caminho, ambiente(500)));
        QCOMPARE(relogio.pausas(), QList<int>(5, 100));
        QCOMPARE(TamanhoArquivo(temporaria->filePath("nada")), -1);
    }

    void pastaTemporariaPrivadaEAlheiaIntocada() {
        const QString pasta = PastaTemporaria();
        QVERIFY(pasta.startsWith(temporaria->filePath("tmp") + '/'));
        QVERIFY(pasta.endsWith('/'));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(pasta).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
        const QString outra = PastaTemporaria();
        QVERIFY(outra != pasta);
        LimparArquivosTemporarios(outra);
        QVERIFY(!QFileInfo::exists(outra));
        // Only folders of the pipeline go: the temporary folder itself stays.
        gravar(temporaria->filePath("tmp/cnpjs.txt"), "1");
        gravar(temporaria->filePath("tmp/outro.txt"), "1");
        LimparArquivosTemporarios(temporaria->filePath("tmp/"));
        QVERIFY(QFile::exists(temporaria->filePath("tmp/outro.txt")));
        QFile::remove(temporaria->filePath("tmp/outro.txt"));
        LimparArquivosTemporarios(pasta);
        QVERIFY(!QFileInfo::exists(pasta));
    }
};

QTEST_GUILESS_MAIN(TstFuncoes)
#include "tst_funcoes.moc"
