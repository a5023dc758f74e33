#!/usr/bin/env bash
# Builds the tool and starts it on the emulated device.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
"$raiz/scripts/preparar.sh" "$raiz/build"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Nenhuma tela gráfica encontrada (DISPLAY vazio)."
    echo "Numa máquina sem tela, rode com uma tela virtual:"
    echo "    xvfb-run -a scripts/executar.sh"
    exit 2
fi
# A small reply delay, so that the tool's workers show as they would on a device.
"$raiz/build/bin/satemu" latencia 150 >/dev/null 2>&1 || true
exec "$raiz/build/bin/tool-sat-tivoro" --emulador "$@"
