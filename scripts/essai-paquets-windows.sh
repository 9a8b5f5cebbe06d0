#!/usr/bin/env bash
# The 32-bit Windows packages checked without running them, as files: what a machine that cannot start 32-bit
# programs can still prove of the product. Both the ZIP and the NSIS installer (unpacked by 7-Zip) must hold
# exactly what the README's Installation section lists; every program file in them is i386; banc-ccam.exe is
# a windowed program linked without NX_COMPAT; TarvoLib.dll exports the 39 entry points under their bare
# names; every DLL a shipped file imports is shipped (beside it or beside the programs) or is the system's.
# Takes the folder of the packages (build/paquets by default).
set -euo pipefail
ici=$(cd "$(dirname "$0")/.." && pwd)
paquets=${1:-$ici/build/paquets}
objdump=i686-w64-mingw32-objdump

echec() {
    echo "essai-paquets-windows.sh : $*" >&2
    exit 1
}
command -v 7z >/dev/null || echec "7z est introuvable (paquet p7zip-full : scripts/installer.sh --windows)"
command -v "$objdump" >/dev/null || echec "$objdump est introuvable (scripts/installer.sh --windows)"
zip=$(ls "$paquets"/banc-ccam-*-win32.zip 2>/dev/null | tail -n 1)
installateur=$(ls "$paquets"/banc-ccam-*-win32-setup.exe 2>/dev/null | tail -n 1)
[ -f "$zip" ] || echec "pas de ZIP 32 bits dans $paquets (cpack --preset windows-x86)"
[ -f "$installateur" ] || echec "pas d'installateur 32 bits dans $paquets (cpack --preset windows-x86)"

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT

# What both packages hold, as the README lists it; the stand-ins apart.
outil=(banc-ccam.exe tarvo-verifier.exe BancAutomation.dll Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll
    platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll translations/qtbase_fr.qm
    libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll
    README.md README-composant.md README-lectarvo.md README-magasin.md)
for scenario in "$ici"/scenarios/*.jsonl; do
    outil+=("scenarios/$(basename "$scenario")")
done
demonstration=(TarvoLib.dll LecTarvo.ocx ccam-echantillon.sqlite)
# The DLLs every Windows 10 has: anything else a shipped file imports must be shipped.
systeme='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|msvcrt|version|uxtheme|dwmapi|winmm|dxgi|d3d9|d3d11|dwrite|wtsapi32|ws2_32|userenv|shlwapi|shcore|netapi32|mpr|imm32|comdlg32|comctl32|authz|setupapi|crypt32|bcrypt|ntdll|rpcrt4|api-ms-win-[a-z0-9-]+)\.dll$'

# The machine field of a PE file's header, in hexadecimal: 014c for i386, 8664 for x86-64.
machine_pe() {
    local decalage
    [ "$(od -An -N2 -tx1 "$1" | tr -d ' \n')" = 4d5a ] || return 0
    decalage=$(od -An -j60 -N4 -tu4 "$1" | tr -d ' \n')
    od -An -j$((decalage + 4)) -N2 -tx2 "$1" | tr -d ' \n'
}

# One package unpacked in $1, compared with the list that follows the folder.
comparer() {
    local dossier=$1 nom=$2
    shift 2
    (cd "$dossier" && find . -type f | sed 's|^\./||' | sort) >"$travail/$nom.trouves"
    printf '%s\n' "$@" | sort >"$travail/$nom.attendus"
    if ! diff "$travail/$nom.attendus" "$travail/$nom.trouves" >"$travail/$nom.ecarts"; then
        sed -n 's/^< /  manque : /p; s/^> /  en trop : /p' "$travail/$nom.ecarts" >&2
        echec "$nom ne contient pas ce que dit le README"
    fi
}

# Every program file of one unpacked package: its width, and the DLLs it imports found beside it, beside
# the programs (the folder a process loads its DLLs from) or among the system's.
examiner() {
    local racine=$1 nom=$2 fichier entete dll machine
    while IFS= read -r -d '' fichier; do
        machine=$(machine_pe "$fichier")
        [ "$machine" = 014c ] || echec "$nom : ${fichier#"$racine"/} n'est pas un fichier i386 (machine ${machine:-illisible})"
        entete=$("$objdump" -p "$fichier")
        while IFS= read -r dll; do
            [ -z "$dll" ] && continue
            if grep -qiE "$systeme" <<<"$dll"; then
                continue
            fi
            if [ -n "$(find "$(dirname "$fichier")" "$racine" -maxdepth 1 -iname "$dll" -print -quit)" ]; then
                continue
            fi
            echec "$nom : ${fichier#"$racine"/} importe $dll, qui n'est ni livré ni du système"
        done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$entete")
    done < <(find "$racine" -type f \( -iname '*.exe' -o -iname '*.dll' -o -iname '*.ocx' \) -print0)
}

# The ZIP: one folder, the stand-ins apart in demonstration\, which the user copies beside the programs.
7z x -y -o"$travail/zip" "$zip" >/dev/null
racine_zip=$(find "$travail/zip" -mindepth 1 -maxdepth 1 -type d | head -n 1)
[ -n "$racine_zip" ] || echec "le ZIP n'a pas de dossier racine"
comparer "$racine_zip" ZIP "${outil[@]}" LISEZMOI.txt "${demonstration[@]/#/demonstration/}"
examiner "$racine_zip" ZIP
for composant in TarvoLib.dll LecTarvo.ocx; do
    cp "$racine_zip/demonstration/$composant" "$racine_zip/"
done
examiner "$racine_zip" "ZIP (démonstration copiée à côté des programmes)"

# The installer: what it writes in the installation folder. NSIS's own plug-ins and the uninstaller it
# writes at install time are not files of ours.
7z x -y -o"$travail/nsis" "$installateur" >/dev/null
rm -rf "$travail/nsis/\$PLUGINSDIR" "$travail/nsis/desinstaller.exe"
comparer "$travail/nsis" installateur "${outil[@]}" "${demonstration[@]}"
examiner "$travail/nsis" installateur
[ "$(machine_pe "$installateur")" = 014c ] || echec "l'installateur n'est pas un programme i386"

# The tool: a windowed program (no console of its own), without NX_COMPAT, as the tool always was.
entete=$("$objdump" -p "$racine_zip/banc-ccam.exe")
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$entete" || echec "banc-ccam.exe n'est pas un programme fenêtré"
if sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' <<<"$entete" | grep -q NX_COMPAT; then
    echec "banc-ccam.exe est lié avec NX_COMPAT"
fi

# The library: exactly the 39 entry points of its module definition, under their bare names.
sed -n 's/^[[:space:]]*\([A-Za-z_]*_Tarvo\)@[0-9]*$/\1/p' "$ici/components/tarvolib/TarvoLib.def" | sort >"$travail/exports.attendus"
"$objdump" -p "$racine_zip/demonstration/TarvoLib.dll" |
    sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' | sort >"$travail/exports.trouves"
[ "$(wc -l <"$travail/exports.attendus")" -eq 39 ] || echec "TarvoLib.def ne nomme pas 39 points d'entrée"
if ! diff "$travail/exports.attendus" "$travail/exports.trouves" >"$travail/exports.ecarts"; then
    sed -n 's/^< /  manque : /p; s/^> /  en trop : /p' "$travail/exports.ecarts" >&2
    echec "TarvoLib.dll n'exporte pas les 39 noms nus"
fi

echo "Paquets Windows 32 bits : contenu du README, fichiers i386, dépendances livrées, banc-ccam.exe fenêtré sans NX_COMPAT, TarvoLib.dll et ses 39 noms nus."
