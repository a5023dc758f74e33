#pragma once

#include <QHash>
#include <QWidget>

#include "core/EstadoSessao.h"
#include "core/GeradorAleatorio.h"
#include "core/Portas.h"
#include "device/DllSat.h"
#include "ui/Janelas.h"

// What every window and worker shares: the device library, the ports, the
// program-wide values, the session-number generator and the windows.
class Contexto {
  public:
    Contexto(DllSat& biblioteca, PortaDialogos& porta, Relogio& horas)
        : dll(biblioteca), dialogos(porta), relogio(horas) {}

    DllSat& dll;
    PortaDialogos& dialogos;
    Relogio& relogio;
    EstadoSessao estado;
    GeradorAleatorio aleatorio;

    void registrar(Janela janela, QWidget* widget) { m_janelas.insert(janela, widget); }
    void registrarInicial(JanelaCodAtivacao* inicial) { m_inicial = inicial; }
    void registrarPrincipal(JanelaPrincipal* principal) { m_principal = principal; }

    QWidget* janela(Janela janela) const { return m_janelas.value(janela); }
    void mostrar(Janela janela) const;
    void esconder(Janela janela) const;
    JanelaCodAtivacao& inicial() const { return *m_inicial; }
    JanelaPrincipal& principal() const { return *m_principal; }

    // Shorthands of the start window's members.
    QString CodigoAtivacao() const { return m_inicial->CodigoAtivacao(); }
    void setCodigoAtivacao(const QString& codigo) { m_inicial->setCodigoAtivacao(codigo); }

  private:
    QHash<Janela, QWidget*> m_janelas;
    JanelaCodAtivacao* m_inicial = nullptr;
    JanelaPrincipal* m_principal = nullptr;
};
