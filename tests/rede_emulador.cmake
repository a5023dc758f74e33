# The network configuration window against the emulated device.
sat_add_teste_emulador(tst_rede_emulador SOURCES tst_rede_emulador.cpp)
