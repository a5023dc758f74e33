if(TARGET dllsat AND TARGET emulador_controle)
    sat_add_test(tst_ativacao_emulador SOURCES tst_ativacao_emulador.cpp
        LIBS apoio_testes emulador_controle)
    target_compile_definitions(tst_ativacao_emulador PRIVATE ${DEFINICOES_EMULADOR})
    add_dependencies(tst_ativacao_emulador dllsat)
endif()
