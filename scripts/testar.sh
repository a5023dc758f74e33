#!/usr/bin/env bash
# Checks the format and clang-tidy's findings, then builds and runs every
# test twice: as shipped, then under AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer; then the Windows lane under Wine. Warnings are
# errors.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)

"$raiz/scripts/preparar.sh" "$raiz/build" -DSAT_WERROR=ON
"$raiz/scripts/verificar.sh" "$raiz/build"
(cd "$raiz/build" && ctest --output-on-failure -j2)

"$raiz/scripts/preparar.sh" "$raiz/build-asan" -DSAT_WERROR=ON -DSAT_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=Debug
(cd "$raiz/build-asan" && ctest --output-on-failure -j2)

# The Windows lane, when a Qt for Windows is at hand; it says so when not.
"$raiz/scripts/windows/testar.sh"
