#!/usr/bin/env bash
# The folders are layers, listed once in cmake/camadas.txt with what each may
# include: every include is read, in quotes or brackets, however spaced; a
# path climbing out with ".." and a folder of sources missing from the list
# fail. The tool's feature folders never include each other both ways, and
# the core (a program linking only it is given) needs neither QtGui nor
# QtWidgets.
# Usage: tests/camadas.sh PASTA_FONTES PROGRAMA_SO_DO_NUCLEO
set -euo pipefail
cd "$1"
declare -A tipo=() camada=()
while read -r pasta t c; do
    tipo[$pasta]=$t
    camada[$pasta]=${c:-}
done < <(grep -vE '^[[:space:]]*(#|$)' cmake/camadas.txt)

erros=0
falha() {
    echo "$*"
    erros=1
}

# The top folders that hold sources; build trees and ignored folders aside.
pastasComFontes() {
    local d
    for d in */; do
        d=${d%/}
        [ -e "$d/CMakeCache.txt" ] && continue
        git check-ignore -q "$d" 2>/dev/null && continue
        [ -n "$(find "$d" -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print -quit)" ] &&
            echo "$d"
    done
}

# Whether a file of folder $1 may include one of folder $2, another folder.
permitido() {
    local de=$1 para=$2
    [ "${tipo[$para]}" = auxiliar ] && return 1
    case ${tipo[$de]} in
    emulador | auxiliar) [ "${tipo[$para]}" = base ] ;;
    ferramenta)
        [ "${tipo[$para]}" = base ] ||
            { [ "${tipo[$para]}" = ferramenta ] && ((camada[$para] <= camada[$de])); }
        ;;
    livre) true ;;
    *) false ;;
    esac
}

# "arquivo:incluído" for every include of the folder.
inclusoes() {
    grep -rHE --include='*.c' --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include' "$1" |
        sed -nE 's/^([^:]+):[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1:\2/p'
}

declare -A pares=()
for pasta in $(pastasComFontes); do
    if [ -z "${tipo[$pasta]:-}" ]; then
        falha "$pasta/: pasta de fontes fora de cmake/camadas.txt"
        continue
    fi
    while IFS=: read -r arquivo incluida; do
        if [[ "/$incluida/" == */../* || "/$incluida/" == */./* ]]; then
            falha "$arquivo inclui $incluida: caminho relativo, não a partir da raiz"
            continue
        fi
        alvo=${incluida%%/*}
        [ "$alvo" = "$incluida" ] || [ "$alvo" = "$pasta" ] && continue
        if [ -z "${tipo[$alvo]:-}" ]; then
            [ -d "$alvo" ] && falha "$arquivo inclui $incluida: $alvo/ fora de cmake/camadas.txt"
            continue
        fi
        permitido "$pasta" "$alvo" || falha "$arquivo inclui $incluida: $pasta/ não inclui $alvo/"
        [ "${tipo[$pasta]}" = ferramenta ] && [ "${tipo[$alvo]}" = ferramenta ] &&
            pares["$pasta>$alvo"]=$arquivo
    done < <(inclusoes "$pasta")
done
for par in "${!pares[@]}"; do
    volta="${par#*>}>${par%>*}"
    if [ -n "${pares[$volta]:-}" ]; then
        falha "${pares[$par]} e ${pares[$volta]}: as pastas se incluem nos dois sentidos"
    fi
done
dinamica=$(readelf -d "$2")
if grep -E 'NEEDED.*libQt6(Gui|Widgets)' <<<"$dinamica"; then
    falha "$2: o núcleo puxa QtGui ou QtWidgets"
fi
exit $erros
