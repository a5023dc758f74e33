# What every test of the tool shares: the recording dialog port and clock.
file(GLOB fontes_apoio CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/apoio/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/apoio/*.h)
add_library(apoio_testes STATIC ${fontes_apoio})
target_link_libraries(apoio_testes PUBLIC toolsat Qt6::Test)
# The emulated device, for every test that wants it: CaminhoEmulador().
if(TARGET dllsat)
    target_compile_definitions(apoio_testes PUBLIC ${DEFINICOES_EMULADOR})
    add_dependencies(apoio_testes dllsat satemu)
endif()
