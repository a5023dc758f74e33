# Median time of each emulated device call, in this process and through the
# tool's helper program.
if(SAT_EMULADOR)
    add_executable(bench_emulador ${CMAKE_CURRENT_SOURCE_DIR}/bench_emulador.cpp
        ${CMAKE_SOURCE_DIR}/tests/apoio/CanalNoProcesso.cpp)
    target_link_libraries(bench_emulador PRIVATE emulador_controle toolsat_nucleo ${CMAKE_DL_LIBS})
    target_compile_definitions(bench_emulador PRIVATE ${DEFINICOES_EMULADOR})
    add_dependencies(bench_emulador dllsat)
endif()
