if(TARGET dllsat AND TARGET emulador_controle)
    sat_add_test(tst_transacoes_emulador SOURCES tst_transacoes_emulador.cpp
        LIBS apoio_testes emulador_controle)
    target_compile_definitions(tst_transacoes_emulador PRIVATE ${DEFINICOES_EMULADOR})
    add_dependencies(tst_transacoes_emulador dllsat)
endif()
