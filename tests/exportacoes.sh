#!/usr/bin/env bash
# The emulated device library exports the fourteen functions of
# sat/FuncoesSat.h by their plain names (no @N of __stdcall on 32-bit Windows)
# and nothing else; a Windows DLL needs no DLL of MinGW's beside it.
# Usage: tests/exportacoes.sh PASTA_FONTES BIBLIOTECA OBJDUMP
set -euo pipefail
fontes=$1 biblioteca=$2 objdump=$3

esperadas=$(sed -n 's/^ *X(\([A-Za-z]*\),.*/\1/p' "$fontes/sat/FuncoesSat.h" | sort)
[ "$(echo "$esperadas" | wc -l)" -eq 14 ] || {
    echo "sat/FuncoesSat.h: não achei as quatorze funções"
    exit 1
}
# objdump speaks the locale's language; its headings are read in English.
cabecalhos=$(LC_ALL=C "$objdump" -p "$biblioteca")
if [[ $cabecalhos == *"(PE32"* ]]; then
    exportadas=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] \(.*\)$/\1/p' \
        <<<"$cabecalhos" | sort)
    alheias=$(sed -n 's/^\s*DLL Name: //p' <<<"$cabecalhos" | grep -i '^lib' || true)
    if [ -n "$alheias" ]; then
        echo "$biblioteca precisa de DLLs que não são do Windows:"
        echo "$alheias"
        exit 1
    fi
else
    exportadas=$(nm -D --defined-only "$biblioteca" | awk '$2 ~ /^[TW]$/ { print $3 }' | sort)
fi
if [ "$exportadas" != "$esperadas" ]; then
    echo "$biblioteca exporta:"
    echo "$exportadas"
    echo "esperadas:"
    echo "$esperadas"
    exit 1
fi
echo "$biblioteca: as quatorze funções, e só elas"
