# Every window at a scale of 1.5 on a 1280 x 800 screen.
sat_add_test(tst_escala SOURCES tst_escala.cpp LIBS apoio_testes)
target_compile_definitions(tst_escala PRIVATE ${DEFINICOES_FALSAS})
add_dependencies(tst_escala dllsat_falsa_tivoro)
