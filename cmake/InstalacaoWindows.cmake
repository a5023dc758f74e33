# What the Windows installer and the portable .zip hold: one folder with the
# tool, its helpers, Qt and the MinGW runtime beside it, openssl.exe, and the
# emulated device in a folder of its own (component sat-emulador), where no
# DLL search of the tool or of any other program looks.
set(SAT_OPENSSL_WINDOWS "" CACHE FILEPATH "openssl.exe to ship (scripts/windows/openssl.sh)")
set(EMBALAGEM ${CMAKE_SOURCE_DIR}/packaging)
set(SAT_WINDOWS_32 "" CACHE PATH "Build tree of the 32-bit helper (scripts/windows/testar.sh)")

configure_file(${EMBALAGEM}/windows/tool-sat-tivoro.rc.in
    ${CMAKE_BINARY_DIR}/embalagem/tool-sat-tivoro.rc @ONLY)
target_sources(tool-sat-tivoro PRIVATE ${CMAKE_BINARY_DIR}/embalagem/tool-sat-tivoro.rc)
set_target_properties(tool-sat-tivoro PROPERTIES WIN32_EXECUTABLE ON)

install(TARGETS tool-sat-tivoro sat-auxiliar RUNTIME DESTINATION . COMPONENT tool)
# The 32-bit helper and openssl.exe come from builds of their own; the build
# tree gets them beside the tool too, as installed.
set(de_fora)
if(SAT_WINDOWS_32)
    list(APPEND de_fora ${SAT_WINDOWS_32}/bin/sat-auxiliar-32.exe)
endif()
if(SAT_OPENSSL_WINDOWS)
    get_filename_component(pasta_openssl ${SAT_OPENSSL_WINDOWS} DIRECTORY)
    list(APPEND de_fora ${SAT_OPENSSL_WINDOWS})
    install(FILES ${pasta_openssl}/LICENSE-openssl.txt DESTINATION . COMPONENT tool OPTIONAL)
endif()
if(de_fora)
    install(PROGRAMS ${de_fora} DESTINATION . COMPONENT tool)
    add_custom_command(TARGET sat-auxiliar POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${de_fora} ${SAT_RAIZ_CONSTRUCAO}/
        VERBATIM)
endif()

set(qt ${QT6_INSTALL_PREFIX})
install(FILES ${qt}/bin/Qt6Core.dll ${qt}/bin/Qt6Gui.dll ${qt}/bin/Qt6Widgets.dll
    ${EMBALAGEM}/windows/qt.conf DESTINATION . COMPONENT tool)
install(FILES ${qt}/plugins/platforms/qwindows.dll DESTINATION platforms COMPONENT tool)
install(FILES ${qt}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles COMPONENT tool)
install(FILES ${qt}/plugins/imageformats/qjpeg.dll DESTINATION imageformats COMPONENT tool)
# Qt's own dialogs in Portuguese: the .qm files are the same on every system.
install(FILES /usr/share/qt6/translations/qtbase_pt_BR.qm DESTINATION translations
    COMPONENT tool)
# The C++ runtime the tool and Qt were built with.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
install(FILES ${libstdcxx} ${libgcc} ${CMAKE_FIND_ROOT_PATH}/lib/libwinpthread-1.dll
    DESTINATION . COMPONENT tool)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION .
    COMPONENT tool)
set(CPACK_COMPONENTS_ALL tool)
if(SAT_EMULADOR)
    list(APPEND CPACK_COMPONENTS_ALL sat-emulador)
endif()
