#!/usr/bin/env bash
# A sweep of the Windows tool under Wine through a control that breaks:
# the old-style test control (tests/control/ctlancien) over the first 200 current acts of the full CCAM,
# crashing in LirePrix on one act, hanging in LireLibelleLong on another and showing a native box in
# LireActesCompatibles on a third. The sweep must go to its end and exit 1 after --delai-appel 5; its journal
# must name those three acts with their members; its comparison with a clean sweep of the same list must name
# exactly those three acts. Exit 77 (skipped) without the full CCAM.
set -euo pipefail
ici=$(cd "$(dirname "$0")/.." && pwd)
# The Windows build's bin folder (CTest gives it, with WINEPREFIX and BANC_WINDOWS_BITS), or a lane's.
bin=${1:-$ici/build/windows-x64/bin}
donnees=${BANC_CCAM_DONNEES:-$ici/../shared/ccam}

echec() {
    echo "essai-pannes-com.sh : $*" >&2
    exit 1
}
if [ ! -f "$donnees/ccam_actes.csv.gz" ]; then
    echo "essai-pannes-com.sh : pas de CCAM complète dans $donnees, cas passé"
    exit 77
fi
[ -f "$bin/banc-ccam.exe" ] || echec "pas de $bin/banc-ccam.exe"
export WINEPREFIX=${WINEPREFIX:-$(dirname "$bin")/wine}
export BANC_WINDOWS_BITS=${BANC_WINDOWS_BITS:-64}
windows="$ici/scripts/wine-executer.sh"

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
windows_chemin() { printf 'Z:%s' "${1//\//\\}"; }

# Read no further than needed: zcat then ends on a closed pipe, which the count below judges instead.
zcat "$donnees/ccam_actes.csv.gz" | awk -F';' 'NR > 1 && $NF == "" { print $1; if (++n == 200) exit }' \
    >"$travail/actes.txt" || true
[ "$(wc -l <"$travail/actes.txt")" -eq 200 ] || echec "moins de 200 actes en cours dans $donnees"
plantage=$(sed -n 50p "$travail/actes.txt")
blocage=$(sed -n 100p "$travail/actes.txt")
boite=$(sed -n 150p "$travail/actes.txt")

"$windows" regsvr32 /s "$(windows_chemin "$bin/CtlAncien.ocx")" ||
    echec "regsvr32 CtlAncien.ocx a échoué ($?)"

# The commands whose members the control answers without failing: a clean sweep exits 0.
balayer() {
    QT_QPA_PLATFORM=offscreen "$windows" "$bin/banc-ccam.exe" \
        --controle BancTest.CtlAncien --commandes 2,6,7 --delai-appel 5 \
        --balayage "$(windows_chemin "$travail/actes.txt")" --journal "$(windows_chemin "$travail/$1.jsonl")" \
        2>"$travail/$1.err"
}
statut=0
CTLANCIEN_PANNES= balayer propre || statut=$?
[ "$statut" -eq 0 ] || {
    tail -n 5 "$travail/propre.err" >&2
    echec "le balayage sans panne a fini par $statut"
}
statut=0
CTLANCIEN_PANNES="$plantage:LirePrix:plantage,$blocage:LireLibelleLong:blocage,$boite:LireActesCompatibles:boite" \
    balayer pannes || statut=$?
[ "$statut" -eq 1 ] || {
    tail -n 5 "$travail/pannes.err" >&2
    echec "le balayage avec pannes a fini par $statut, pas 1"
}

# The three acts named with their members, once each.
nommes() { jq -r "select(.genre == \"$1\") | .acte + \" \" + .membre" "$travail/pannes.jsonl"; }
[ "$(nommes plantage)" = "$plantage LirePrix" ] || echec "plantage : « $(nommes plantage) »"
[ "$(nommes blocage)" = "$blocage LireLibelleLong" ] || echec "blocage : « $(nommes blocage) »"
[ "$(nommes boite_native)" = "$boite LireActesCompatibles" ] || echec "boîte native : « $(nommes boite_native) »"
jq -e 'select(.genre == "fin_balayage") | .actes == 200 and .plantages == 1 and .blocages == 1 and
    .boites_natives == 1' "$travail/pannes.jsonl" >/dev/null || echec "fin_balayage ne compte pas ce qui est arrivé"

# Every other act answered as in the clean sweep: the comparison names those three acts and no other.
# LectureTerminee numbers the control's reads since it was loaded: a fresh worker counts from 1 again.
statut=0
"$windows" "$bin/banc-ccam.exe" --comparer "$(windows_chemin "$travail/propre.jsonl")" \
    "$(windows_chemin "$travail/pannes.jsonl")" --ignorer LectureTerminee >"$travail/comparaison.txt" 2>&1 ||
    statut=$?
[ "$statut" -eq 1 ] || echec "la comparaison a fini par $statut, pas 1 (des différences)"
actes=$(grep -oE '^(Commande|Appel) [0-9]+ : [^ ]+ — [A-Z0-9]+' "$travail/comparaison.txt" | awk '{ print $NF }' |
    sort -u | tr '\n' ' ')
attendus=$(printf '%s\n' "$plantage" "$blocage" "$boite" | sort | tr '\n' ' ')
[ "$actes" = "$attendus" ] || {
    head -n 40 "$travail/comparaison.txt" >&2
    echec "la comparaison nomme « $actes », pas « $attendus »"
}
echo "Balayage par COM d'un contrôle qui plante, se bloque et ouvre une boîte : 200 actes, les trois nommés."
