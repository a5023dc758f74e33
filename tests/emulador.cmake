# The emulated device, through the tool's binding and in the tool's windows.
sat_add_teste_emulador(tst_emulador SOURCES tst_emulador.cpp)
sat_add_teste_emulador(tst_emulador_shell SOURCES tst_emulador_shell.cpp)
# The sale computation and the access key, without a device.
sat_add_test(tst_emulador_venda SOURCES tst_emulador_venda.cpp LIBS emulador_controle)
