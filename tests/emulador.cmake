# The emulated device, through the tool's binding and in the tool's windows.
if(TARGET dllsat)
    sat_add_test(tst_emulador SOURCES tst_emulador.cpp LIBS apoio_testes emulador_controle)
    sat_add_test(tst_emulador_shell SOURCES tst_emulador_shell.cpp
        LIBS apoio_testes emulador_controle)
endif()
