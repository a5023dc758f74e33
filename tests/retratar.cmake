# Not a test: the program behind scripts/retratar.sh, which renders every
# window to PNG. It runs against the emulated device when it is built, else
# against the stand-in library.
add_executable(retratar retratar.cpp)
target_link_libraries(retratar PRIVATE apoio_testes sat_politica)
if(TARGET dllsat)
    target_compile_definitions(retratar PRIVATE BIBLIOTECA_RETRATO="$<TARGET_FILE:dllsat>")
    add_dependencies(retratar dllsat satemu)
else()
    target_compile_definitions(retratar PRIVATE
        BIBLIOTECA_RETRATO="$<TARGET_FILE:dllsat_falsa_tivoro>")
    add_dependencies(retratar dllsat_falsa_tivoro)
endif()
