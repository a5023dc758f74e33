#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>

// A regular file open through the system itself: what QFile cannot promise
// (no pipe or device ever opened, data on the disk before success is told).
class ArquivoSistema {
  public:
    enum class Modo { Ler, Acrescentar };
    // The reason given for a pipe, a device or a folder.
    static const QString NaoComum;

    ArquivoSistema() = default;
    ~ArquivoSistema();
    ArquivoSistema(const ArquivoSistema&) = delete;
    ArquivoSistema& operator=(const ArquivoSistema&) = delete;

    // Opens only a regular file (Acrescentar creates it); false with the
    // reason in erro() otherwise.
    bool abrir(const QString& caminho, Modo modo);
    // Its size when opened.
    qint64 tamanho() const { return m_tamanho; }
    // Bytes read, 0 at the end, -1 on an error.
    qint64 ler(char* destino, qint64 maximo);
    // Writes all of it and waits until the disk has it: a full disk may
    // show itself only then.
    bool gravarTudo(const char* origem, qint64 tamanho);
    bool truncar(qint64 tamanho);
    QString erro() const { return m_erro; }

  private:
    void lembrarErro();
    std::intptr_t m_nativo = -1;
    qint64 m_tamanho = 0;
    QString m_erro;
};
