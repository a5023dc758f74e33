# The install tree runs the tool from another folder. It needs the emulated
# library and its control command, which only the emulator's build provides.
if(TARGET dllsat AND TARGET satemu)
    add_test(NAME instalacao
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/instalacao.sh ${CMAKE_BINARY_DIR} ${SAT_PASTA_EMULADOR})
    set_tests_properties(instalacao PROPERTIES TIMEOUT 120
        ENVIRONMENT "LANG=pt_BR.UTF-8;QT_LOGGING_RULES=qt.qpa.*=false")
endif()
# Every program and library of the build tree.
add_test(NAME caminhos_de_busca COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/caminhos_de_busca.sh
    ${CMAKE_BINARY_DIR}/bin ${CMAKE_BINARY_DIR}/lib ${CMAKE_BINARY_DIR}/falsas)
# The packages are made of the build as shipped, not of the sanitizer's.
if(TARGET dllsat AND TARGET satemu AND NOT SAT_SANITIZE)
    add_test(NAME pacotes COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/pacotes.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(pacotes PROPERTIES TIMEOUT 300)
endif()
