#!/usr/bin/env bash
# Renders every window of the tool to docs/<window>.png, offscreen, through the
# real widgets, against a fresh emulated device (or the stand-in library when
# the emulator is not part of the build).
# Usage: scripts/retratar.sh [BUILD_DIR] [OUTPUT_DIR]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
pasta=${1:-"$raiz/build"}
saida=${2:-"$raiz/docs"}

[ -f "$pasta/build.ninja" ] || cmake -S "$raiz" -B "$pasta" -G Ninja >/dev/null
ninja -C "$pasta" retratar >/dev/null

estado=$(mktemp -d)
trap 'rm -rf "$estado"' EXIT
# The same serial number at every run, so the pictures change only with the windows.
if [ -x "$pasta/bin/satemu" ]; then
    SAT_EMULADOR_DIR="$estado" "$pasta/bin/satemu" novo --serie 900004019 >/dev/null
fi
SAT_EMULADOR_DIR="$estado" QT_QPA_PLATFORM=offscreen LANG=pt_BR.UTF-8 \
    QT_LOGGING_RULES='qt.qpa.*=false' "$pasta/bin/retratar" "$saida"
