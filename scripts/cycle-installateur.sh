#!/usr/bin/env bash
# The Windows installer's whole life under Wine, in a prefix of its own (a new computer, no control
# registered): silent install into a folder whose name has spaces, an apostrophe and an accent; the installed
# tool plays shipped scenarios; silent uninstall; then neither a file nor a registry key of ours is left. Then
# a computer with a control already registered keeps it, and a system older than Windows 10 1809 is refused.
# Takes the installer (build/paquets by default).
set -euo pipefail
ici=$(cd "$(dirname "$0")/.." && pwd)

installateur=${1:-$(ls "$ici"/build/paquets/banc-ccam-*-win32-setup.exe 2>/dev/null | tail -n 1)}
if [ ! -f "$installateur" ]; then
    echo "cycle-installateur.sh : pas d'installateur (cpack --preset windows-x86)" >&2
    exit 2
fi

export WINEPREFIX=$ici/build/windows-x86/wine-installation
# Wine would mirror the Start-menu shortcut into the home folder's desktop menus: nothing may leave the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
rm -rf "$WINEPREFIX"
travail=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$travail"' EXIT
wine() { "$ici/scripts/wine-executer.sh" "$@"; }
echec() {
    echo "cycle-installateur.sh : $*" >&2
    exit 1
}

dossier_windows="C:\\Outils d'essai\\Banc CCAM été"
dossier="$WINEPREFIX/drive_c/Outils d'essai/Banc CCAM été"

# What the computer holds before, Wine's temporary files aside (the uninstaller runs from a copy there).
instantane() {
    wineserver --wait
    (cd "$WINEPREFIX/drive_c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune \
        -o -path './users/*/AppData/Local/Temp' -prune -o -print | sort) >"$travail/$1.fichiers"
}
wine cmd /c ver >/dev/null
# Wine says Windows 7 unless told otherwise; Windows 10 (a build after 1809) is what the installer asks for.
winecfg -v win10 >/dev/null 2>&1
instantane avant

# NSIS takes /D= last and unquoted, spaces included, as typed at a Windows prompt; Wine would quote a single
# argument holding spaces, so the folder goes in as its words, which Wine joins with plain spaces.
read -ra mots_dossier <<<"/D=$dossier_windows"
wine "$installateur" /S "${mots_dossier[@]}" || echec "l'installation a échoué ($?)"
wineserver --wait
[ -f "$dossier/banc-ccam.exe" ] || echec "banc-ccam.exe n'est pas dans « $dossier »"
[ -f "$dossier/TarvoLib.dll" ] || echec "les composants de démonstration n'ont pas été installés"
[ ! -e "$dossier/Qt6Test.dll" ] || echec "Qt6Test.dll a été installé"
wine reg query 'HKCR\LectTarvo.ctlTarvo\CLSID' >/dev/null 2>&1 || echec "LecTarvo.ocx n'a pas été enregistré"
grep -qi 'banc-ccam' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" || echec "pas d'entrée de désinstallation"
find "$WINEPREFIX/drive_c" -name "Banc d'essai CCAM.lnk" | grep -q . || echec "pas de raccourci dans le menu Démarrer"

# The installed tool, through the control registered and the library beside it, on the sample beside them.
for scenario in requetes-actes sequence-bibliotheque; do
    wine "$dossier_windows\\banc-ccam.exe" --scenario "$dossier_windows\\scenarios\\$scenario.jsonl" >/dev/null ||
        echec "le scénario $scenario.jsonl a échoué ($?)"
done

wine "$dossier_windows\\desinstaller.exe" /S || echec "la désinstallation a échoué ($?)"
# The uninstaller works from a copy of itself and returns at once: wait until every process has ended.
wineserver --wait
instantane apres
if ! diff "$travail/avant.fichiers" "$travail/apres.fichiers" >"$travail/fichiers.diff"; then
    cat "$travail/fichiers.diff" >&2
    echec "des fichiers sont restés ou ont disparu"
fi
if grep -Ein "banc-ccam|banc d'essai|tarvo|B17E68ED-BC29-49C1-B560-879E09580F45" \
    "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" >&2; then
    echec "des clés de registre sont restées"
fi

# A computer where a control already answers to the ProgID: the stand-ins are left out by default, and the
# uninstaller leaves that control's registration alone.
autre_controle='HKLM\Software\Classes\LectTarvo.ctlTarvo\CLSID'
wine reg add "$autre_controle" /ve /d '{00000000-0000-0000-0000-000000000001}' /f >/dev/null
wine "$installateur" /S '/D=C:\Reel' || echec "l'installation à côté d'un contrôle réel a échoué ($?)"
wineserver --wait
[ -f "$WINEPREFIX/drive_c/Reel/banc-ccam.exe" ] || echec "banc-ccam.exe n'est pas dans C:\Reel"
[ ! -e "$WINEPREFIX/drive_c/Reel/TarvoLib.dll" ] || echec "les composants de démonstration masquent le contrôle réel"
wine 'C:\Reel\desinstaller.exe' /S || echec "la désinstallation de C:\Reel a échoué ($?)"
wineserver --wait
[ ! -e "$WINEPREFIX/drive_c/Reel" ] || echec "C:\Reel est resté"
wine reg query "$autre_controle" >/dev/null 2>&1 || echec "la désinstallation a retiré le contrôle réel"

# Windows 7: refused, nothing written.
winecfg -v win7 >/dev/null 2>&1
wineserver --wait
if wine "$installateur" /S '/D=C:\Refus' >/dev/null 2>&1; then
    echec "l'installation a été acceptée sous Windows 7"
fi
wineserver --wait
[ ! -e "$WINEPREFIX/drive_c/Refus" ] || echec "l'installation refusée a écrit des fichiers"

echo "Installation, scénarios et désinstallation sous Wine : rien ne reste."
