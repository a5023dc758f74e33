# What `cmake --install` and the two .deb packages put in place. Nothing goes
# into a folder of the linker's default path: the emulated device lives in a
# private folder of its own package (sat-emulador), so neither package ever
# replaces or removes a maker's libdllsat.so.
set(PASTA_DOC_TOOL ${CMAKE_INSTALL_DATADIR}/doc/tool-sat-tivoro)
set(PASTA_DOC_EMULADOR ${CMAKE_INSTALL_DATADIR}/doc/sat-emulador)
set(EMBALAGEM ${CMAKE_SOURCE_DIR}/packaging)

# Man pages and changelogs are installed compressed, as Debian's policy asks.
function(sat_comprimir origem destino)
    add_custom_command(OUTPUT ${destino}
        COMMAND gzip -9n -c ${origem} > ${destino}
        DEPENDS ${origem} VERBATIM)
endfunction()
sat_comprimir(${EMBALAGEM}/tool-sat-tivoro.1 ${CMAKE_BINARY_DIR}/embalagem/tool-sat-tivoro.1.gz)
sat_comprimir(${EMBALAGEM}/satemu.1 ${CMAKE_BINARY_DIR}/embalagem/satemu.1.gz)
sat_comprimir(${EMBALAGEM}/changelog ${CMAKE_BINARY_DIR}/embalagem/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/embalagem)
add_custom_target(embalagem ALL DEPENDS ${CMAKE_BINARY_DIR}/embalagem/tool-sat-tivoro.1.gz
    ${CMAKE_BINARY_DIR}/embalagem/satemu.1.gz ${CMAKE_BINARY_DIR}/embalagem/changelog.gz)

install(TARGETS tool-sat-tivoro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tool)
install(TARGETS sat-auxiliar RUNTIME DESTINATION ${SAT_PASTA_AUXILIAR} COMPONENT tool)
install(FILES ${EMBALAGEM}/tool-sat-tivoro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT tool)
install(FILES ${CMAKE_SOURCE_DIR}/resources/imagens/icone.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME tool-sat-tivoro.png COMPONENT tool)
install(FILES ${CMAKE_SOURCE_DIR}/resources/fontes/icone.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME tool-sat-tivoro.svg COMPONENT tool)
install(FILES ${CMAKE_BINARY_DIR}/embalagem/tool-sat-tivoro.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tool)
install(FILES ${EMBALAGEM}/copyright ${CMAKE_BINARY_DIR}/embalagem/changelog.gz
        DESTINATION ${PASTA_DOC_TOOL} COMPONENT tool)

# The emulator's own rules install the library and satemu; here the rest of
# its package: the second menu entry, its man page and documents.
set(CPACK_COMPONENTS_ALL tool)
if(SAT_EMULADOR)
    install(FILES ${EMBALAGEM}/tool-sat-tivoro-emulado.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT sat-emulador)
    install(FILES ${CMAKE_BINARY_DIR}/embalagem/satemu.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT sat-emulador)
    install(FILES ${EMBALAGEM}/sat-emulador.lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME sat-emulador
            COMPONENT sat-emulador)
    install(FILES ${EMBALAGEM}/copyright ${CMAKE_BINARY_DIR}/embalagem/changelog.gz
            DESTINATION ${PASTA_DOC_EMULADOR} COMPONENT sat-emulador)
    list(APPEND CPACK_COMPONENTS_ALL sat-emulador)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tivoro Tecnologia")
set(CPACK_PACKAGE_CONTACT "Tivoro Tecnologia <suporte@tivoro.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://suporte.tivoro.example/tool-sat")
# Dependencies come from the binaries (dpkg-shlibdeps); only what is run, not
# linked, is written here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME tool-sat-tivoro)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS openssl)
set(CPACK_DEBIAN_TOOL_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_TOOL_PACKAGE_SUGGESTS sat-emulador)
set(CPACK_COMPONENT_TOOL_DESCRIPTION
    "ferramenta de servico do SAT KT-470e da Tivoro
Ativa o SAT KT-470e, troca seu codigo de ativacao, associa a assinatura do
aplicativo comercial, configura a rede, consulta o SAT, extrai seu log, faz o
teste fim a fim e vendas de teste, atualiza, bloqueia e desbloqueia o SAT, e
prepara um SAT apos o outro numa bancada de instalacao.
.
Fala com o SAT somente pela biblioteca libdllsat.so do fabricante, indicada
com --biblioteca ou SAT_BIBLIOTECA, ou achada pela busca do sistema. Para
trabalhar sem SAT, instale o pacote sat-emulador.")

set(CPACK_DEBIAN_SAT-EMULADOR_PACKAGE_NAME sat-emulador)
set(CPACK_DEBIAN_SAT-EMULADOR_PACKAGE_ENHANCES tool-sat-tivoro)
set(CPACK_COMPONENT_SAT-EMULADOR_DESCRIPTION
    "SAT KT-470e emulado, para testes e integracao
Uma biblioteca libdllsat.so que se comporta como um SAT ligado numa porta
USB, segundo a norma do SAT, com o comando satemu que muda e mostra seu
estado (desconectar, reiniciar, ocupado, latencia, proximo SAT da bancada).
.
Fica numa pasta propria, fora da busca do sistema, e nunca toma o lugar da
biblioteca de um fabricante. A ferramenta tool-sat-tivoro a usa com
--emulador; o menu ganha a entrada \"TOOL SAT Tivoro (SAT emulado)\".")
include(CPack)
