if(TARGET dllsat AND TARGET emulador_controle)
    sat_add_test(tst_rede_emulador SOURCES tst_rede_emulador.cpp
        LIBS apoio_testes emulador_controle)
    target_compile_definitions(tst_rede_emulador PRIVATE ${DEFINICOES_EMULADOR})
    add_dependencies(tst_rede_emulador dllsat)
endif()
