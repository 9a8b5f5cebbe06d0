#!/usr/bin/env bash
# Runs one Windows program of the windows-x86 build under Wine, in the Wine prefix named by WINEPREFIX
# (the build folder's own, never the user's home), which it creates on first use. CTest runs every test
# program through it; `scripts/wine-executer.sh build/windows-x86/bin/banc-ccam.exe` runs the tool.
set -euo pipefail

ici=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$ici/build/windows-x86/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No download dialog for the .NET and HTML engines: no program here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if ! command -v wine >/dev/null; then
    echo "wine-executer.sh : Wine est introuvable (scripts/installer.sh --windows l'installe)" >&2
    exit 127
fi

# Qt's offscreen platform reads fonts from files, not from the system: give it the Liberation fonts (the
# metrics of Arial and its kin), so that headless tests lay text out as on a desktop.
if [ -z "${QT_QPA_FONTDIR:-}" ] && [ -d /usr/share/fonts/truetype/liberation ]; then
    export QT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\liberation'
fi

# Wine keeps the Unix QT_* variables from Windows programs and hands them WINEQT_* instead: pass them on,
# so that CTest's QT_QPA_PLATFORM=offscreen reaches the tests.
while IFS='=' read -r nom _; do
    export "WINE$nom=${!nom}"
done < <(env | grep -E '^QT_[A-Za-z0-9_]*=' || true)

# Several test programs may start at once: one of them creates the prefix, the others wait for it.
mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot --init >/dev/null 2>&1 || true
        wineserver --wait
    fi
    # Windows ships Arial, Times New Roman and Courier New; Wine does not. Without them the font asked for
    # falls to the first family found (a mathematics font, whose text boxes draw nothing): Wine is told to
    # answer them with the metric-compatible Liberation fonts.
    if ! grep -q '^"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        for paire in "Arial:Liberation Sans" "Times New Roman:Liberation Serif" "Courier New:Liberation Mono"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${paire%%:*}" /d "${paire#*:}" /f \
                >/dev/null 2>&1
        done
        wineserver --wait
    fi
) 9>"$WINEPREFIX.verrou"

exec wine "$@"
