#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite through CTest: first the
# development build, then the same suite under the address, undefined-behaviour and leak
# sanitizers, then every fuzz target for a bounded time (BANC_FUZZ_SECONDES, 45 s each here).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/installer.sh

for preset in dev asan; do
    echo "== $preset"
    cmake --preset "$preset" -DBANC_WERROR=ON >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

echo "== fuzz"
BANC_FUZZ_SECONDES=${BANC_FUZZ_SECONDES:-45} scripts/fuzz.sh
