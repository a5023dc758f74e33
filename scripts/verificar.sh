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
pastas="app|auxiliar|core|device|emulator|network|operations|sat|setup|shell|signature|tour|transactions|ui"
run-clang-tidy -quiet -p "$pasta" -j2 "^$raiz/($pastas)/[^/]*\.cpp\$" >"$pasta/clang-tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$pasta/clang-tidy.log" | sort -u
    exit 1
}
