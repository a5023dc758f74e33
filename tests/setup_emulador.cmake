# The bench cycle against the emulated device.
if(TARGET dllsat AND TARGET emulador_controle)
    sat_add_test(tst_setup_emulador SOURCES tst_setup_emulador.cpp
        LIBS apoio_testes emulador_controle)
    target_compile_definitions(tst_setup_emulador PRIVATE ${DEFINICOES_EMULADOR})
    add_dependencies(tst_setup_emulador dllsat)
endif()
