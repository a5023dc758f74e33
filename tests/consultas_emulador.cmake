# Queries, the device log and the update against the emulated device.
sat_add_teste_emulador(tst_consultas_emulador SOURCES tst_consultas_emulador.cpp)
