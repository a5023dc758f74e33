# The device log: its decoder against coreutils, and its extraction into the
# queries window.
add_executable(bench_base64 ${CMAKE_CURRENT_SOURCE_DIR}/bench_base64.cpp)
target_link_libraries(bench_base64 PRIVATE toolsat)
add_executable(bench_extracao ${CMAKE_CURRENT_SOURCE_DIR}/bench_extracao.cpp)
target_link_libraries(bench_extracao PRIVATE apoio_testes)
# Extracted from the emulated device too, when the build has it.
if(SAT_EMULADOR)
    target_link_libraries(bench_extracao PRIVATE emulador_controle)
endif()
# Copying and pasting the whole device log.
if(SAT_EMULADOR)
    add_executable(bench_copia ${CMAKE_CURRENT_SOURCE_DIR}/bench_copia.cpp)
    target_link_libraries(bench_copia PRIVATE apoio_testes)
endif()
