sat_add_test(tst_tour SOURCES tst_tour.cpp LIBS apoio_testes)
target_compile_definitions(tst_tour PRIVATE ${DEFINICOES_FALSAS})
add_dependencies(tst_tour dllsat_falsa_tivoro)
