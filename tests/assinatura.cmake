# The signature pipeline against the real openssl, and the associate-signature
# window against the stand-in library.
sat_add_test(tst_funcoes SOURCES tst_funcoes.cpp LIBS apoio_testes)
sat_add_test(tst_associar SOURCES tst_associar.cpp LIBS apoio_testes)
target_compile_definitions(tst_associar PRIVATE ${DEFINICOES_FALSAS})
add_dependencies(tst_associar dllsat_falsa_tivoro)
