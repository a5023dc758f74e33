#!/usr/bin/env bash
# The installed tool, as a technician starts it from the menu entry "SAT
# emulado": it opens the emulated device, takes the device's activation code
# at the start window and opens the main window. Runs under Wine on a display
# (scripts/windows/sob-wine.sh); a picture of each window goes to RETRATOS.
# Usage: porteira.sh PASTA_INSTALADA
set -euo pipefail
pasta=${1:?}
codigo=12345678
estado=$(mktemp -d)
retratos=${RETRATOS:-$estado}
# The device in the prefix's %LOCALAPPDATA%, as a technician's would be (the
# emulator refuses a folder under Z:\tmp, which every user may change).
unset SAT_EMULADOR_DIR
wine "$pasta/satemu.exe" ativado "$codigo" >/dev/null

saida="$estado/tool.txt"
wine "$pasta/tool-sat-tivoro.exe" --emulador >"$saida" 2>&1 &
tool=$!
trap 'kill $tool 2>/dev/null || true' EXIT
janela() { timeout 60 xdotool search --sync --onlyvisible --name "$1" | head -1; }
retratar() { command -v import >/dev/null && import -window root "$retratos/$1.png" || true; }

inicial=$(janela "Tivoro Tecnologia")
sleep 1
retratar inicial-windows
# The code field lies below the activation button, in the window's middle.
eval "$(xdotool getwindowgeometry --shell "$inicial")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * 60 / 100)) click 1
xdotool type --delay 40 "$codigo"
xdotool key Return
if ! principal=$(janela "^TOOL SAT Tivoro$") || [ -z "$principal" ]; then
    retratar porteira-falhou
    echo "a janela principal não abriu; o tool disse: $(cat "$saida")" >&2
    exit 1
fi
sleep 1
retratar principal-windows
grep -q "(SAT EMULADO)" "$saida" || { echo "não abriu o SAT emulado: $(cat "$saida")" >&2; exit 1; }
echo "porteira: $(head -1 "$saida")"
