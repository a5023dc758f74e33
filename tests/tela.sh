#!/usr/bin/env bash
# A display that does not answer: the same advice as with no display at all,
# exit status 2, no abort.
# Usage: tests/tela.sh TOOL
set -uo pipefail
# A display number nobody uses here.
saida=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4711 "$1" 2>&1)
status=$?
if [ "$status" -ne 2 ]; then
    echo "FALHA: status $status, esperado 2"
    echo "$saida"
    exit 1
fi
grep -qF "nenhuma tela gráfica encontrada" <<<"$saida" ||
    { echo "FALHA: sem o aviso"; echo "$saida"; exit 1; }
echo "tela que nao responde: status 2 e o aviso"
