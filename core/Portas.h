#pragma once

#include <QString>

class QUrl;

// The few things a test must be able to replace: boxes and file dialogs, and
// pauses. Windows and workers never call QMessageBox, QFileDialog or sleep
// directly.

class PortaDialogos {
  public:
    enum class Icone { Nenhum, Informacao, Erro };
    struct Arquivo {
        QString titulo;
        QString pasta;
        QString filtro;
        QString extensao;  // default extension, without the dot
    };

    virtual ~PortaDialogos() = default;
    // A box with an OK button, captioned with the application title. From a
    // worker it waits until the box is closed on the GUI thread.
    virtual void mensagem(Icone icone, const QString& texto) = 0;
    // The chosen path, or empty when the user cancels.
    virtual QString abrirArquivo(const Arquivo& dialogo) = 0;
    virtual QString salvarArquivo(const Arquivo& dialogo) = 0;
    // Opens a web page in the user's default browser.
    virtual void abrirEndereco(const QUrl& endereco) = 0;

    void informacao(const QString& texto) { mensagem(Icone::Informacao, texto); }
    void erro(const QString& texto) { mensagem(Icone::Erro, texto); }
};

class Relogio {
  public:
    virtual ~Relogio() = default;
    virtual void pausa(int ms) = 0;
};

inline constexpr const char* TituloAplicacao = "Tivoro Tecnologia - SAT KT-470e";
