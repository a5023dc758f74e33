#include "setup/AnimaSetup.h"

#include "core/NaGui.h"
#include "core/Trabalhador.h"
#include "ui/Contexto.h"

namespace {
constexpr int MeioPeriodo = 500;
// Published by nobody; ends the animation as the original's did.
constexpr int EtapaFinal = 10;

bool par(const EstadoSessao::Etapa& e, int numero, const char* texto) {
    return e.numero == numero && e.texto == QLatin1String(texto);
}
}  // namespace

// One phase: the panel step it animates, the step number it follows, how it
// is entered and which pair ends it well.
struct AnimaSetup::Fase {
    int passo;
    int etapa;
    const char* entrada;
    const char* entradaQualquerEtapa;  // text that enters it at any step
    int etapaOk;
    const char* textoOk;
    bool pausaNoFim;
};

std::shared_ptr<AnimaSetup> AnimaSetup::iniciar(Contexto& ctx, const Imagens& imagens) {
    auto anima = std::make_shared<AnimaSetup>(ctx, imagens);
    Trabalhador::iniciar([anima] { anima->executar(); });
    return anima;
}

void AnimaSetup::executar() {
    while (!*m_parar && ctx.estado.EtapaSetup().numero != EtapaFinal)
        if (!passar()) return;
}

// One pass: the connected step done, then every phase whose pair is due,
// in order, so that a device moving on is followed without a new pass.
bool AnimaSetup::passar() {
    static const Fase fases[] = {
        {2, 1, "SAT CONECTADO", "SAT PCONECTADO", 2, "SAT ATIVO", false},
        {3, 2, "SAT ATIVO", nullptr, 3, "SAT ASSINADO", true},
        {4, 3, "SAT ASSINADO", nullptr, 4, "SAT REINICIADO", true},
        {5, 4, "SAT REINICIADO", nullptr, 5, "SAT TESTADO", true},
        {6, 5, "SAT TESTADO", "ERRO TESTE", 1, "SAT PCONECTADO", false},
    };
    mostrar(1, Aparencia::Ok, true);
    if (!pausa(MeioPeriodo)) return false;
    for (const Fase& f : fases) {
        const EstadoSessao::Etapa e = ctx.estado.EtapaSetup();
        const bool entra = par(e, f.etapa, f.entrada) ||
                           (f.entradaQualquerEtapa && e.texto == f.entradaQualquerEtapa);
        if (entra && !fase(f)) return false;
    }
    return true;
}

bool AnimaSetup::fase(const Fase& f) {
    if (!piscar(f)) return false;
    mostrar(f.passo, Aparencia::Azul, false);
    mostrar(f.passo, Aparencia::Amarelo, false);
    const bool ok = par(ctx.estado.EtapaSetup(), f.etapaOk, f.textoOk);
    if (f.passo == 6) {
        // The next device: the panel starts over.
        if (ok) esconderTodas();
        return true;
    }
    mostrar(f.passo, ok ? Aparencia::Ok : Aparencia::Erro, true);
    return !f.pausaNoFim || pausa(MeioPeriodo);
}

bool AnimaSetup::piscar(const Fase& f) {
    bool azul = true;
    while (ctx.estado.EtapaSetup().numero == f.etapa) {
        mostrar(f.passo, azul ? Aparencia::Amarelo : Aparencia::Azul, false);
        mostrar(f.passo, azul ? Aparencia::Azul : Aparencia::Amarelo, true);
        if (!pausa(MeioPeriodo)) return false;
        azul = !azul;
    }
    return true;
}

bool AnimaSetup::pausa(int ms) {
    if (*m_parar) return false;
    ctx.relogio.pausa(ms);
    return !*m_parar;
}

void AnimaSetup::mostrar(int passo, Aparencia aparencia, bool visivel) {
    QLabel* const imagem = m_imagens[passo - 1][static_cast<int>(aparencia)];
    naGui(imagem, [parar = m_parar, imagem, visivel] {
        if (!*parar) imagem->setVisible(visivel);
    });
}

void AnimaSetup::esconderTodas() {
    // The panel's images go together with their window: any of them stands
    // for all.
    naGui(m_imagens[0][0], [parar = m_parar, imagens = m_imagens] {
        if (*parar) return;
        for (const auto& passo : imagens)
            for (QLabel* imagem : passo) imagem->hide();
    });
}
