# What every test of the tool shares: the recording dialog port and clock.
file(GLOB fontes_apoio CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/apoio/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/apoio/*.h)
add_library(apoio_testes STATIC ${fontes_apoio})
target_link_libraries(apoio_testes PUBLIC toolsat Qt6::Test)
# The emulated device, for every test that wants it: CaminhoEmulador() and a
# DispositivoEmulado of the test's own.
if(TARGET dllsat)
    target_compile_definitions(apoio_testes PUBLIC ${DEFINICOES_EMULADOR})
    target_link_libraries(apoio_testes PUBLIC emulador_controle)
    add_dependencies(apoio_testes dllsat satemu)
endif()

# A window test against the emulated device, with the support that gives each
# test a device of its own; none when the build has no emulator.
function(sat_add_teste_emulador nome)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT (TARGET dllsat AND TARGET emulador_controle))
        return()
    endif()
    set(tempo)
    if(T_TIMEOUT)
        set(tempo TIMEOUT ${T_TIMEOUT})
    endif()
    sat_add_test(${nome} SOURCES ${T_SOURCES} LIBS apoio_testes ${T_LIBS} ${tempo})
endfunction()
