#pragma once

#include <QString>

#include "core/Portas.h"

class Contexto;

inline constexpr int SessaoStatus = 1234567;
inline constexpr int SessaoEntrada = 1234589;

// The whole reply of a device that is not on its port.
inline const QString TextoPortaNaoPronta =
    QStringLiteral("PORTA SERIAL NãO ESTá PRONTA, TENTE NOVAMENTE");

inline const QString StatusConectado = QStringLiteral("CONECTADO");
inline const QString StatusEmProcessamento = QStringLiteral("EM PROCESSAMENTO");
inline const QString StatusDesconectado = QStringLiteral("DESCONECTADO");
inline const QString StatusDesconhecido = QStringLiteral("DESCONHECIDO");
inline const QString StatusEmAtivacao = QStringLiteral("EM ATIVAÇÃO");

// The reply box: fields 0, 1 and 2 into CampoA, CampoB, CampoC, and shown
// with the given icon.
void MostraResposta(Contexto& ctx, const QString& resposta,
                    PortaDialogos::Icone icone = PortaDialogos::Icone::Informacao);

// The status refresh; the painting variant also paints the main window's
// status label at once. Safe from a worker: the label changes on the GUI thread.
void AtualizaStatusConexao(Contexto& ctx, bool pintar);
