#include <QApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QtTest>

#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"
#include "tests/apoio/TesteJanelas.h"
#include "ui/Sessao.h"

namespace {

const QString Padrao = QStringLiteral(
    "Passe o mouse  na imagem dos leds ou conexões do SAT para obter mais "
    "informações");
const QString DoisEstagios =
    QStringLiteral("A cor do LED é verde e tem dois estagios quando aceso:");

QString linhas(std::initializer_list<QString> l) {
    return QStringList(l).join('\n');
}

Qt::CursorShape cursorDaAplicacao() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}
}  // namespace

// The device tour on the offscreen platform, driven by real mouse movement
// through the window system, so that events reach the control under the mouse
// and travel up to its parents as they would on a screen.
class TstTour : public TesteFalso {
    Q_OBJECT
    QWidget* tour = nullptr;

    QWidget* parte(const char* nome) { return b->controle<QWidget>(Janela::ConhecendoSAT, nome); }
    QString dica() { return b->controle<QLabel>(Janela::ConhecendoSAT, "Label1")->text(); }
    void mover(QWidget* alvo, QPoint ponto) {
        QTest::mouseMove(tour->windowHandle(), alvo->mapTo(tour, ponto));
    }
    void mover(const char* nome) {
        QWidget* alvo = parte(nome);
        mover(alvo, alvo->rect().center());
    }
    // A point of the window that no control covers.
    QPoint fundo() {
        const QPoint p(3, tour->height() - 3);
        if (tour->childAt(p)) qFatal("o canto da janela esta coberto");
        return p;
    }

    void preparar() override {
        // No hand cursor left over from the test before.
        while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
        falsa.responder("1234567|08000|SAT em opera\xe7\xe3o||");
        tour = b->janela(Janela::ConhecendoSAT);
        b->ctx().mostrar(Janela::ConhecendoSAT);
        QVERIFY(QTest::qWaitForWindowExposed(tour));
        // Start every test from the window's background.
        mover(tour, fundo());
    }

  private Q_SLOTS:
    void janelaEFotografia() {
        QCOMPARE(tour->windowTitle(), QStringLiteral("TOOL SAT Tivoro - Conhecendo o SAT"));
        QVERIFY(!(tour->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(tour->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(tour->minimumSize() != tour->maximumSize());
        auto* foto = b->controle<QLabel>(Janela::ConhecendoSAT, "ImageCentral");
        QCOMPARE(foto->size(), QSize(545, 330));
        QCOMPARE(foto->pixmap().size(), QSize(2087, 1320));
        QCOMPARE(dica(), Padrao);
        QCOMPARE(b->controle<QLabel>(Janela::ConhecendoSAT, "Label2")->text(),
                 QStringLiteral("Suporte ao Desenvolvedor:"));
        const QString l4 = b->controle<QLabel>(Janela::ConhecendoSAT, "Label4")->text();
        QVERIFY(l4.startsWith(QStringLiteral("Suporte ao Cliente e Revendedor: ")));
        QCOMPARE(l4.count(QStringLiteral(" ou ")), 1);
    }

    // Every region lies on the photograph, none covers another, and the five
    // lines of the longest hint fit above the photograph.
    void regioesSobreAFoto() {
        QWidget* foto = parte("ImageCentral");
        QList<QRect> vistas;
        for (const char* nome :
             {"ImageLedLigado", "ImageOPEAC", "ImageRede", "ImageSefaz", "ImagePCfe", "ImageBloq",
              "ImageSup", "ImagePortaUSB", "ImageInterfaceRede"}) {
            QWidget* r = parte(nome);
            QCOMPARE(r->parentWidget(), foto);
            QVERIFY(foto->rect().contains(r->geometry()));
            for (const QRect& outra : vistas) QVERIFY(!outra.intersects(r->geometry()));
            vistas << r->geometry();
        }
        mover("ImagePCfe");
        auto* label1 = b->controle<QLabel>(Janela::ConhecendoSAT, "Label1");
        QVERIFY(label1->sizeHint().height() <= label1->height());
        QVERIFY(label1->sizeHint().width() <= label1->width());
        QVERIFY(label1->geometry().bottom() < foto->geometry().top());
    }

    void dicaDeCadaRegiao_data() {
        QTest::addColumn<QString>("regiao");
        QTest::addColumn<QString>("texto");
        QTest::newRow("LIG") << "ImageLedLigado"
                             << linhas(
                                    {QStringLiteral("A cor do LED é verde, quando ele esta "
                                                    "aceso representa que o SAT esta energizado"),
                                     QStringLiteral("e ligado.")});
        QTest::newRow("OPE/AC")
            << "ImageOPEAC"
            << linhas({DoisEstagios,
                       QStringLiteral("LED ACESO constante: SAT pronto para receber comandos;"),
                       QStringLiteral("LED ACESO PISCANDO: Momento em que o SAT está "
                                      "comunicando com o"),
                       QStringLiteral("aplicativo comercial")});
        QTest::newRow("REDE")
            << "ImageRede"
            << linhas({QStringLiteral("A cor do LED é verde e quando esta aceso indica que o "
                                      "SAT esta comunicando com a"),
                       QStringLiteral("rede local do estabelecimento e obteve uma resposta do "
                                      "Gateway da rede local."),
                       QStringLiteral("IMPORTANTE: O Gateway da sua rede deve responder a ping "
                                      "para que essa comunicação"),
                       QStringLiteral("ocorra, caso contrario o led de REDE e SEFAZ "
                                      "ficarão apagados.")});
        QTest::newRow("SEFAZ")
            << "ImageSefaz"
            << linhas(
                   {DoisEstagios,
                    QStringLiteral("LED ACESO constante: Conseguiu acesso ao servidor da SEFAZ;"),
                    QStringLiteral("LED ACESO PISCANDO: Mostra o momento da "
                                   "comunicação com o servidor da SEFAZ.")});
        QTest::newRow("P/CFe")
            << "ImagePCfe"
            << linhas({DoisEstagios,
                       QStringLiteral("LED ACESO constante: Arquivo de parametrização "
                                      "de uso foi carregado"),
                       QStringLiteral("com sucesso no SAT;"),
                       QStringLiteral("LED ACESO PISCANDO: Indica que existe um ou mais "
                                      "CF-e-SAT na mémória"),
                       QStringLiteral("do SAT ainda não transmitido(s) para a SEFAZ.")});
        QTest::newRow("BLOQ") << "ImageBloq"
                              << linhas({QStringLiteral(
                                             "A cor do LED é verde e quando acesso indica que o "
                                             "equipamento esta bloqueado, seja"),
                                         QStringLiteral("pelo usuario seja pela SEFAZ.")});
        QTest::newRow("USB")
            << "ImagePortaUSB"
            << linhas({QStringLiteral("Interface USB tipo B utilizada para comunicação "
                                      "com o PDV onde esta instalado o aplicativo"),
                       QStringLiteral("comercial. Esta interface também é utilizada "
                                      "para energizar o SAT, por isso recomenda-se"),
                       QStringLiteral("utilizar o cabo USB fornecido junto com o equipamento e "
                                      "conectar as duas"),
                       QStringLiteral("pontas USB no PDV.")});
        QTest::newRow("Ethernet")
            << "ImageInterfaceRede"
            << linhas({QStringLiteral("Interface de Rede contem a finalidade de conectar o SAT "
                                      "à rede ethernet do"),
                       QStringLiteral("estabelecimento para se comunicar com os servidores da "
                                      "SEFAZ. O SAT KT-470e contem"),
                       QStringLiteral("duas interfaces ethernet para conexão à rede e "
                                      "ao computador, caso necessario."),
                       QStringLiteral("OBS: Você pode utilizar qualquer das duas interfaces "
                                      "para se conectar a rede ou ao PDV.")});
    }
    void dicaDeCadaRegiao() {
        QFETCH(QString, regiao);
        QFETCH(QString, texto);
        mover(qPrintable(regiao));
        QCOMPARE(dica(), texto);
        // Over the region's very edge too: it is the region's, not the photograph's.
        QWidget* r = parte(qPrintable(regiao));
        mover(r, QPoint(1, 1));
        QCOMPARE(dica(), texto);
    }

    // Without a mouse: Tab reaches every region, which shows the same hint.
    void dicaPeloTeclado_data() { dicaDeCadaRegiao_data(); }
    void dicaPeloTeclado() {
        QFETCH(QString, regiao);
        QFETCH(QString, texto);
        QCOMPARE(dica(), Padrao);
        QWidget* alvo = parte(qPrintable(regiao));
        for (int i = 0; i < 9 && !alvo->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(alvo->hasFocus());
        QCOMPARE(dica(), texto);
    }

    // The support LED names the same telephone as the telephone label.
    void ledDeSuporteComOTelefone() {
        mover("ImageSup");
        const QStringList l = dica().split('\n');
        QCOMPARE(l.size(), 2);
        QCOMPARE(l[0], QStringLiteral("A cor do LED é verde e quando acesso indica a "
                                      "necessidade de suporte."));
        QVERIFY(l[1].startsWith(QStringLiteral("Ligue para ")));
        const QString telefone = l[1].mid(11);
        QVERIFY(!telefone.isEmpty());
        QVERIFY(b->controle<QLabel>(Janela::ConhecendoSAT, "Label4")->text().contains(telefone));
    }

    void daRegiaoParaAFotoEEntreRegioes() {
        QWidget* foto = parte("ImageCentral");
        QWidget* lig = parte("ImageLedLigado");
        QWidget* ope = parte("ImageOPEAC");
        mover("ImageLedLigado");
        QVERIFY(dica().startsWith(QStringLiteral("A cor do LED é verde, quando")));
        // Between two LEDs: the photograph itself.
        const QPoint entre((lig->geometry().right() + ope->geometry().left()) / 2,
                           lig->geometry().center().y());
        QCOMPARE(foto->childAt(entre), nullptr);
        mover(foto, entre);
        QCOMPARE(dica(), Padrao);

        mover("ImageSefaz");
        mover("ImageBloq");
        QVERIFY(dica().endsWith(QStringLiteral("pelo usuario seja pela SEFAZ.")));
        mover("ImagePortaUSB");
        mover("ImageInterfaceRede");
        QVERIFY(dica().startsWith(QStringLiteral("Interface de Rede")));
    }

    // Only the photograph brings the default back: not the labels, not the
    // window's background, not leaving the window.
    void textoFicaForaDaFoto() {
        mover("ImageRede");
        const QString rede = dica();
        QVERIFY(rede != Padrao);
        for (const char* rotulo : {"Label1", "Label2", "Label3", "Label4"}) {
            mover(rotulo);
            QCOMPARE(dica(), rede);
        }
        mover(tour, fundo());
        QCOMPARE(dica(), rede);
        QWidget* principal = b->janela(Janela::Principal);
        principal->show();
        QVERIFY(QTest::qWaitForWindowExposed(principal));
        QTest::mouseMove(principal->windowHandle(), QPoint(5, 5));
        QCOMPARE(dica(), rede);
        mover("ImageCentral");
        QCOMPARE(dica(), Padrao);
    }

    void cursorDeMaoNoLink() {
        QCOMPARE(cursorDaAplicacao(), Qt::ArrowCursor);
        mover("Label3");
        QCOMPARE(cursorDaAplicacao(), Qt::PointingHandCursor);
        // Application-wide, and a hand until the mouse crosses the background.
        mover("ImageCentral");
        mover("ImageSup");
        mover("Label4");
        QCOMPARE(cursorDaAplicacao(), Qt::PointingHandCursor);
        mover("Label3");
        mover(tour, fundo());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        mover("Label3");
        mover("Label3");
        mover(tour, fundo());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // Closing the window with the hand still on gives the other windows their
    // own cursor back.
    void fecharDevolveOCursor() {
        mover("Label3");
        QCOMPARE(cursorDaAplicacao(), Qt::PointingHandCursor);
        tour->close();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void osTresRotulosAbremOMesmoSuporte() {
        for (const char* rotulo : {"Label2", "Label3", "Label4"}) {
            QWidget* l = parte(rotulo);
            QVERIFY(l->isVisible() && l->isEnabled());
            QTest::mouseClick(l, Qt::LeftButton);
        }
        const QList<QUrl> abertos = b->dialogos.enderecos();
        QCOMPARE(abertos.size(), 3);
        const QUrl link(b->controle<QLabel>(Janela::ConhecendoSAT, "Label3")->text());
        QVERIFY(link.isValid());
        QCOMPARE(link.scheme(), QStringLiteral("https"));
        for (const QUrl& u : abertos) QCOMPARE(u, link);
        // The hint label is no link.
        QTest::mouseClick(parte("Label1"), Qt::LeftButton);
        QCOMPARE(b->dialogos.enderecos().size(), 3);
    }

    // The main window is neither shown nor hidden, and its status label is not
    // painted, whether it is visible or not.
    void fecharAtualizaStatusSemPintar() {
        QWidget* principal = b->janela(Janela::Principal);
        auto* status = b->controle<QLabel>(Janela::Principal, "LbStatusCom");
        for (bool visivel : {false, true}) {
            principal->setVisible(visivel);
            b->ctx().mostrar(Janela::ConhecendoSAT);
            const QString antes = status->text();
            b->ctx().estado.setStatusConexao(QString());
            const int chamadas = falsa.chamadas();
            tour->close();
            QCoreApplication::processEvents();
            QVERIFY(!tour->isVisible());
            QCOMPARE(falsa.chamadas(), chamadas + 1);
            QCOMPARE(falsa.inteiro(0), SessaoStatus);
            QCOMPARE(b->ctx().estado.StatusConexao(), StatusConectado);
            QCOMPARE(status->text(), antes);
            QCOMPARE(principal->isVisible(), visivel);
        }
    }

    void imagens_data() {
        QTest::addColumn<QString>("recurso");
        QTest::addColumn<QSize>("tamanho");
        QTest::addColumn<bool>("transparente");
        QTest::newRow("frente") << ":/imagens/sat_frente.png" << QSize(2087, 1320) << true;
        QTest::newRow("principal 1") << ":/imagens/principal_1.png" << QSize(232, 96) << true;
        QTest::newRow("principal 2") << ":/imagens/principal_2.png" << QSize(560, 96) << true;
        QTest::newRow("cartao") << ":/imagens/cartao_ativacao.jpg" << QSize(1000, 630) << false;
        QTest::newRow("icone") << ":/imagens/icone.png" << QSize(256, 256) << true;
        for (int n = 1; n <= 6; ++n)
            for (const char* aspecto : {"azul", "amarelo", "ok", "erro"}) {
                const QString nome =
                    QStringLiteral(":/imagens/etapa_%1_%2.png").arg(n).arg(aspecto);
                QTest::newRow(qPrintable(nome)) << nome << QSize(20, 20) << true;
            }
    }
    void imagens() {
        QFETCH(QString, recurso);
        QFETCH(QSize, tamanho);
        QFETCH(bool, transparente);
        QImageReader leitor(recurso);
        const QByteArray formato = leitor.format();
        const QImage imagem = leitor.read();
        QVERIFY2(!imagem.isNull(), qPrintable(leitor.errorString()));
        QCOMPARE(imagem.size(), tamanho);
        QCOMPARE(imagem.hasAlphaChannel(), transparente);
        if (transparente) QCOMPARE(qAlpha(imagem.pixel(0, 0)), 0);
        if (recurso.endsWith(QLatin1String(".jpg"))) QCOMPARE(formato, QByteArray("jpeg"));
    }

    void imagensDaJanelaPrincipal() {
        b->ctx().mostrar(Janela::Principal);
        for (const char* nome : {"Image1", "Image2"})
            QVERIFY(!b->controle<QLabel>(Janela::Principal, nome)->pixmap().isNull());
    }
};

QTEST_MAIN(TstTour)
#include "tst_tour.moc"
