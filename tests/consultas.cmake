# Queries, the device log and the software update.
sat_add_test(tst_base64 SOURCES tst_base64.cpp LIBS toolsat)
foreach(teste tst_consultas tst_atualizacao)
    sat_add_test(${teste} SOURCES ${teste}.cpp LIBS apoio_testes)
    target_compile_definitions(${teste} PRIVATE ${DEFINICOES_FALSAS})
    add_dependencies(${teste} dllsat_falsa_tivoro)
endforeach()
