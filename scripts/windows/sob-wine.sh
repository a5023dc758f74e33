#!/usr/bin/env bash
# The part of the Windows lane that runs under Wine (scripts/windows/testar.sh
# starts it inside a virtual display): the tests, then the installer.
set -euo pipefail
source "$(dirname "$0")/comum.sh"
w64=${1:?}
w32=${2:?}
wineboot -i >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 </dev/null &
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# Wine gives Windows programs no QT_* variable from here: the fonts of the
# offscreen platform go through the registry.
wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d 'Z:\usr\share\fonts\truetype\dejavu' /f \
    >/dev/null 2>&1
# A program that crashes on purpose ends there, without a crash dialog that
# nobody would close.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
export LANG=pt_BR.UTF-8
(cd "$w32" && WINEPREFIX="$w64/wine" ctest --output-on-failure)
# One Wine program at a time: two at once have hung here.
(cd "$w64" && ctest --output-on-failure)

instalador=$(ls "$w64"/pacotes/tool-sat-tivoro-*-setup.exe)
wine "$instalador" /S
pasta="$WINEPREFIX/drive_c/Program Files/TOOL SAT Tivoro"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/TOOL SAT Tivoro"
for f in tool-sat-tivoro.exe sat-auxiliar.exe sat-auxiliar-32.exe openssl.exe Qt6Widgets.dll \
    platforms/qwindows.dll translations/qtbase_pt_BR.qm sat-emulador/dllsat.dll; do
    [ -f "$pasta/$f" ] || { echo "o instalador não pôs $f" >&2; exit 1; }
done
[ -f "$menu/TOOL SAT Tivoro.lnk" ] && [ -f "$menu/TOOL SAT Tivoro (SAT emulado).lnk" ]
"$raiz/scripts/windows/porteira.sh" "$pasta"

wine "$pasta/desinstalar.exe" /S
# The uninstaller finishes from a copy of itself.
for _ in $(seq 50); do [ -e "$pasta" ] || [ -e "$menu" ] || break; sleep 0.2; done
if [ -e "$pasta" ] || [ -e "$menu" ]; then
    echo "o desinstalador deixou: $(find "$pasta" "$menu" 2>/dev/null | head)" >&2
    exit 1
fi
echo "Linha Windows: testes, instalação, porteira e desinstalação em ordem."
