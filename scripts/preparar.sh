#!/usr/bin/env bash
# Installs the Debian packages the tool needs, then configures and builds it.
# Usage: scripts/preparar.sh BUILD_DIR [cmake options...]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
pasta=${1:-"$raiz/build"}
shift || true

pacotes=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libexpat1-dev openssl
    fonts-dejavu-core xvfb xauth binutils dpkg-dev lintian git clang-format clang-tidy locales)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
faltam=()
for p in "${pacotes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltam+=("$p")
done
if [ ${#faltam[@]} -gt 0 ]; then
    echo "Instalando: ${faltam[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${faltam[@]}"
fi

# The tests run in the Brazilian locale, which a fresh system lacks: asked for
# but missing, it would leave them in C without a word.
if ! locale -a 2>/dev/null | grep -qix 'pt_BR\.utf-\?8'; then
    echo "Gerando a localidade pt_BR.UTF-8"
    if grep -qs '^# *pt_BR\.UTF-8 UTF-8' /etc/locale.gen; then
        $sudo sed -i 's/^# *\(pt_BR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    else
        echo 'pt_BR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen
fi

cmake -S "$raiz" -B "$pasta" -G Ninja "$@" >/dev/null
ninja -C "$pasta" -j2
