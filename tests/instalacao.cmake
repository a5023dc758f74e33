# The install tree runs the tool from another folder. It needs the emulated
# library and its control command, which only the emulator's build provides.
if(TARGET dllsat AND TARGET satemu)
    add_test(NAME instalacao COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/instalacao.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(instalacao PROPERTIES TIMEOUT 120
        ENVIRONMENT "LANG=pt_BR.UTF-8;QT_LOGGING_RULES=qt.qpa.*=false")
endif()
