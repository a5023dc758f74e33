#include "tests/apoio/TesteJanelas.h"

#include "core/Trabalhador.h"

void TesteJanelas::init() {
    b = std::make_unique<Bancada>(ligar(), via());
    preparar();
}

void TesteJanelas::cleanup() {
    encerrar();
    QTRY_COMPARE_WITH_TIMEOUT(Trabalhador::vivos(), 0, 15000);
    b.reset();
    desligar();
}

QString TesteFalso::ligar() {
    falsa.emOperacao();
    return DLLSAT_TIVORO;
}

QString TesteEmulado::ligar() {
    dispositivo = std::make_unique<DispositivoEmulado>();
    return CaminhoEmulador();
}

void TesteEmulado::desligar() {
    dispositivo.reset();
}
