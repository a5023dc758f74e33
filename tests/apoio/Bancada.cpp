#include "tests/apoio/Bancada.h"

Bancada::Bancada(const QString& caminhoDll)
    : dll(DllSat::carregarDe(caminhoDll)),
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
