# Compile policy of every target, in one interface target.
option(SAT_WERROR "Turn warnings into errors" OFF)
option(SAT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(sat_politica INTERFACE)
target_compile_options(sat_politica INTERFACE -Wall -Wextra -finput-charset=UTF-8 $<$<BOOL:${SAT_WERROR}>:-Werror>)
# Each of these found nothing or a real slip when it was turned on; keep them at zero.
# Not here: -Wuseless-cast (the casts it flags on 64 bits are needed on 32) and
# -Wnull-dereference (it reports Qt's inline code wherever the optimiser inlines it).
target_compile_options(sat_politica INTERFACE -Wshadow -Wcast-qual -Wformat=2
    -Wimplicit-fallthrough -Wduplicated-cond -Wduplicated-branches
    -Wlogical-op -Wundef $<$<COMPILE_LANGUAGE:CXX>:-Wmissing-declarations -Wnon-virtual-dtor
    -Woverloaded-virtual -Wold-style-cast>)
target_compile_definitions(sat_politica INTERFACE QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)
target_compile_options(sat_politica INTERFACE -Wformat -Werror=format-security)
if(WIN32)
    # The PE hardening flags; MinGW's stack protector and fortify would pull
    # in libssp-0.dll, one more file to ship.
    target_compile_definitions(sat_politica INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
        NOMINMAX _WIN32_WINNT=0x0601)
    target_link_options(sat_politica INTERFACE -Wl,--dynamicbase -Wl,--nxcompat
        $<$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>:-Wl,--high-entropy-va>)
else()
    # Debian's hardening, as its own packages are built (fortify needs optimisation).
    target_compile_options(sat_politica INTERFACE -fstack-protector-strong
        $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
    target_link_options(sat_politica INTERFACE -Wl,-z,relro -Wl,-z,now)
endif()

# Where a concern differs by system, its file ends in _linux or _windows.
if(WIN32)
    set(SAT_PLATAFORMA windows)
else()
    set(SAT_PLATAFORMA linux)
endif()
# Drops from a list of sources the files of the other system.
function(sat_desta_plataforma lista)
    set(fontes ${${lista}})
    if(WIN32)
        list(FILTER fontes EXCLUDE REGEX "_linux\\.(cpp|h)$")
    else()
        list(FILTER fontes EXCLUDE REGEX "_windows\\.(cpp|h)$")
    endif()
    set(${lista} ${fontes} PARENT_SCOPE)
endfunction()
if(SAT_SANITIZE)
    target_compile_options(sat_politica INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(sat_politica INTERFACE -fsanitize=address,undefined)
endif()

# The locale every test runs in; the test "localidade" fails when it is not
# generated on the machine.
set(SAT_LOCALIDADE_TESTES pt_BR.UTF-8)

# A Qt Test program registered with CTest, with the environment that CI uses,
# so that a plain `ctest` behaves the same.
function(sat_add_test nome)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${nome} ${T_SOURCES})
    target_link_libraries(${nome} PRIVATE Qt6::Test sat_politica ${T_LIBS})
    add_test(NAME ${nome} COMMAND ${nome})
    set_tests_properties(${nome} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=${SAT_LOCALIDADE_TESTES};LC_ALL=;LC_TIME=;QT_LOGGING_RULES=qt.qpa.*=false;SAT_EMULADOR_DIR=${CMAKE_BINARY_DIR}/estado-testes/${nome};ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/cmake/vazamentos.supp:print_suppressions=0")
endfunction()
