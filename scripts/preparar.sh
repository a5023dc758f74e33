#!/usr/bin/env bash
# Installs the Debian packages the tool needs, then configures and builds it.
# Usage: scripts/preparar.sh BUILD_DIR [cmake options...]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
pasta=${1:-"$raiz/build"}
shift || true

pacotes=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libexpat1-dev openssl
    fonts-dejavu-core xvfb xauth binutils dpkg-dev lintian git clang-format clang-tidy)
faltam=()
for p in "${pacotes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltam+=("$p")
done
if [ ${#faltam[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Instalando: ${faltam[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${faltam[@]}"
fi

cmake -S "$raiz" -B "$pasta" -G Ninja "$@" >/dev/null
ninja -C "$pasta" -j2
