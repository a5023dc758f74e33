# Shared by the Windows scripts (sourced): where third-party builds are
# cached, the Debian packages the cross-build needs, and Debian's sources.
# shellcheck shell=bash

raiz=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Built once, kept across builds and checkouts.
cache=${SAT_CACHE_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/tool-sat-tivoro/windows}
mkdir -p "$cache"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# Installs the Debian packages named that are missing.
instalar_pacotes() {
    local faltam=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltam+=("$p")
    done
    [ ${#faltam[@]} -eq 0 ] && return 0
    echo "Instalando: ${faltam[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${faltam[@]}"
}

# Unpacks Debian's source of PACOTE[=VERSAO], with Debian's patches (its
# security fixes among them), into the folder given, once; a
# deb-src entry is added beside the system's deb ones when there is none.
# Fails, leaving nothing, when the source cannot be fetched.
fonte_debian() {
    local pacote=$1 destino=$2
    [ -d "$destino" ] && return 0
    if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        echo "Acrescentando as fontes do Debian (deb-src)"
        sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null |
            sed 's/^Types: deb$/Types: deb-src/' | $sudo tee /etc/apt/sources.list.d/fontes.sources >/dev/null
        $sudo apt-get update -qq
    fi
    instalar_pacotes dpkg-dev
    local tmp
    tmp=$(mktemp -d "$cache/.fonte.XXXXXX")
    # A source that cannot be fetched leaves nothing behind and fails.
    if ! (cd "$tmp" && apt-get source -qq "$pacote" >/dev/null && rm -f ./*.tar.* ./*.dsc) ||
        ! mv "$tmp"/*/ "$destino"; then
        rm -rf "$tmp"
        return 1
    fi
    rm -rf "$tmp"
}
