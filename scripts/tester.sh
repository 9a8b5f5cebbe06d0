#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite through CTest: first the development build,
# then the same suite under the address, undefined-behaviour and leak sanitizers, then the Linux packages, then
# the Windows lane, then every fuzz target for a bounded time (BANC_FUZZ_SECONDES, 45 s each here).
#
# The Windows lane always builds the 32-bit product with -Werror, makes its ZIP and installer and checks them as
# files. Then, where Wine starts 32-bit programs (scripts/voie-windows.sh asks the machine once), it runs the
# 32-bit suites, the window and the installer's whole cycle under Wine; where the machine refuses 32-bit
# programs, the same sources built for 64-bit Windows run in full under 64-bit Wine instead: the suites, the
# window, and a sweep through COM of our control. BANC_SANS_WINDOWS=1 leaves the Windows lane out;
# BANC_VOIE_WINDOWS=x86|x64 chooses the lane.
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
    voie=$(scripts/voie-windows.sh)
    # The sample database comes from the dev build's importer: the file is the same on both systems.
    importeur=-DBANC_IMPORTEUR_HOTE="$PWD/build/dev/bin/ccam-import"

    echo "== windows-x86 : le produit 32 bits"
    debut=$SECONDS
    cmake --preset windows-x86 -DBANC_WERROR=ON "$importeur" >/dev/null
    cmake --build --preset windows-x86
    cpack --preset windows-x86 >/dev/null
    scripts/essai-paquets-windows.sh
    if [ "$voie" = x86 ]; then
        ctest --preset windows-x86
        # The tool itself, started under Wine on a display of its own: it must show its window.
        env -u DISPLAY -u WAYLAND_DISPLAY BANC_VOIE_WINDOWS=x86 scripts/lancer.sh --windows
        scripts/essai-balayage-com.sh x86
        # The installer's whole cycle (install, scenarios, uninstall, nothing left) under Wine.
        debut_paquets=$SECONDS
        scripts/cycle-installateur.sh
        echo "cycle de l'installateur : $((SECONDS - debut_paquets)) s"
    fi
    echo "windows-x86 : $((SECONDS - debut)) s"

    if [ "$voie" = x64 ]; then
        echo "== windows-x64 (Wine 64 bits)"
        debut=$SECONDS
        cmake --preset windows-x64 -DBANC_WERROR=ON "$importeur" >/dev/null
        cmake --build --preset windows-x64
        ctest --preset windows-x64
        env -u DISPLAY -u WAYLAND_DISPLAY BANC_VOIE_WINDOWS=x64 scripts/lancer.sh --windows
        scripts/essai-balayage-com.sh x64
        echo "windows-x64 : $((SECONDS - debut)) s"
    fi
fi

echo "== fuzz"
BANC_FUZZ_SECONDES=${BANC_FUZZ_SECONDES:-45} scripts/fuzz.sh
