#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the tool. Without a display it
# starts the tool under Xvfb, saves a screenshot of the window and exits.
# With --windows: the Windows build under Wine, of the width this machine runs (scripts/voie-windows.sh): the
# 32-bit product (windows-x86 preset) where Wine starts 32-bit programs, else the 64-bit build (windows-x64).
# BANC_VOIE_WINDOWS=x86|x64 chooses.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--windows" ]; then
    scripts/installer.sh --windows
    voie=$(scripts/voie-windows.sh)
    cmake --preset "windows-$voie" >/dev/null
    cmake --build --preset "windows-$voie"
    outil=("$PWD/scripts/wine-executer.sh" "$PWD/build/windows-$voie/bin/banc-ccam.exe")
    export WINEPREFIX="$PWD/build/windows-$voie/wine"
    if [ "$voie" = x64 ]; then
        export BANC_WINDOWS_BITS=64
    fi
    # The tool creates its control by ProgID: our LecTarvo.ocx, registered in the build's prefix (Z: is the
    # Unix root under Wine).
    ocx="Z:$PWD/build/windows-$voie/bin/LecTarvo.ocx"
    scripts/wine-executer.sh regsvr32 /s "${ocx//\//\\}"
    # Wine's desktop belongs to the display its server started with: let this one end before the tool
    # starts on the display below.
    wineserver --wait
    capture="$PWD/captures/frmInit-windows-$voie.png"
    attente=600 # Wine starts its own services on the first run of a prefix
else
    scripts/installer.sh
    cmake --preset release >/dev/null
    cmake --build --preset release
    outil=("$PWD/build/release/bin/banc-ccam")
    capture="$PWD/captures/frmInit.png"
    attente=100
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "${outil[@]}"
fi

mkdir -p captures
rm -f "$capture"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"

# Xvfb picks a free display itself (-displayfd), so several runs side by side do not collide.
numero=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp 3>"$numero" 2>/dev/null &
serveur=$!
outil_pid=""
trap 'kill $outil_pid $serveur 2>/dev/null || true; wait 2>/dev/null || true; rm -f "$numero"' EXIT
for _ in $(seq 1 100); do
    [ -s "$numero" ] && break
    sleep 0.1
done
if [ ! -s "$numero" ]; then
    echo "Xvfb n'a pas démarré." >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$numero")"

# The screenshot is taken only once the window is up; a tool that stops before (a failed load)
# or never shows its window makes the script fail instead of reporting an old or empty picture.
titre="Sélection acte CCAM - Version MultiTarifs"
"${outil[@]}" &
outil_pid=$!
fenetre=""
for _ in $(seq 1 "$attente"); do
    if ! kill -0 "$outil_pid" 2>/dev/null; then
        statut=0
        wait "$outil_pid" || statut=$?
        echo "L'outil s'est arrêté avant de montrer sa fenêtre (statut $statut)." >&2
        exit 1
    fi
    # Under a plain C locale xwininfo cannot print the accented title: ask in UTF-8.
    fenetre=$(LC_ALL=C.UTF-8 xwininfo -root -tree 2>/dev/null | grep -F "\"$titre\"" | awk '{print $1}' | head -n 1 || true)
    [ -n "$fenetre" ] && break
    sleep 0.1
done
if [ -z "$fenetre" ]; then
    echo "L'outil n'a montré aucune fenêtre en $((attente / 10)) secondes." >&2
    exit 1
fi
sleep 1 # let it paint
import -window "$fenetre" "$capture"
echo "Pas d'écran : l'outil a tourné sous Xvfb ; capture de sa fenêtre enregistrée dans $capture"
