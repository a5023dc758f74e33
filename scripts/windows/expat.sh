#!/usr/bin/env bash
# Builds expat for Windows (static: its users define XML_STATIC) from Debian's
# own source, with Debian's patches, into $cache/expat-ARQ, once per
# architecture and source version. Prints the folder; the build's output only
# when it fails. Usage: scripts/windows/expat.sh x86_64|i686
set -euo pipefail
source "$(dirname "$0")/comum.sh"

arq=${1:-}
case "$arq" in
x86_64 | i686) ;;
*)
    echo "Uso: $0 x86_64|i686" >&2
    exit 2
    ;;
esac
instalar_pacotes cmake ninja-build "g++-mingw-w64-${arq//_/-}-posix" >&2

# The newest source Debian lists; an older one of the same release when the
# newest cannot be fetched (the security archive sometimes lacks its source).
fonte="$cache/fontes/expat"
mkdir -p "$cache/fontes"
if [ ! -f "$fonte/.versao" ]; then
    rm -rf "$fonte"
    for v in $(apt-cache showsrc expat 2>/dev/null | sed -n 's/^Version: //p' | sort -rVu); do
        if fonte_debian "expat=$v" "$fonte" >/dev/null 2>&1; then
            echo "$v" >"$fonte/.versao"
            break
        fi
    done
    [ -f "$fonte/.versao" ] || {
        echo "Não foi possível obter a fonte do expat do Debian" >&2
        exit 1
    }
fi
versao=$(cat "$fonte/.versao")

destino="$cache/expat-$arq"
if [ "$(cat "$destino/.versao" 2>/dev/null)" != "$versao" ]; then
    construcao=$(mktemp -d "$cache/.expat.XXXXXX")
    registro="$construcao.log"
    # CMake's expat_config.h defines XML_DTD with no value, while Debian's
    # security patches test "#if XML_DTD == 1": it is defined as 1.
    if ! {
        cmake -S "$fonte/expat" -B "$construcao" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/windows/mingw-$arq.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$destino.novo" \
            -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
            -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF &&
            sed -i 's/^#define \(XML_DTD\|XML_GE\|XML_NS\) *$/#define \1 1/' \
                "$construcao/expat_config.h" &&
            grep -q '^#define XML_DTD 1$' "$construcao/expat_config.h" &&
            rm -rf "$destino.novo" &&
            cmake --build "$construcao" && cmake --install "$construcao"
    } >"$registro" 2>&1; then
        cat "$registro" >&2
        rm -rf "$construcao" "$registro" "$destino.novo"
        echo "Não foi possível construir o expat para $arq" >&2
        exit 1
    fi
    echo "$versao" >"$destino.novo/.versao"
    rm -rf "$destino" "$construcao" "$registro"
    mv "$destino.novo" "$destino"
fi
echo "$destino"
