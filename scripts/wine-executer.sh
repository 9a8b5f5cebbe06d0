#!/usr/bin/env bash
# Runs one Windows program of the Windows builds under Wine, in the Wine prefix named by WINEPREFIX (the build
# folder's own, never the user's home), which it creates on first use. CTest runs every test program through
# it; `scripts/wine-executer.sh build/windows-x86/bin/banc-ccam.exe` runs the tool.
#
# The width decides the loader. A program file says its own (read from its header); Wine's built-in programs
# (regsvr32, cscript, reg, cmd) take BANC_WINDOWS_BITS, 32 unless told, as the product is. A 64-bit program
# runs under Wine's 64-bit loader, with WINELOADER set to it: Debian's `wine` starts the 32-bit loader whenever
# wine32 is installed, and that loader cannot start on a machine that refuses 32-bit programs.
set -euo pipefail

ici=$(cd "$(dirname "$0")/.." && pwd)

echec() {
    echo "wine-executer.sh : $*" >&2
    exit 126
}

# 32 or 64 from a PE file's header (machine field), nothing for any other file.
largeur_pe() {
    local signature decalage machine
    signature=$(od -An -N2 -tx1 "$1" 2>/dev/null | tr -d ' \n') || return 0
    [ "$signature" = 4d5a ] || return 0
    decalage=$(od -An -j60 -N4 -tu4 "$1" | tr -d ' \n')
    machine=$(od -An -j$((decalage + 4)) -N2 -tx1 "$1" | tr -d ' \n')
    case "$machine" in
    4c01) echo 32 ;;
    6486) echo 64 ;;
    esac
}

[ $# -ge 1 ] || echec "quel programme ? (wine-executer.sh PROGRAMME [ARGUMENTS...])"
bits=""
if [ -f "$1" ]; then
    bits=$(largeur_pe "$1")
fi
bits=${bits:-${BANC_WINDOWS_BITS:-32}}
case "$bits" in
32) dossier=windows-x86 ;;
64) dossier=windows-x64 ;;
*) echec "BANC_WINDOWS_BITS vaut « $bits » : 32 ou 64" ;;
esac
export WINEPREFIX=${WINEPREFIX:-$ici/build/$dossier/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No download dialog for the .NET and HTML engines: no program here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ "$bits" = 64 ]; then
    chargeur=/usr/lib/wine/wine64
    [ -x "$chargeur" ] || echec "Wine 64 bits est introuvable ($chargeur ; scripts/installer.sh --windows l'installe)"
    export WINELOADER=$chargeur
    lanceur=("$chargeur")
else
    command -v wine >/dev/null || echec "Wine est introuvable (scripts/installer.sh --windows l'installe)"
    # Debian's wrapper would fall back to the 64-bit loader, which cannot run a 32-bit program either: ask
    # the 32-bit loader itself, which the kernel runs or refuses at once.
    if [ ! -x /usr/lib/wine/wine ]; then
        echec "Wine 32 bits est introuvable (paquet wine32:i386) : $1 ne peut pas démarrer"
    fi
    if ! raison=$(/usr/lib/wine/wine --version 2>&1 >/dev/null); then
        # The shell's words for the kernel's refusal, without its script and line: "Exec format error".
        raison=$(printf '%s\n' "$raison" | tail -n 1 | sed 's/.*: //')
        echec "cette machine n'exécute pas les programmes Windows 32 bits (chargeur 32 bits de Wine : ${raison:-refusé}) : $1 ne peut pas démarrer ; la voie 64 bits (préréglage windows-x64) s'y exécute"
    fi
    lanceur=(wine)
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

# Several test programs may start at once: one of them creates the prefix, the others wait for it. A prefix
# made by either loader is a 64-bit one, which runs both widths where the machine runs them.
mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "${lanceur[@]}" wineboot.exe --init >/dev/null 2>&1 || true
        wineserver --wait
        [ -f "$WINEPREFIX/system.reg" ] || echec "Wine n'a pas pu créer le préfixe $WINEPREFIX"
    fi
    # Windows ships Arial, Times New Roman and Courier New; Wine does not. Without them the font asked for
    # falls to the first family found (a mathematics font, whose text boxes draw nothing): Wine is told to
    # answer them with the metric-compatible Liberation fonts.
    if ! grep -q '^"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        for paire in "Arial:Liberation Sans" "Times New Roman:Liberation Serif" "Courier New:Liberation Mono"; do
            "${lanceur[@]}" reg.exe add 'HKCU\Software\Wine\Fonts\Replacements' /v "${paire%%:*}" /d "${paire#*:}" /f \
                >/dev/null 2>&1
        done
        wineserver --wait
    fi
) 9>"$WINEPREFIX.verrou"

exec "${lanceur[@]}" "$@"
