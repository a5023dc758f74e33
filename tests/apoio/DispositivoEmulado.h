#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "emulator/Controle.h"

// The emulator's texts are UTF-8 in std::string; the tests' are QString.
inline QString qtexto(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string stexto(const QString& s) {
    return s.toStdString();
}

// A factory-new emulated device of the test's own: its state lives in a fresh
// folder, which $SAT_EMULADOR_DIR names for the library from now on, so no
// test meets what an earlier one or an earlier run left behind.
class DispositivoEmulado : public emulador::Controle {
  public:
    DispositivoEmulado();

  private:
    explicit DispositivoEmulado(std::unique_ptr<QTemporaryDir> pasta);
    std::unique_ptr<QTemporaryDir> m_pasta;
};
