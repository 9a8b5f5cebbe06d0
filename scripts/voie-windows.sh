#!/usr/bin/env bash
# Which Windows lane this machine runs, found out by starting a tiny 32-bit Windows program under Wine:
# "x86" (the product's own width, windows-x86 preset) where it runs, "x64" (windows-x64 preset, 64-bit Wine)
# where the machine refuses 32-bit programs. Prints the lane on standard output and one line on standard
# error that says which and why. BANC_VOIE_WINDOWS=x86|x64 chooses instead of asking the machine.
set -euo pipefail
ici=$(cd "$(dirname "$0")/.." && pwd)

annoncer() {
    case "$1" in
    x86) echo "Voie Windows 32 bits (windows-x86) : $2" >&2 ;;
    x64) echo "Voie Windows 64 bits (windows-x64) : $2" >&2 ;;
    esac
    echo "$1"
}

case "${BANC_VOIE_WINDOWS:-}" in
"") ;;
x86 | x64)
    annoncer "$BANC_VOIE_WINDOWS" "choisie par BANC_VOIE_WINDOWS"
    exit 0
    ;;
*)
    echo "voie-windows.sh : BANC_VOIE_WINDOWS vaut « $BANC_VOIE_WINDOWS » : x86 ou x64" >&2
    exit 2
    ;;
esac

sonde=$ici/build/sonde-windows32
mkdir -p "$sonde"
if [ ! -f "$sonde/sonde32.exe" ]; then
    printf '#include <stdio.h>\nint main(void) { printf("%%d\\n", (int)(sizeof(void*) * 8)); return 0; }\n' \
        >"$sonde/sonde32.c"
    i686-w64-mingw32-gcc -o "$sonde/sonde32.exe" "$sonde/sonde32.c"
fi

# In the 32-bit lane's own prefix: where the program runs, the lane reuses the prefix its start created.
statut=0
sortie=$(WINEPREFIX="$ici/build/windows-x86/wine" BANC_WINDOWS_BITS=32 timeout 600 \
    "$ici/scripts/wine-executer.sh" "$sonde/sonde32.exe" 2>&1) || statut=$?
if [ "$statut" -eq 0 ] && printf '%s\n' "$sortie" | tr -d '\r' | grep -qx 32; then
    annoncer x86 "cette machine exécute les programmes Windows 32 bits sous Wine"
    exit 0
fi
# The wrapper's last line, less its name and what it says of the program: the reason alone.
raison=$(printf '%s\n' "$sortie" | tr -d '\r' | grep -v '^$' | tail -n 1 |
    sed -e 's/^wine-executer.sh : //' -e 's/ : [^:]* ne peut pas démarrer.*$//')
if [ "$statut" -eq 124 ]; then
    raison="le programme 32 bits d'essai n'a pas répondu en 600 s"
fi
if [ -z "$raison" ]; then
    raison="le programme 32 bits d'essai a échoué (statut $statut) sans rien dire"
fi
annoncer x64 "$raison"
