#!/usr/bin/env bash
# Makes the two Debian packages of the build and checks them: no libdllsat.so
# on the linker's default path, dependencies read from the binaries, no error
# from lintian.
# Usage: tests/pacotes.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
saida=$(mktemp -d)
trap 'rm -rf "$saida"' EXIT
falha() { echo "FALHA: $*"; exit 1; }

(cd "$saida" && cpack --config "$build/CPackConfig.cmake" -B "$saida" >"$saida/cpack.log" 2>&1) ||
    { cat "$saida/cpack.log"; falha "cpack"; }
tool=$(ls "$saida"/tool-sat-tivoro_*.deb)
emulador=$(ls "$saida"/sat-emulador_*.deb)

for deb in "$tool" "$emulador"; do
    dpkg-deb -c "$deb" | awk '{print $NF}' >"$deb.lista"
    if grep -E '^\./usr/(local/)?lib/([^/]+-linux-gnu[^/]*/)?libdllsat\.so' "$deb.lista"; then
        falha "$(basename "$deb") instala libdllsat.so na busca do sistema"
    fi
done
grep -q '/sat-emulador/libdllsat.so$' "$emulador.lista" || falha "emulador sem a biblioteca"
if grep -q 'libdllsat' "$tool.lista"; then falha "a ferramenta leva uma libdllsat.so"; fi

depende=$(dpkg-deb -f "$tool" Depends)
case "$depende" in *libqt6widgets6*openssl* | *openssl*libqt6widgets6*) ;; *) falha "Depends: $depende" ;; esac
case "$depende" in *qt6-qpa-plugins*) falha "dependencia desnecessaria: $depende" ;; esac
[ "$(dpkg-deb -f "$tool" Recommends)" = qt6-translations-l10n ] || falha "Recommends"

lintian --fail-on error --suppress-tags-from-file /dev/null "$tool" "$emulador" | tee "$saida/lintian" ||
    falha "lintian"
echo "pacotes: $(basename "$tool") $(basename "$emulador")"
