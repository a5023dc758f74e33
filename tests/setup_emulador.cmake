# The bench cycle against the emulated device.
sat_add_teste_emulador(tst_setup_emulador SOURCES tst_setup_emulador.cpp)
