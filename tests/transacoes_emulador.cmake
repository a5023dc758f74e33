# The end-to-end test and the test sales against the emulated device.
sat_add_teste_emulador(tst_transacoes_emulador SOURCES tst_transacoes_emulador.cpp)
