# The associate-signature window against an activated emulated device.
sat_add_teste_emulador(tst_associar_emulador SOURCES tst_associar_emulador.cpp)
