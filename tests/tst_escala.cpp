#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "core/Trabalhador.h"
#include "setup/TFormSetupAutom.h"
#include "tests/apoio/TesteJanelas.h"

namespace {
// Large fonts as some operators have them, on a small notebook's screen: set
// before the application starts.
const bool Escala = qputenv("QT_SCALE_FACTOR", "1.5") && usarTela("tela_1280x800.json");
const QSize Tela(1280, 800);

// The window's name and frame size in screen pixels when it does not fit the
// screen; empty when it does.
QString excesso(const QWidget* janela) {
    const QSize tamanho = janela->frameGeometry().size() * janela->devicePixelRatio();
    if (tamanho.width() <= Tela.width() && tamanho.height() <= Tela.height()) return {};
    return QStringLiteral("%1 %2x%3")
        .arg(janela->objectName())
        .arg(tamanho.width())
        .arg(tamanho.height());
}
// The window's frame, or that control, where it leaves the screen's free
// area; empty when it stays inside.
QString foraDaTela(const QWidget* w) {
    const QRect area = w->screen()->availableGeometry();
    const QRect r = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint()), w->size());
    return area.contains(r) ? QString() : w->objectName() + ' ' + QDebug::toString(r);
}
}  // namespace

// Every window as it opens, at 1.5 times, fits a 1280 x 800 screen, and a
// window that grows stays on it.
class TstEscala : public TesteFalso {
    Q_OBJECT

    void preparar() override { falsa.responder("1234567|08000|SAT em opera\xe7\xe3o||"); }

  private Q_SLOTS:
    void cadaJanelaCabeNaTela() {
        QVERIFY(Escala);
        QStringList grandes;
        for (int j = 0; j <= int(Janela::TesteFimaFim); ++j) {
            QWidget* janela = b->janela(Janela(j));
            b->ctx().mostrar(Janela(j));
            QVERIFY(QTest::qWaitForWindowExposed(janela));
            if (!excesso(janela).isEmpty()) grandes << excesso(janela);
            janela->hide();
        }
        QVERIFY2(grandes.isEmpty(), qPrintable(grandes.join(", ")));
    }

    // Grown during a run, with its progress panel and log, the bench's window
    // still fits.
    void setupExpandidoCabeNaTela() {
        auto* janela = static_cast<TFormSetupAutom*>(b->janela(Janela::SetupAutom));
        b->ctx().mostrar(Janela::SetupAutom);
        QVERIFY(QTest::qWaitForWindowExposed(janela));
        b->controle<QLineEdit>(Janela::SetupAutom, "MskEdCNPJContr")
            ->setText(QStringLiteral("11222333000181"));
        b->controle<QLineEdit>(Janela::SetupAutom, "MskEdCNPJSwHouse")
            ->setText(QStringLiteral("16716114000172"));
        b->controle<QLineEdit>(Janela::SetupAutom, "EdCodAtivacao")
            ->setText(QStringLiteral("12345678"));
        b->controle<QPlainTextEdit>(Janela::SetupAutom, "MemoSignac")
            ->setPlainText(QString(344, QLatin1Char('A')));
        QVERIFY(b->clicar(Janela::SetupAutom, "BtExecutar"));
        QVERIFY(janela->expandida());
        const QString grande =
            excesso(janela) + foraDaTela(janela) +
            foraDaTela(b->controle<QPushButton>(Janela::SetupAutom, "BtCancelar"));
        janela->close();
        QTRY_COMPARE(Trabalhador::vivos(), 0);
        QVERIFY2(grande.isEmpty(), qPrintable(grande));
    }

    // Widened for its help, the change-of-code window stays on the screen,
    // the activation card whole in it.
    void trocarCodigoComAjudaFicaNaTela() {
        QWidget* janela = b->janela(Janela::TrocarCodigo);
        b->ctx().mostrar(Janela::TrocarCodigo);
        QVERIFY(QTest::qWaitForWindowExposed(janela));
        QVERIFY(b->marcar(Janela::TrocarCodigo, "RdbCodigoEmergencia"));
        auto* cartao = b->controle<QLabel>(Janela::TrocarCodigo, "ImCodAtivacao");
        const QString fora = foraDaTela(janela) + foraDaTela(cartao);
        QVERIFY2(fora.isEmpty(), qPrintable(fora));
        QVERIFY(!cartao->pixmap().isNull());
        QCOMPARE(cartao->pixmap().size().boundedTo(cartao->size()), cartao->pixmap().size());
    }
};

QTEST_MAIN(TstEscala)
#include "tst_escala.moc"
