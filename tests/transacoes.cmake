sat_add_test(tst_transacoes SOURCES tst_transacoes.cpp DllSatFalsa.h LIBS apoio_testes)
target_compile_definitions(tst_transacoes PRIVATE ${DEFINICOES_FALSAS})
add_dependencies(tst_transacoes dllsat_falsa_tivoro)
