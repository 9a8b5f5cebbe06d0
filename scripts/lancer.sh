#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the tool. Without a display it
# starts the tool under Xvfb, saves a screenshot of the window and exits.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/installer.sh
cmake --preset release >/dev/null
cmake --build --preset release

outil=build/release/bin/banc-ccam

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$outil"
fi

mkdir -p captures
capture="$PWD/captures/frmInit.png"
xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24 -dpi 96" bash -c '
    "$1" & pid=$!
    for _ in $(seq 1 50); do
        if xwininfo -root -tree 2>/dev/null | grep -q "Sélection acte CCAM"; then break; fi
        sleep 0.2
    done
    sleep 1
    import -window root "$2"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
' _ "$outil" "$capture"
echo "No display: the tool ran under Xvfb; screenshot of its window saved to $capture"
