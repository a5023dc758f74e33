#!/usr/bin/env bash
# Fails when a tracked source differs from what clang-format writes, or when
# clang-tidy finds anything in the tool's or the emulator's sources.
# Usage: scripts/verificar.sh BUILD_DIR (configured: tidy reads its
# compile_commands.json)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
pasta=${1:-"$raiz/build"}

cd "$raiz"
git ls-files -z '*.cpp' '*.h' '*.c' | xargs -0 clang-format --dry-run -Werror
# Every folder of cmake/camadas.txt but the tests and the benchmarks.
pastas=$(grep -vE '^[[:space:]]*(#|$)' cmake/camadas.txt | awk '$2 != "livre" { print $1 }' | paste -sd'|')
run-clang-tidy -quiet -p "$pasta" -j2 -header-filter "/($pastas)/[^/]*\.h\$" \
    "^$raiz/($pastas)/[^/]*\.cpp\$" >"$pasta/clang-tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$pasta/clang-tidy.log" | sort -u
    exit 1
}
