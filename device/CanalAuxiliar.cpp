#include "device/CanalAuxiliar.h"

#include <algorithm>
#include <chrono>

namespace {
using Relogio = std::chrono::steady_clock;

// Short enough for the GUI thread to repaint while it waits.
constexpr int FatiaMs = 50;

Desfecho desfecho(Desfecho::Tipo tipo, const QString& detalhe = {}) {
    Desfecho d;
    d.tipo = tipo;
    d.detalhe = detalhe;
    return d;
}
}  // namespace

CanalAuxiliar::CanalAuxiliar(const QString& programa, const QString& biblioteca)
    : m_programa(programa), m_biblioteca(biblioteca) {}

CanalAuxiliar::Abertura CanalAuxiliar::abrir(const std::function<void()>& aguardar) {
    QString erro;
    m_processo = ProcessoAuxiliar::iniciar(m_programa, m_biblioteca, erro);
    if (!m_processo)
        return {Abertura::Tipo::SemAuxiliar,
                QStringLiteral("O programa auxiliar %1, que carrega a biblioteca do SAT, não pôde "
                               "ser iniciado: %2.\nReinstale o tool-sat-tivoro.")
                    .arg(m_programa, erro)};
    Desfecho falha;
    const auto ola = receber(LimiteCargaMs, aguardar, falha);
    if (!ola) {
        const QString como =
            falha.tipo == Desfecho::Tipo::Prazo
                ? QStringLiteral("não terminou de carregar em %1 s").arg(LimiteCargaMs / 1000)
                : QStringLiteral("terminou com %1 ao ser carregada").arg(falha.detalhe);
        return {Abertura::Tipo::Quebrou, como};
    }
    // The helper speaks UTF-8: the loaded file's path, the system's reason.
    const QString texto = QString::fromUtf8(ola->bytes.data(), qsizetype(ola->bytes.size()));
    switch (ola->tipo) {
        case sat::TipoResposta::Pronta:
            return {Abertura::Tipo::Pronta, texto};
        case sat::TipoResposta::NaoCarrega:
            m_processo.reset();
            return {Abertura::Tipo::NaoCarrega, texto};
        case sat::TipoResposta::SemFuncao:
            m_processo.reset();
            return {Abertura::Tipo::SemFuncao, texto};
        default:
            m_processo.reset();
            return {Abertura::Tipo::Quebrou,
                    QStringLiteral("uma resposta que o programa auxiliar não deveria dar")};
    }
}

Desfecho CanalAuxiliar::chamar(const sat::Pedido& pedido, int limiteMs,
                               const std::function<void()>& aguardar) {
    if (!m_processo) {
        const Abertura a = abrir(aguardar);
        if (a.tipo != Abertura::Tipo::Pronta)
            return desfecho(Desfecho::Tipo::NaoRecarrega, a.texto);
    }
    Desfecho falha;
    if (!m_processo->enviar(sat::quadro(pedido))) {
        // It died after its last reply; its status tells how.
        falha = desfecho(Desfecho::Tipo::Terminou, m_processo->comoTerminou());
        m_processo.reset();
        return falha;
    }
    const auto r = receber(limiteMs, aguardar, falha);
    if (!r) return falha;
    switch (r->tipo) {
        case sat::TipoResposta::Texto: {
            Desfecho d;
            d.bytes = QByteArray(r->bytes.data(), qsizetype(r->bytes.size()));
            return d;
        }
        case sat::TipoResposta::Nula:
            return desfecho(Desfecho::Tipo::Nula);
        case sat::TipoResposta::Grande:
            return desfecho(Desfecho::Tipo::Grande, QString::fromStdString(r->bytes));
        default:
            m_processo.reset();
            return desfecho(Desfecho::Tipo::Terminou,
                            QStringLiteral("uma resposta que o programa auxiliar não deveria dar"));
    }
}

std::optional<sat::Resposta> CanalAuxiliar::receber(int limiteMs,
                                                    const std::function<void()>& aguardar,
                                                    Desfecho& falha) {
    const auto prazo = Relogio::now() + std::chrono::milliseconds(limiteMs);
    unsigned char cabecalho[4];
    if (!lerDentroDoPrazo(reinterpret_cast<char*>(cabecalho), 4, prazo, aguardar, falha))
        return std::nullopt;
    const std::uint32_t tamanho = sat::tamanhoDoQuadro(cabecalho);
    std::string conteudo;
    if (tamanho == 0 || tamanho > sat::LimiteResposta + 1) {
        falha = desfecho(Desfecho::Tipo::Terminou,
                         QStringLiteral("um quadro de %1 bytes, fora do protocolo").arg(tamanho));
        m_processo.reset();
        return std::nullopt;
    }
    conteudo.resize(tamanho);
    if (!lerDentroDoPrazo(conteudo.data(), tamanho, prazo, aguardar, falha)) return std::nullopt;
    auto r = sat::lerResposta(std::move(conteudo));
    if (!r) {
        falha = desfecho(Desfecho::Tipo::Terminou, QStringLiteral("uma resposta ilegível"));
        m_processo.reset();
    }
    return r;
}

bool CanalAuxiliar::lerDentroDoPrazo(char* destino, std::size_t tamanho, Relogio::time_point prazo,
                                     const std::function<void()>& aguardar, Desfecho& falha) {
    while (tamanho > 0) {
        const auto resta =
            std::chrono::duration_cast<std::chrono::milliseconds>(prazo - Relogio::now()).count();
        const long n =
            m_processo->ler(destino, tamanho, int(std::clamp<long long>(resta, 0, FatiaMs)));
        if (n > 0) {
            destino += n;
            tamanho -= std::size_t(n);
        } else if (n < 0) {
            falha = desfecho(Desfecho::Tipo::Terminou, m_processo->comoTerminou());
            m_processo.reset();
            return false;
        } else if (resta <= 0) {
            m_processo->matar();
            m_processo.reset();
            falha = desfecho(Desfecho::Tipo::Prazo);
            return false;
        } else if (aguardar) {
            aguardar();
        }
    }
    return true;
}
