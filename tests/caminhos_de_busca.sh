#!/usr/bin/env bash
# Fails when a program or library under the given folders carries an empty or
# relative RPATH/RUNPATH entry: the loader reads those against the current
# folder, so a library planted there would be loaded.
# Usage: tests/caminhos_de_busca.sh PASTA...
set -euo pipefail
ruins=0
while IFS= read -r -d '' arquivo; do
    head -c4 "$arquivo" | grep -q $'\x7fELF' || continue
    caminhos=$(readelf -d "$arquivo" 2>/dev/null | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]/\2/p')
    [ -n "$caminhos" ] || continue
    IFS=':' read -r -a entradas <<<"$caminhos:"
    for entrada in "${entradas[@]}"; do
        case "$entrada" in
            /* | '$ORIGIN' | '$ORIGIN/'*) ;;
            *) echo "$arquivo: entrada '$entrada' em [$caminhos]"; ruins=1 ;;
        esac
    done
done < <(find "$@" -type f \( -perm -u+x -o -name '*.so*' \) -print0)
exit $ruins
