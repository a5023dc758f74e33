#!/usr/bin/env bash
# The Windows lane: cross-builds the tool for 64-bit Windows (and the 32-bit
# helper, emulated device and stand-in), runs its tests under Wine, makes the
# installer and the .zip, installs silently under Wine, passes the start
# window's gate on the installed tool with the emulated device, and
# uninstalls. Without a Qt for Windows (scripts/windows/qt.sh) it says so and
# skips, unless asked to build one (--construir-qt, about 45 minutes).
set -euo pipefail
source "$(dirname "$0")/comum.sh"

if ! qt=$("$raiz/scripts/windows/qt.sh" ${1:+"$1"}); then
    echo "Linha Windows PULADA: nenhum Qt para Windows (QT_WINDOWS_DIR, o cache $cache," \
        "ou scripts/windows/testar.sh --construir-qt)."
    exit 0
fi
[ "${1:-}" = --construir-qt ] && shift

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
fi
instalar_pacotes cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
    mingw-w64-tools wine wine64 wine32:i386 nsis zip xvfb xauth xdotool fonts-dejavu-core \
    qt6-translations-l10n

expat64=$("$raiz/scripts/windows/expat.sh" x86_64)
expat32=$("$raiz/scripts/windows/expat.sh" i686)
openssl=$("$raiz/scripts/windows/openssl.sh")

w32="$raiz/build-windows-32"
w64="$raiz/build-windows"
cmake -S "$raiz" -B "$w32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/windows/mingw-i686.cmake" \
    -DCMAKE_PREFIX_PATH="$expat32" -DSAT_SO_BIBLIOTECAS=ON -DSAT_WERROR=ON -DSAT_WINEPREFIX="$w64/wine" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$raiz/scripts/windows/wine-teste.sh" >/dev/null
ninja -C "$w32" -j2
cmake -S "$raiz" -B "$w64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/windows/mingw-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt;$expat64" -DQT_HOST_PATH=/usr -DSAT_WERROR=ON -DSAT_BENCHMARKS=OFF \
    -DSAT_WINDOWS_32="$w32" -DSAT_OPENSSL_WINDOWS="$openssl" -DSAT_WINEPREFIX="$w64/wine" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$raiz/scripts/windows/wine-teste.sh" >/dev/null
ninja -C "$w64" -j2
"$raiz/scripts/windows/empacotar.sh" "$w64"

# Under Wine, on a display of its own: a fresh prefix, whose server's output
# must not hold ours open.
export SAT_QT_WINDOWS=$qt WINEPREFIX="$w64/wine" WINEDEBUG=-all
rm -rf "$WINEPREFIX"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$raiz/scripts/windows/sob-wine.sh" "$w64" "$w32"
