# The automatic setup's own time per device, pauses skipped.
if(SAT_EMULADOR)
    add_executable(bench_setup ${CMAKE_CURRENT_SOURCE_DIR}/bench_setup.cpp
        ${CMAKE_SOURCE_DIR}/tests/setup/Roteiro.cpp ${CMAKE_SOURCE_DIR}/tests/setup/Roteiro.h)
    target_link_libraries(bench_setup PRIVATE apoio_testes emulador_controle)
    target_compile_definitions(bench_setup PRIVATE ${DEFINICOES_EMULADOR}
        DLLSAT_TIVORO="$<TARGET_FILE:dllsat_falsa_tivoro>")
    add_dependencies(bench_setup dllsat dllsat_falsa_tivoro)
endif()
