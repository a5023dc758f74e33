#!/usr/bin/env bash
# Cross-builds what needs no Qt (SAT_SO_BIBLIOTECAS: dllsat.dll, satemu.exe,
# the helper)
# for 64- and 32-bit Windows with MinGW-w64, then runs its checks under Wine:
# the library as a point-of-sale program loads it (tests/emulador_pdv.cpp)
# and its exports. Installs the Debian packages it lacks (Wine's 32-bit loader
# among them) and builds expat once (scripts/windows/expat.sh).
# Usage: scripts/windows/emulador.sh [x86_64|i686]...   (both when none given)
# Builds in build-win-emulador-ARQ: bin/sat-emulador/dllsat.dll, bin/satemu.exe.
set -euo pipefail
source "$(dirname "$0")/comum.sh"

arqs=("$@")
[ ${#arqs[@]} -eq 0 ] && arqs=(x86_64 i686)
pacotes=(cmake ninja-build binutils wine wine64)
for arq in "${arqs[@]}"; do
    case "$arq" in
    x86_64) pacotes+=(g++-mingw-w64-x86-64-posix) ;;
    i686) pacotes+=(g++-mingw-w64-i686-posix wine32:i386) ;;
    *)
        echo "Uso: $0 [x86_64|i686]..." >&2
        exit 2
        ;;
    esac
done
# 32-bit Windows programs run on Wine's 32-bit loader, a package of i386.
if [[ " ${arqs[*]} " == *" i686 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Acrescentando a arquitetura i386 (Wine de 32 bits)"
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
fi
instalar_pacotes "${pacotes[@]}"

# One Wine prefix for both builds (some 700 MB, made by the first program run).
prefixo=${SAT_WINEPREFIX:-$raiz/build-win-emulador-wine}
for arq in "${arqs[@]}"; do
    expat=$("$raiz/scripts/windows/expat.sh" "$arq")
    pasta="$raiz/build-win-emulador-$arq"
    echo "== Windows $arq: $pasta"
    cmake -S "$raiz" -B "$pasta" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/windows/mingw-$arq.cmake" \
        -DCMAKE_PREFIX_PATH="$expat" -DSAT_SO_BIBLIOTECAS=ON -DSAT_WERROR=ON \
        -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DSAT_WINEPREFIX="$prefixo" >/dev/null
    # The emulated device and its checks; the helper is the tool's.
    ninja -C "$pasta" -j2 dllsat satemu emulador_pdv
    (cd "$pasta" && ctest --output-on-failure)
done
