# Queries, the device log and the update against the emulated device.
if(TARGET dllsat AND TARGET emulador_controle)
    sat_add_test(tst_consultas_emulador SOURCES tst_consultas_emulador.cpp
        LIBS apoio_testes emulador_controle)
endif()
