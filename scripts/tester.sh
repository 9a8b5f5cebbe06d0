#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite through CTest: first the
# development build, then the same suite under the address, undefined-behaviour and leak
# sanitizers, then the Linux packages, then the 32-bit Windows build with its suite under Wine and its ZIP and
# installer (installed, used and uninstalled under Wine), then every fuzz target for a
# bounded time (BANC_FUZZ_SECONDES, 45 s each here). BANC_SANS_WINDOWS=1 leaves the Windows lane out.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${BANC_SANS_WINDOWS:-0}" = 1 ]; then
    scripts/installer.sh
else
    scripts/installer.sh --windows
fi

for preset in dev asan; do
    echo "== $preset"
    cmake --preset "$preset" -DBANC_WERROR=ON >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

# The Linux packages, made by the same rules as `cpack --preset release` but from the dev build CI has just
# made (a release build would add minutes), then checked as a user gets them.
echo "== paquets Linux"
debut=$SECONDS
cmake --build --preset dev --target banc_installables
cpack --preset dev >/dev/null
scripts/essai-paquets-linux.sh build/dev/paquets
echo "paquets Linux : $((SECONDS - debut)) s"

if [ "${BANC_SANS_WINDOWS:-0}" != 1 ]; then
    echo "== windows-x86 (Wine)"
    debut=$SECONDS
    # The sample database comes from the dev build's importer: the file is the same on both systems.
    cmake --preset windows-x86 -DBANC_WERROR=ON -DBANC_IMPORTEUR_HOTE="$PWD/build/dev/bin/ccam-import" >/dev/null
    cmake --build --preset windows-x86
    ctest --preset windows-x86
    # The tool itself, started under Wine on a display of its own: it must show its window.
    env -u DISPLAY -u WAYLAND_DISPLAY scripts/lancer.sh --windows
    # The ZIP and the installer, whose whole cycle (install, scenarios, uninstall, nothing left) runs under Wine.
    debut_paquets=$SECONDS
    cpack --preset windows-x86 >/dev/null
    scripts/cycle-installateur.sh
    echo "paquets Windows : $((SECONDS - debut_paquets)) s"
    echo "windows-x86 : $((SECONDS - debut)) s"
fi

echo "== fuzz"
BANC_FUZZ_SECONDES=${BANC_FUZZ_SECONDES:-45} scripts/fuzz.sh
