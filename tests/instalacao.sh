#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed tool from
# another folder, with no library path set: it must find the emulated library
# beside it and keep running (the start window waits for the user) until it is
# stopped.
# Usage: tests/instalacao.sh BUILD_DIR
set -euo pipefail
build=$1
prefixo=$(mktemp -d)
trap 'rm -rf "$prefixo"' EXIT

cmake --install "$build" --prefix "$prefixo/usr" >/dev/null
for arquivo in bin/tool-sat-tivoro bin/satemu lib/libdllsat.so \
    share/applications/tool-sat-tivoro.desktop \
    share/icons/hicolor/256x256/apps/tool-sat-tivoro.png \
    share/icons/hicolor/scalable/apps/tool-sat-tivoro.svg; do
    [ -e "$prefixo/usr/$arquivo" ] || { echo "FALHA: nao instalou $arquivo"; exit 1; }
done
grep -qx 'Exec=tool-sat-tivoro' "$prefixo/usr/share/applications/tool-sat-tivoro.desktop" ||
    { echo "FALHA: entrada de menu sem Exec"; exit 1; }
if readelf -d "$prefixo/usr/bin/tool-sat-tivoro" | grep -F "$build" >/dev/null; then
    echo "FALHA: o programa instalado ainda procura bibliotecas na pasta de compilacao"
    exit 1
fi

mkdir "$prefixo/outra" "$prefixo/estado"
cd "$prefixo/outra"
set +e
env -u LD_LIBRARY_PATH SAT_EMULADOR_DIR="$prefixo/estado" QT_QPA_PLATFORM=offscreen \
    LD_DEBUG=files LD_DEBUG_OUTPUT="$prefixo/carga" \
    timeout 4 "$prefixo/usr/bin/tool-sat-tivoro" >"$prefixo/saida" 2>&1
status=$?
set -e
if [ "$status" -ne 124 ]; then
    echo "FALHA: o programa terminou sozinho (status $status)"
    cat "$prefixo/saida"
    exit 1
fi
if ! cat "$prefixo"/carga.* | grep -F "file=$prefixo/usr/lib/libdllsat.so" >/dev/null; then
    echo "FALHA: a biblioteca instalada nao foi carregada"
    cat "$prefixo"/carga.* | grep -i dllsat || true
    exit 1
fi
echo "instalado e executado de $prefixo/outra"
