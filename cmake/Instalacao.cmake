# What `cmake --install` and the .deb put in place: the tool, the emulated
# device library and its control command side by side (bin/, lib/), so the
# tool finds its library with no setting, plus the desktop entry and the icon.
include(GNUInstallDirs)

# The emulator's own rules put libdllsat.so into lib/ (not the multiarch
# folder) and satemu into bin/; tests/instalacao.sh checks all three are there.
install(TARGETS tool-sat-tivoro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/tool-sat-tivoro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/imagens/icone.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME tool-sat-tivoro.png)
install(FILES ${CMAKE_SOURCE_DIR}/resources/fontes/icone.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME tool-sat-tivoro.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tool-sat-tivoro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tivoro Tecnologia")
set(CPACK_PACKAGE_CONTACT "Tivoro Tecnologia <suporte@tivoro.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Ferramenta de servico do SAT KT-470e, com o dispositivo emulado")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Written out rather than scanned, so making the package needs no dpkg-dev;
# the platform plugins and openssl are used at run time only.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), qt6-qpa-plugins, openssl")
# Qt's own dialogs in Portuguese, when installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
include(CPack)
