#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPlainTextEdit>
#include <QString>
#include <QtTest>
#include <memory>

#include "app/Aplicacao.h"
#include "tests/apoio/DialogosTeste.h"

// The emulated device library and its control command built with the tool;
// empty when the build has none.
QString CaminhoEmulador();
QString CaminhoSatemu();

// Before the application starts: the offscreen screen that file of
// tests/apoio describes (its size, a frame around each window).
bool usarTela(const char* arquivo);

// Colour of the start of that line of a log.
QColor CorDaLinha(const QPlainTextEdit* log, int linha);

// How the tool reaches the library: through the helper program, as shipped,
// or in the test's own process, where the test steers a stand-in.
enum class Via { Auxiliar, NoProcesso };

// The whole tool in process, on the recording ports, against the device
// library at the given path: what every window test starts from.
class Bancada {
  public:
    explicit Bancada(const QString& caminhoDll, Via via = Via::Auxiliar);
    ~Bancada();

    DialogosTeste dialogos;
    RelogioTeste relogio;
    std::unique_ptr<DllSat> dll;
    std::unique_ptr<Aplicacao> app;

    Contexto& ctx() { return app->contexto(); }
    QWidget* janela(Janela j) const { return app->janela(j); }

    template <typename T>
    T* controle(Janela j, const char* nome) const {
        T* c = janela(j)->findChild<T*>(QString::fromLatin1(nome));
        if (!c) qFatal("controle %s ausente", nome);
        return c;
    }

    // Clicks as a person would: only a visible, enabled button.
    bool clicar(Janela j, const char* botao);
    // Selects a visible, enabled radio button by a click on its circle; true
    // when it is selected then.
    bool marcar(Janela j, const char* radio);
    // The main window, as after entering with this activation code.
    void abrirPrincipal(const QString& codigo);
};
