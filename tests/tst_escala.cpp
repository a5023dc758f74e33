#include <QtTest>

#include "tests/apoio/Bancada.h"
#include "tests/apoio/DllSatFalsa.h"

namespace {
// Large fonts as some operators have them: set before the application starts.
const bool Escala = qputenv("QT_SCALE_FACTOR", "1.5");
const QSize Tela(1280, 800);
}  // namespace

// Every window as it opens, at 1.5 times, fits a 1280 x 800 screen. The
// change-of-code window's help form cannot: its 856 pixels are fixed.
class TstEscala : public QObject {
    Q_OBJECT
    DllSatFalsa falsa{DLLSAT_TIVORO};

  private Q_SLOTS:
    void cadaJanelaCabeNaTela() {
        QVERIFY(Escala);
        falsa.responder("1234567|08000|SAT em opera\xe7\xe3o||");
        Bancada b(DLLSAT_TIVORO);
        QStringList grandes;
        for (int j = 0; j <= int(Janela::TesteFimaFim); ++j) {
            QWidget* janela = b.janela(Janela(j));
            b.ctx().mostrar(Janela(j));
            QVERIFY(QTest::qWaitForWindowExposed(janela));
            const QSize tamanho = janela->frameGeometry().size() * janela->devicePixelRatio();
            if (tamanho.width() > Tela.width() || tamanho.height() > Tela.height())
                grandes << QStringLiteral("%1 %2x%3")
                               .arg(janela->objectName())
                               .arg(tamanho.width())
                               .arg(tamanho.height());
            janela->hide();
        }
        QVERIFY2(grandes.isEmpty(), qPrintable(grandes.join(", ")));
    }
};

QTEST_MAIN(TstEscala)
#include "tst_escala.moc"
