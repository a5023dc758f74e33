sat_add_test(tst_dllsat SOURCES tst_dllsat.cpp LIBS toolsat_nucleo)
target_compile_definitions(tst_dllsat PRIVATE ${DEFINICOES_FALSAS}
    SAT_PASTA_EMULADOR="${SAT_PASTA_EMULADOR}")
add_dependencies(tst_dllsat dllsat_falsa_tivoro dllsat_falsa_sem_secao dllsat_falsa_sem_traducao
    dllsat_falsa_outra_empresa dllsat_falsa_minusculas dllsat_falsa_incompleta)
set_property(TEST tst_dllsat APPEND PROPERTY ENVIRONMENT
    "LD_LIBRARY_PATH=${CMAKE_BINARY_DIR}/falsas/dllsat_falsa_tivoro")
# The layers of the tool; tst_dllsat links the core alone.
add_test(NAME camadas COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/camadas.sh ${CMAKE_SOURCE_DIR}
    $<TARGET_FILE:tst_dllsat>)
