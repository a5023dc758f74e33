# The tests that mean something on Windows, run there (or under Wine through
# CMAKE_CROSSCOMPILING_EMULATOR): texts and fields, the binding and its helper
# against stand-in libraries of both architectures, the windows against the
# stand-in and the emulated device.
sat_add_test(tst_base64 SOURCES tst_base64.cpp LIBS toolsat)
sat_add_test(tst_campos SOURCES tst_campos.cpp LIBS toolsat)
sat_add_test(tst_emulador_venda SOURCES tst_emulador_venda.cpp LIBS emulador_controle)
sat_add_test(tst_windows SOURCES tst_windows.cpp apoio/FifoTeste_windows.cpp LIBS toolsat_nucleo
    falsas_testes)
if(SAT_WINDOWS_32)
    target_compile_definitions(tst_windows PRIVATE
        DLLSAT_TIVORO_32="${SAT_WINDOWS_32}/falsas/dllsat_falsa_tivoro/dllsat.dll")
endif()
# Not yet here: tst_inicial, tst_ativacao, tst_atualizacao and tst_associar
# pass every case under Wine but their process does not end (found, not yet
# understood);
# tst_trocarcodigo and tst_escala measure text, which Qt's offscreen platform
# under Wine draws narrower than on Linux.
foreach(teste tst_rede tst_transacoes tst_tour)
    sat_add_test(${teste} SOURCES ${teste}.cpp LIBS apoio_testes)
endforeach()

get_property(testes DIRECTORY PROPERTY TESTS)
list(REMOVE_ITEM testes localidade)
set_tests_properties(${testes} PROPERTIES FIXTURES_REQUIRED localidade)
