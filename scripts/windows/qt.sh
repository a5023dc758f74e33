#!/usr/bin/env bash
# Prints the folder of a Qt 6.4.2 for Windows (x86_64, MinGW): QT_WINDOWS_DIR
# when set, else the one in the cache, else a ready build unpacked from
# QT_WINDOWS_TAR (or from ../shared/windows/ beside the checkout) into the
# cache; with --construir, else built here from Debian's own qt6-base source
# (about 45 minutes on two cores), once. Fails (3) when there is none.
set -euo pipefail
source "$(dirname "$0")/comum.sh"
nome=qt6.4.2-mingw64
valido() { [ -f "$1/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$1/bin/Qt6Widgets.dll" ]; }
# Qt's Portuguese is the same file on every system: the host's, beside the
# cross-built Qt, where its programs look.
traduzir() {
    [ -f "$1/translations/qtbase_pt_BR.qm" ] && return 0
    instalar_pacotes qt6-translations-l10n >&2
    mkdir -p "$1/translations"
    cp /usr/share/qt6/translations/qtbase_pt_BR.qm "$1/translations/"
}

if [ -n "${QT_WINDOWS_DIR:-}" ]; then
    valido "$QT_WINDOWS_DIR" || { echo "QT_WINDOWS_DIR=$QT_WINDOWS_DIR não é um Qt para Windows" >&2; exit 3; }
    echo "$QT_WINDOWS_DIR"
    exit 0
fi
if valido "$cache/$nome"; then
    traduzir "$cache/$nome"
    echo "$cache/$nome"
    exit 0
fi
pronto=${QT_WINDOWS_TAR:-$raiz/../shared/windows/$nome.tar.xz}
if [ -f "$pronto" ]; then
    rm -rf "$cache/$nome"
    tar -xf "$pronto" -C "$cache"
    valido "$cache/$nome" && traduzir "$cache/$nome" && echo "$cache/$nome" && exit 0
fi
[ "${1:-}" = --construir ] || exit 3

instalar_pacotes g++-mingw-w64-x86-64-posix mingw-w64-tools qt6-base-dev cmake ninja-build >&2
fontes="$cache/fontes/qt6-base"
fonte_debian qt6-base "$fontes" >&2
construcao=$(mktemp -d "$cache/.qt.XXXXXX")
# Only what the tool uses; Debian's source lacks the tablet header the
# Windows platform plugin would want.
(cd "$construcao" && "$fontes/configure" -release -shared -prefix "$cache/$nome" \
    -xplatform win32-g++ -qt-host-path /usr \
    -nomake examples -nomake tests -no-opengl -no-dbus -no-feature-sql -no-feature-network \
    -no-feature-concurrent -no-feature-printsupport -no-feature-xml -qt-freetype -no-fontconfig \
    -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-harfbuzz -no-feature-vulkan -no-icu \
    -no-feature-tabletevent \
    -- -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/windows/mingw-x86_64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2 &&
    cmake --build . --parallel 2 >&2 && cmake --install . >&2)
rm -rf "$construcao"
valido "$cache/$nome" && traduzir "$cache/$nome" && echo "$cache/$nome"
