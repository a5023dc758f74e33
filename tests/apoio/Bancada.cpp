#include "tests/apoio/Bancada.h"

#include <QRadioButton>
#include <QTextBlock>

#include "tests/apoio/CanalNoProcesso.h"

bool usarTela(const char* arquivo) {
    return qputenv("QT_QPA_PLATFORM",
                   QByteArray("offscreen:configfile=" PASTA_APOIO "/") + arquivo);
}

Bancada::Bancada(const QString& caminhoDll, Via via)
    : dll(via == Via::Auxiliar ? DllSat::carregarDe(caminhoDll) : carregarNoProcesso(caminhoDll)),
      app(std::make_unique<Aplicacao>(*dll, dialogos, relogio)) {}

Bancada::~Bancada() {
    // Workers hand their last changes over through the event loop.
    QCoreApplication::processEvents();
    app.reset();
}

bool Bancada::clicar(Janela j, const char* botao) {
    auto* b = controle<QAbstractButton>(j, botao);
    if (!b->isVisible() || !b->isEnabled()) return false;
    QTest::mouseClick(b, Qt::LeftButton);
    return true;
}

bool Bancada::marcar(Janela j, const char* radio) {
    auto* r = controle<QRadioButton>(j, radio);
    if (!r->isVisible() || !r->isEnabled()) return false;
    QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(4, r->height() / 2));
    return r->isChecked();
}

void Bancada::abrirPrincipal(const QString& codigo) {
    ctx().setCodigoAtivacao(codigo);
    janela(Janela::Principal)->show();
}

QColor CorDaLinha(const QPlainTextEdit* log, int linha) {
    const QTextBlock bloco = log->document()->findBlockByNumber(linha);
    return bloco.begin().fragment().charFormat().foreground().color();
}

QString CaminhoEmulador() {
#ifdef DLLSAT_EMULADOR
    return QStringLiteral(DLLSAT_EMULADOR);
#else
    return {};
#endif
}

QString CaminhoSatemu() {
#ifdef SATEMU
    return QStringLiteral(SATEMU);
#else
    return {};
#endif
}
