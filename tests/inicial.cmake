sat_add_test(tst_inicial SOURCES tst_inicial.cpp LIBS apoio_testes)
target_compile_definitions(tst_inicial PRIVATE ${DEFINICOES_FALSAS})
add_dependencies(tst_inicial dllsat_falsa_tivoro dllsat_falsa_sem_secao dllsat_falsa_outra_empresa
    dllsat_falsa_minusculas)
sat_add_test(tst_campos SOURCES tst_campos.cpp LIBS toolsat)
sat_add_test(tst_encerramento SOURCES tst_encerramento.cpp LIBS toolsat)
target_compile_definitions(tst_encerramento PRIVATE ${DEFINICOES_FALSAS})
add_dependencies(tst_encerramento dllsat_falsa_tivoro)
add_test(NAME tela_que_nao_responde COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tela.sh
    $<TARGET_FILE:tool-sat-tivoro>)
