#!/usr/bin/env bash
# tests/camadas.sh on a small tree of its own: each include it must refuse
# fails it, each it must allow passes.
# Usage: tests/camadas_furos.sh PASTA_FONTES PROGRAMA_SO_DO_NUCLEO
set -euo pipefail
camadas=$1/tests/camadas.sh
arvore=$(mktemp -d)
trap 'rm -rf "$arvore"' EXIT
mkdir -p "$arvore/cmake" "$arvore/core" "$arvore/ui" "$arvore/emulator" "$arvore/tests"
cp "$1/cmake/camadas.txt" "$arvore/cmake/"
nucleo=$(realpath "$2")
erros=0
# $1: expected status (0 allows, 1 refuses); $2: file; $3: its line.
caso() {
    mkdir -p "$(dirname "$arvore/$2")"
    printf '%s\n' "$3" >"$arvore/$2"
    local status=0
    "$camadas" "$arvore" "$nucleo" >/dev/null || status=$?
    if [ "$status" != "$1" ]; then
        echo "$2 com '$3': saiu $status, esperado $1"
        erros=1
    fi
    rm -f "$arvore/$2"
}
caso 0 core/A.h '#include "core/B.h"'
caso 0 ui/A.h '#include <core/B.h>'
caso 1 core/A.h '#include <ui/B.h>'
caso 1 core/A.h '#  include "ui/B.h"'
caso 1 core/A.h '  #include"ui/B.h"'
caso 1 core/A.h '#include "../ui/B.h"'
caso 1 core/A.h '#include "core/../ui/B.h"'
caso 1 emulator/A.h '#include <core/B.h>'
caso 1 core/A.h '#include "emulator/B.h"'
caso 1 nova/A.cpp '#include "core/B.h"'
rmdir "$arvore/nova"
caso 0 emulator/A.h '#include "sat/B.h"'
caso 0 core/A.h '#include "sat/B.h"'
caso 0 auxiliar/A.cpp '#include "sat/B.h"'
caso 1 auxiliar/A.cpp '#include "core/B.h"'
caso 1 sat/A.h '#include "core/B.h"'
caso 1 tests/A.h '#include "auxiliar/B.h"'
caso 1 emulator/A.h '#include "auxiliar/B.h"'
caso 0 tests/A.h '#include "emulator/B.h"'
exit $erros
