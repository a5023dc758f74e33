#pragma once

#include "core/Portas.h"

// The real ports: Qt's boxes and file dialogs, and a real pause.
class DialogosQt : public PortaDialogos {
  public:
    void mensagem(Icone icone, const QString& texto) override;
    QString abrirArquivo(const Arquivo& dialogo) override;
    QString salvarArquivo(const Arquivo& dialogo) override;
    void abrirEndereco(const QUrl& endereco) override;
};

class RelogioReal : public Relogio {
  public:
    void pausa(int ms) override;
};
