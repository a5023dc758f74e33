#pragma once

#include <QByteArray>
#include <QString>

#include "emulator/Controle.h"

// The emulated device's fourteen functions: arguments as the library gets them
// (Windows-1252 texts, UTF-8 documents, null for empty), replies as the
// Windows-1252 bytes it returns. Each call re-reads the state, since another
// process may have changed it. Calls of one process are served one at a time,
// as the device handles one command at a time: a second caller waits.
namespace emulador {

class Dispositivo {
  public:
    explicit Dispositivo(const QString& pasta = Controle::pastaPadrao());

    QByteArray ConsultarSAT(int sessao);
    QByteArray ConsultarStatusOperacional(int sessao, const char* codigo);
    QByteArray ConsultarNumeroSessao(int sessao, const char* codigo, int consultada);
    QByteArray AtivarSAT(int sessao, int subComando, const char* codigo, const char* cnpj, int uf);
    QByteArray AssociarAssinatura(int sessao, const char* codigo, const char* cnpjs,
                                  const char* assinatura);
    QByteArray TesteFimAFim(int sessao, const char* codigo, const char* documento);
    QByteArray EnviarDadosVenda(int sessao, const char* codigo, const char* documento);
    QByteArray CancelarUltimaVenda(int sessao, const char* codigo, const char* chave,
                                   const char* documento);
    QByteArray ConfigurarInterfaceDeRede(int sessao, const char* codigo, const char* documento);
    QByteArray TrocarCodigoDeAtivacao(int sessao, const char* codigo, int opcao, const char* novo,
                                      const char* confirmacao);
    QByteArray ExtrairLogs(int sessao, const char* codigo);
    QByteArray AtualizarSoftwareSAT(int sessao, const char* codigo);
    QByteArray BloquearSAT(int sessao, const char* codigo);
    QByteArray DesbloquearSAT(int sessao, const char* codigo);

    // The whole reply of a device that is not on its port (Windows-1252).
    static const QByteArray PortaNaoPronta;
    // The development signature that development kits accept.
    static const QString AssinaturaDesenvolvimento;

  private:
    Controle m_controle;
};

}  // namespace emulador
