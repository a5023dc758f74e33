# Stand-in device libraries: one with the maker's version section, and the
# faulty ones the binding and the start gate must survive.
set(VERSAO_TIVORO "\\\\=1,0,2,15\\n\\\\VarFileInfo\\\\Translation=0416 04E4\\n\\\\StringFileInfo\\\\041604E4\\\\CompanyName=Tivoro Telecomunicacoes e Informatica S/A\\n")
function(dllsat_falsa nome)
    add_library(${nome} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/falso/dllsat_falso.c)
    set_target_properties(${nome} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/falsas/${nome} OUTPUT_NAME dllsat
        C_VISIBILITY_PRESET hidden)
    target_compile_definitions(${nome} PRIVATE ${ARGN})
    target_link_libraries(${nome} PRIVATE sat_politica)
endfunction()
dllsat_falsa(dllsat_falsa_tivoro "SECAO_VERSAO=\"${VERSAO_TIVORO}\"")
dllsat_falsa(dllsat_falsa_sem_secao)
dllsat_falsa(dllsat_falsa_sem_traducao "SECAO_VERSAO=\"\\\\=1,0,0,1\\n\"")
dllsat_falsa(dllsat_falsa_outra_empresa
    "SECAO_VERSAO=\"\\\\VarFileInfo\\\\Translation=0416 04E4\\n\\\\StringFileInfo\\\\041604E4\\\\CompanyName=Tivoro Telecomunicacoes e Informatica S/A \\n\"")
dllsat_falsa(dllsat_falsa_minusculas
    "SECAO_VERSAO=\"\\\\VarFileInfo\\\\Translation=0416 04E4\\n\\\\StringFileInfo\\\\041604E4\\\\CompanyName=tivoro telecomunicacoes e informatica s/a\\n\"")
dllsat_falsa(dllsat_falsa_incompleta SEM_DESBLOQUEAR "SECAO_VERSAO=\"${VERSAO_TIVORO}\"")

set(DEFINICOES_FALSAS
    DLLSAT_TIVORO="$<TARGET_FILE:dllsat_falsa_tivoro>"
    DLLSAT_SEM_SECAO="$<TARGET_FILE:dllsat_falsa_sem_secao>"
    DLLSAT_SEM_TRADUCAO="$<TARGET_FILE:dllsat_falsa_sem_traducao>"
    DLLSAT_OUTRA_EMPRESA="$<TARGET_FILE:dllsat_falsa_outra_empresa>"
    DLLSAT_MINUSCULAS="$<TARGET_FILE:dllsat_falsa_minusculas>"
    DLLSAT_INCOMPLETA="$<TARGET_FILE:dllsat_falsa_incompleta>")
