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

// The device library's calls, shown with the same guard.
class EsperaComCursor : public EsperaDispositivo {
  public:
    void comecar() override;
    void terminar() override;
};
