sat_add_test(tst_rede SOURCES tst_rede.cpp LIBS apoio_testes)
target_compile_definitions(tst_rede PRIVATE ${DEFINICOES_FALSAS})
add_dependencies(tst_rede dllsat_falsa_tivoro)
