# The automatic setup against a scripted stand-in device.
sat_add_test(tst_setup SOURCES tst_setup.cpp setup/Roteiro.cpp setup/Roteiro.h LIBS apoio_testes)
target_compile_definitions(tst_setup PRIVATE ${DEFINICOES_FALSAS})
add_dependencies(tst_setup dllsat_falsa_tivoro)
