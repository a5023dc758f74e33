# The automatic setup's own time per device, pauses skipped.
if(SAT_EMULADOR)
    add_executable(bench_setup ${CMAKE_CURRENT_SOURCE_DIR}/bench_setup.cpp
        ${CMAKE_SOURCE_DIR}/tests/setup/Roteiro.cpp ${CMAKE_SOURCE_DIR}/tests/setup/Roteiro.h)
    target_link_libraries(bench_setup PRIVATE apoio_testes emulador_controle)
endif()
