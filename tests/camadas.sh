#!/usr/bin/env bash
# The folders of the tool are layers: a file includes only its own folder and
# the layers below it, feature folders never include each other both ways, and
# the core (a program linking only it is given) needs neither QtGui nor
# QtWidgets. The emulated device and the tool never include each other; both
# may include sat/, the fourteen functions and the helper's frames, which
# includes nothing of theirs. The helper program (auxiliar/) includes sat/
# alone, and nothing includes it.
# Usage: tests/camadas.sh PASTA_FONTES PROGRAMA_SO_DO_NUCLEO
set -euo pipefail
cd "$1"
declare -A camada=([device]=0 [core]=1 [ui]=2 [operations]=3 [signature]=3 [network]=3
    [transactions]=3 [setup]=3 [tour]=3 [shell]=4 [app]=5)
erros=0
declare -A pares=()
for pasta in "${!camada[@]}" emulator sat auxiliar; do
    while IFS=: read -r arquivo incluida; do
        alvo=${incluida%%/*}
        [ "$alvo" = "$pasta" ] && continue
        if [ "$alvo" = sat ] && [ "$pasta" != sat ]; then
            continue
        elif [ "$pasta" = sat ] || [ "$pasta" = auxiliar ] || [ "$alvo" = auxiliar ]; then
            echo "$arquivo inclui $incluida: sat/ e auxiliar/ incluem só sat/, e nada inclui auxiliar/"
            erros=1
        elif [ "$pasta" = emulator ] || [ "$alvo" = emulator ]; then
            [ -n "${camada[$alvo]:-}" ] || [ "$alvo" = emulator ] || continue
            echo "$arquivo inclui $incluida: o emulador e a ferramenta não se incluem"
            erros=1
        elif [ -n "${camada[$alvo]:-}" ]; then
            if ((camada[$alvo] > camada[$pasta])); then
                echo "$arquivo inclui $incluida, de uma camada acima"
                erros=1
            fi
            pares["$pasta>$alvo"]=$arquivo
        fi
    done < <(grep -rHoE '^#include "[a-z]+/[^"]+"' "$pasta" | sed 's/#include "//; s/"$//')
done
for par in "${!pares[@]}"; do
    volta="${par#*>}>${par%>*}"
    if [ -n "${pares[$volta]:-}" ]; then
        echo "${pares[$par]} e ${pares[$volta]}: as pastas se incluem nos dois sentidos"
        erros=1
    fi
done
dinamica=$(readelf -d "$2")
if grep -E 'NEEDED.*libQt6(Gui|Widgets)' <<<"$dinamica"; then
    echo "$2: o núcleo puxa QtGui ou QtWidgets"
    erros=1
fi
exit $erros
