#include "device/TempoLimite.h"

#include <charconv>

namespace {
// A day: past it the value is surely a mistake.
constexpr int MaximoSegundos = 86400;
}  // namespace

int tempoLimitePadrao(sat::Funcao funcao) {
    using F = sat::Funcao;
    switch (funcao) {
        case F::ConsultarSAT:
            return 15;
        case F::ConsultarStatusOperacional:
        case F::ConsultarNumeroSessao:
            return 30;
        case F::TrocarCodigoDeAtivacao:
            return 60;
        case F::AssociarAssinatura:
        case F::EnviarDadosVenda:
        case F::CancelarUltimaVenda:
        case F::ConfigurarInterfaceDeRede:
            return 120;
        case F::TesteFimAFim:
        case F::BloquearSAT:
        case F::DesbloquearSAT:
            return 300;
        case F::AtivarSAT:
        case F::ExtrairLogs:
            return 600;
        case F::AtualizarSoftwareSAT:
            return 1800;
    }
    return 60;
}

std::optional<int> tempoLimiteDoAmbiente(QString* erro) {
    const QByteArray valor = qgetenv("SAT_TEMPO_LIMITE").trimmed();
    if (valor.isEmpty()) return std::nullopt;
    int segundos = 0;
    const auto [fim, falha] = std::from_chars(valor.constData(), valor.constEnd(), segundos);
    if (falha != std::errc() || fim != valor.constEnd() || segundos < 1 ||
        segundos > MaximoSegundos) {
        if (erro)
            *erro = QStringLiteral("SAT_TEMPO_LIMITE=%1 ignorado: dê os segundos, de 1 a %2.")
                        .arg(QString::fromLocal8Bit(valor))
                        .arg(MaximoSegundos);
        return std::nullopt;
    }
    return segundos;
}

bool mudaDispositivo(sat::Funcao funcao) {
    using F = sat::Funcao;
    switch (funcao) {
        case F::ConsultarSAT:
        case F::ConsultarStatusOperacional:
        case F::ConsultarNumeroSessao:
        case F::ExtrairLogs:
        case F::TesteFimAFim:
            return false;
        default:
            return true;
    }
}
