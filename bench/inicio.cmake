# Start-up of the tool against a bare Qt window, on an X display.
find_library(XCB_BIBLIOTECA xcb)
find_path(XCB_CABECALHOS xcb/xcb.h)
if(XCB_BIBLIOTECA AND XCB_CABECALHOS)
    add_executable(bench_janela_nua ${CMAKE_CURRENT_SOURCE_DIR}/janela_nua.cpp)
    target_link_libraries(bench_janela_nua PRIVATE Qt6::Widgets)
    add_executable(bench_inicio ${CMAKE_CURRENT_SOURCE_DIR}/bench_inicio.cpp)
    target_include_directories(bench_inicio PRIVATE ${XCB_CABECALHOS} ${CMAKE_SOURCE_DIR})
    target_link_libraries(bench_inicio PRIVATE Qt6::Core ${XCB_BIBLIOTECA})
    target_compile_definitions(bench_inicio PRIVATE
        TOOL_SAT="$<TARGET_FILE:tool-sat-tivoro>"
        JANELA_NUA="$<TARGET_FILE:bench_janela_nua>")
    add_dependencies(bench_inicio tool-sat-tivoro bench_janela_nua)
    if(SAT_EMULADOR)
        add_dependencies(bench_inicio dllsat)
    endif()
endif()
