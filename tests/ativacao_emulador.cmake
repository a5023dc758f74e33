# Activation and change of code through the windows, against the emulated device.
sat_add_teste_emulador(tst_ativacao_emulador SOURCES tst_ativacao_emulador.cpp)
