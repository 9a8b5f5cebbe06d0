#!/usr/bin/env bash
# The cost of reaching the control through COM, measured as an operator meets it: the Windows tool of one lane
# (x86 or x64) under Wine on a display (Xvfb), sweeping the same list of acts of a store twice, once through
# our LecTarvo.ocx created by its ProgID and once with our component in process (--controle interne), and the
# ratio of the two. Headless the container makes no native window and the ratio says nothing of a desk.
#
#   scripts/mesure-balayage-com.sh x64 ~/ccam-complete.sqlite actes.txt
#
# The store is a file made by ccam-import (the full CCAM for the figure the README quotes), the list one act a
# line (its first 1,000 current acts, say). Each sweep runs once, in the same prefix, one after the other.
# BANC_MESURE_BUILD names another build folder of the lane (another branch's, to compare), and
# BANC_MESURE_PREFIXE the Wine prefix to use for it, so that the other folder is only read.
set -euo pipefail
ici=$(cd "$(dirname "$0")/.." && pwd)

echec() {
    echo "mesure-balayage-com.sh : $*" >&2
    exit 1
}
[ $# -eq 3 ] || echec "usage : mesure-balayage-com.sh x86|x64 BASE.sqlite ACTES.txt"
voie=$1
base=$(realpath "$2")
actes=$(realpath "$3")
windows=${BANC_MESURE_BUILD:-$ici/build/windows-$voie}
case "$voie" in
x86) export BANC_WINDOWS_BITS=32 ;;
x64) export BANC_WINDOWS_BITS=64 ;;
*) echec "voie « $voie » : x86 ou x64" ;;
esac
[ -f "$windows/bin/banc-ccam.exe" ] || echec "pas de $windows/bin/banc-ccam.exe (cmake --build --preset windows-$voie)"
[ -f "$base" ] || echec "pas de base $base"
[ -s "$actes" ] || echec "liste d'actes vide : $actes"
command -v xvfb-run >/dev/null || echec "xvfb-run est introuvable (paquet xvfb)"
export WINEPREFIX=${BANC_MESURE_PREFIXE:-$windows/wine}

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
windows_chemin() { printf 'Z:%s' "${1//\//\\}"; }

"$ici/scripts/wine-executer.sh" regsvr32 /s "$(windows_chemin "$windows/bin/LecTarvo.ocx")" ||
    echec "regsvr32 LecTarvo.ocx a échoué ($?)"

# One sweep on the display Qt's Windows platform draws on; prints its wall time in seconds.
balayer() {
    local nom=$1
    shift
    local debut fin statut=0
    debut=$(date +%s.%N)
    BANC_CCAM_BASE=$(windows_chemin "$base") xvfb-run -a "$ici/scripts/wine-executer.sh" \
        "$windows/bin/banc-ccam.exe" --balayage "$(windows_chemin "$actes")" --date 20250101 \
        --journal "$(windows_chemin "$travail/$nom.jsonl")" "$@" 2>"$travail/$nom.err" || statut=$?
    fin=$(date +%s.%N)
    [ "$statut" -le 1 ] || {
        tail -n 5 "$travail/$nom.err" >&2
        echec "le balayage $nom a échoué (statut $statut)"
    }
    echo "$fin - $debut" | bc -l
}

com=$(balayer com)
interne=$(balayer interne --controle interne)
grep -q 'LecTarvo\.ocx' <(head -n 1 "$travail/com.jsonl") ||
    echec "le journal du balayage par COM ne nomme pas LecTarvo.ocx"
printf 'Balayage de %d actes (%s, sous Xvfb) : COM %.1f s, en processus %.1f s, rapport %.2f\n' \
    "$(grep -cv '^\s*\(#\|$\)' "$actes")" "$voie" "$com" "$interne" "$(echo "$com / $interne" | bc -l)"
