#pragma once

#include <QLabel>
#include <array>
#include <atomic>
#include <memory>

#include "setup/ImagensEtapa.h"

class Contexto;

// The setup's progress panel: follows the worker's published step pair,
// blinking the images of the step in progress and leaving the done or error
// image of each step that is over. Runs on its own thread until asked to stop.
class AnimaSetup {
  public:
    // Per step of the panel (in its order), the images by look.
    using Imagens = std::array<std::array<QLabel*, 4>, 6>;

    AnimaSetup(Contexto& contexto, const Imagens& imagens) : ctx(contexto), m_imagens(imagens) {}

    // Starts an animation on its own thread; the handle asks it to stop.
    static std::shared_ptr<AnimaSetup> iniciar(Contexto& ctx, const Imagens& imagens);

    // A request only: noticed when the pause in progress is over. Changes of
    // the panel still on their way to the GUI thread are dropped.
    void parar() { *m_parar = true; }
    void executar();

  private:
    struct Fase;
    bool passar();
    bool fase(const Fase& f);
    bool piscar(const Fase& f);
    bool pausa(int ms);
    void mostrar(int passo, Aparencia aparencia, bool visivel);
    void esconderTodas();

    Contexto& ctx;
    Imagens m_imagens;
    // Shared with the changes handed to the GUI thread, which may outlive this.
    std::shared_ptr<std::atomic<bool>> m_parar = std::make_shared<std::atomic<bool>>(false);
};
