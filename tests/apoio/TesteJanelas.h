#pragma once

#include <QObject>
#include <memory>

#include "tests/apoio/Bancada.h"
#include "tests/apoio/DispositivoEmulado.h"
#include "tests/apoio/DllSatFalsa.h"

// What a window test does around each of its tests: a device of the test's
// own and the whole tool against it; afterwards the workers waited for, then
// the tool gone before the device. A test adds its first steps in preparar()
// and lets go in encerrar() of whatever of its own may hold a worker.
class TesteJanelas : public QObject {
    Q_OBJECT
  protected:
    virtual void preparar() {}
    virtual void encerrar() {}
    std::unique_ptr<Bancada> b;

  private:
    // A fresh device, and the library that reaches it.
    virtual QString ligar() = 0;
    virtual Via via() const { return Via::Auxiliar; }
    virtual void desligar() {}

  private Q_SLOTS:
    void init();
    void cleanup();
};

// Against the stand-in library, which answers "em operação" at once until the
// test sets another reply.
class TesteFalso : public TesteJanelas {
  protected:
    DllSatFalsa falsa{DLLSAT_TIVORO};

  private:
    QString ligar() override;
    Via via() const override { return Via::NoProcesso; }
};

// Against a factory-new emulated device.
class TesteEmulado : public TesteJanelas {
  protected:
    std::unique_ptr<DispositivoEmulado> dispositivo;

  private:
    QString ligar() override;
    void desligar() override;
};
