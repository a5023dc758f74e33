#pragma once

#include "device/DllSat.h"

// The busy cursor while the GUI thread waits (a device call, an OpenSSL run).
// Only the outermost guard acts; off the GUI thread a guard does nothing.
class CursorOcupado {
  public:
    CursorOcupado();
    ~CursorOcupado();
    CursorOcupado(const CursorOcupado&) = delete;
    CursorOcupado& operator=(const CursorOcupado&) = delete;
};

class PortaDialogos;

// The device library's calls, shown with the same guard. While the GUI thread
// waits for a reply it still repaints, and takes no input; a failure of the
// library becomes an error box and a line on standard error.
class EsperaComCursor : public EsperaDispositivo {
  public:
    explicit EsperaComCursor(PortaDialogos& dialogos) : m_dialogos(dialogos) {}
    void comecar() override;
    void aguardar() override;
    void terminar() override;
    void falhou(const QString& texto) override;

  private:
    PortaDialogos& m_dialogos;
};
