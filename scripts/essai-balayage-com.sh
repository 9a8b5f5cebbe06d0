#!/usr/bin/env bash
# A sweep of every act of the sample through COM: the Windows tool of one lane (x86 or x64, the folder
# build/windows-<lane>) under Wine, with our LecTarvo.ocx registered in that lane's prefix and created by its
# ProgID, against the same sweep on Linux with our component in process (build/dev). Both must answer alike
# (the configuration path apart, which differs by system), and the Windows journal must name the server it
# went through.
set -euo pipefail
ici=$(cd "$(dirname "$0")/.." && pwd)
voie=${1:-x86}
windows=$ici/build/windows-$voie
linux=$ici/build/dev/bin

echec() {
    echo "essai-balayage-com.sh : $*" >&2
    exit 1
}
[ -x "$linux/banc-ccam" ] || echec "pas de $linux/banc-ccam (cmake --build --preset dev)"
[ -f "$windows/bin/banc-ccam.exe" ] || echec "pas de $windows/bin/banc-ccam.exe (cmake --build --preset windows-$voie)"
case "$voie" in
x86) export BANC_WINDOWS_BITS=32 ;;
x64) export BANC_WINDOWS_BITS=64 ;;
*) echec "voie « $voie » : x86 ou x64" ;;
esac
export WINEPREFIX=$windows/wine

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
windows_chemin() { printf 'Z:%s' "${1//\//\\}"; }

sqlite3 "$linux/ccam-echantillon.sqlite" 'SELECT code FROM acte ORDER BY code' >"$travail/actes.txt"
[ -s "$travail/actes.txt" ] || echec "la base d'échantillon n'a pas d'actes"

"$linux/banc-ccam" --balayage "$travail/actes.txt" --date 20250101 --journal "$travail/linux.jsonl" 2>/dev/null ||
    echec "le balayage Linux a échoué ($?)"

"$ici/scripts/wine-executer.sh" regsvr32 /s "$(windows_chemin "$windows/bin/LecTarvo.ocx")" ||
    echec "regsvr32 LecTarvo.ocx a échoué ($?)"
statut=0
QT_QPA_PLATFORM=offscreen "$ici/scripts/wine-executer.sh" "$windows/bin/banc-ccam.exe" \
    --balayage "$(windows_chemin "$travail/actes.txt")" --date 20250101 \
    --journal "$(windows_chemin "$travail/windows.jsonl")" 2>"$travail/progression.txt" || statut=$?
[ "$statut" -eq 0 ] || {
    tail -n 5 "$travail/progression.txt" >&2
    echec "le balayage Windows ($voie) a échoué (statut $statut)"
}
head -n 1 "$travail/windows.jsonl" | grep -q 'LecTarvo\.ocx' ||
    echec "le journal Windows ne nomme pas LecTarvo.ocx : le contrôle n'a pas été créé par COM"

if ! "$linux/banc-ccam" --comparer "$travail/linux.jsonl" "$travail/windows.jsonl" --ignorer CheminConfig \
    >"$travail/comparaison.txt"; then
    head -n 40 "$travail/comparaison.txt" >&2
    echec "Windows ($voie) et Linux ne répondent pas de même"
fi
echo "Balayage par COM ($voie) : $(wc -l <"$travail/actes.txt") actes, les mêmes réponses que sous Linux."
