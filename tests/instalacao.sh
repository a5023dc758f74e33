#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed tool from
# another folder, with no library path set. The emulated device must be in its
# private folder only, found with --emulador and never without it; every
# installed program must be free of library paths that name the current
# folder.
# Usage: tests/instalacao.sh BUILD_DIR PASTA_EMULADOR
set -euo pipefail
build=$1
pasta_emulador=$2
raiz=$(cd "$(dirname "$0")" && pwd)
prefixo=$(mktemp -d)
trap 'rm -rf "$prefixo"' EXIT
falha() { echo "FALHA: $*"; exit 1; }

cmake --install "$build" --prefix "$prefixo/usr" >/dev/null
for arquivo in bin/tool-sat-tivoro bin/satemu "$pasta_emulador/libdllsat.so" \
    share/applications/tool-sat-tivoro.desktop share/applications/tool-sat-tivoro-emulado.desktop \
    share/icons/hicolor/256x256/apps/tool-sat-tivoro.png \
    share/icons/hicolor/scalable/apps/tool-sat-tivoro.svg \
    share/man/man1/tool-sat-tivoro.1.gz share/man/man1/satemu.1.gz \
    share/doc/tool-sat-tivoro/copyright share/doc/sat-emulador/copyright; do
    [ -e "$prefixo/usr/$arquivo" ] || falha "nao instalou $arquivo"
done
if find "$prefixo/usr" -name libdllsat.so | grep -v "/$pasta_emulador/libdllsat.so\$"; then
    falha "uma libdllsat.so fora da pasta privada do emulador"
fi
grep -qx 'Exec=tool-sat-tivoro' "$prefixo/usr/share/applications/tool-sat-tivoro.desktop" ||
    falha "entrada de menu sem Exec"
grep -qx 'Exec=tool-sat-tivoro --emulador' \
    "$prefixo/usr/share/applications/tool-sat-tivoro-emulado.desktop" ||
    falha "entrada de menu do SAT emulado sem --emulador"
"$raiz/caminhos_de_busca.sh" "$prefixo/usr" || falha "caminhos de busca inseguros"

mkdir "$prefixo/outra" "$prefixo/estado"
cd "$prefixo/outra"
ferramenta="$prefixo/usr/bin/tool-sat-tivoro"
"$ferramenta" --version | grep -qx 'tool-sat-tivoro [0-9.]*' || falha "--version"
"$ferramenta" --help | grep -q -- '--emulador' || falha "--help"
set +e
"$ferramenta" --nao-existe 2>"$prefixo/erro"
[ $? -eq 2 ] || falha "opcao desconhecida nao saiu com 2"
set -e
grep -q 'nao-existe' "$prefixo/erro" || falha "opcao desconhecida nao foi nomeada"

# Runs the installed tool for a few seconds; the start window (or the refusal
# box) waits for the user, so only a timeout ends it.
executar() {
    set +e
    env -u LD_LIBRARY_PATH -u SAT_BIBLIOTECA SAT_EMULADOR_DIR="$prefixo/estado" \
        QT_QPA_PLATFORM=offscreen timeout 4 "$ferramenta" "$@" >"$prefixo/saida" 2>&1
    status=$?
    set -e
    [ "$status" -eq 124 ] || { cat "$prefixo/saida"; falha "o programa terminou sozinho ($status)"; }
}
executar --emulador
grep -qxF "biblioteca: $prefixo/usr/$pasta_emulador/libdllsat.so (SAT EMULADO)" "$prefixo/saida" ||
    { cat "$prefixo/saida"; falha "--emulador nao carregou o emulador instalado"; }
executar
grep -q 'Nenhuma biblioteca do SAT' "$prefixo/saida" && grep -q -- '--emulador' "$prefixo/saida" ||
    { cat "$prefixo/saida"; falha "sem biblioteca, a recusa nao explica o que fazer"; }
echo "instalado e executado de $prefixo/outra"
