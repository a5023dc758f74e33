# What every test of the tool shares: the recording dialog port and clock.
file(GLOB fontes_apoio CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/apoio/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/apoio/*.h)
add_library(apoio_testes STATIC ${fontes_apoio})
target_link_libraries(apoio_testes PUBLIC toolsat Qt6::Test)
