#!/usr/bin/env bash
# The Linux packages as a user gets them: the .deb holds the programs, our libraries, the data, the desktop
# entry and the documents, with its dependencies computed, and nothing of the tests; the .tar.gz, unpacked into
# a folder whose name has spaces, an apostrophe and an accent, plays the shipped scenarios with no setting (the
# programs find the libraries and the sample relative to themselves). Takes the packages' folder.
# --racine-debian: besides, `apt install` of the .deb into a fresh Debian 12 root (mmdebstrap, as root; it
# downloads some 90 packages, so CI leaves it out), where the installed programs play the scenarios.
set -euo pipefail
ici=$(cd "$(dirname "$0")/.." && pwd)
racine_debian=0
if [ "${1:-}" = "--racine-debian" ]; then
    racine_debian=1
    shift
fi
paquets=${1:-$ici/build/paquets}

echec() {
    echo "essai-paquets-linux.sh : $*" >&2
    exit 1
}
deb=$(ls "$paquets"/banc-ccam_*.deb 2>/dev/null | tail -n 1)
archive=$(ls "$paquets"/banc-ccam-*-linux-*.tar.gz 2>/dev/null | tail -n 1)
[ -f "$deb" ] && [ -f "$archive" ] || echec "pas de paquet dans $paquets (cpack --preset release)"

contenu=$(dpkg-deb -c "$deb" | awk '{print $6}')
for attendu in usr/bin/banc-ccam usr/bin/tarvo-verifier usr/bin/ccam-import \
    usr/lib/banc-ccam/libTarvoLib.so usr/lib/banc-ccam/BancAutomation.so \
    usr/share/banc-ccam/ccam-echantillon.sqlite usr/share/banc-ccam/scenarios/requetes-actes.jsonl \
    usr/share/applications/banc-ccam.desktop usr/share/icons/hicolor/scalable/apps/banc-ccam.svg \
    usr/share/doc/banc-ccam/README.md; do
    grep -qxF "./$attendu" <<<"$contenu" || echec "$attendu manque au paquet"
done
if grep -E 'tst_|bench_|fuzz_|Test' <<<"$contenu" >&2; then
    echec "le paquet contient des fichiers de test"
fi
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || echec "les dépendances du paquet n'ont pas été calculées"

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
dossier="$travail/L'essai du banc été"
mkdir "$dossier"
tar -xzf "$archive" -C "$dossier" --strip-components=1
for scenario in requetes-actes sequence-bibliotheque; do
    env -u BANC_CCAM_BASE "$dossier/bin/banc-ccam" --scenario "$dossier/share/banc-ccam/scenarios/$scenario.jsonl" \
        >/dev/null 2>&1 || echec "le scénario $scenario.jsonl a échoué ($?)"
done
verification=$(env -u BANC_CCAM_BASE "$dossier/bin/tarvo-verifier" 2>&1) || echec "tarvo-verifier a échoué ($?)"
grep -qF "$dossier/lib/banc-ccam/libTarvoLib.so" <<<"$verification" ||
    echec "tarvo-verifier n'a pas chargé la bibliothèque installée"
echo "Paquets Linux : contenu vérifié, scénarios joués depuis l'archive."

if [ "$racine_debian" -eq 1 ]; then
    command -v mmdebstrap >/dev/null || echec "mmdebstrap manque (apt-get install mmdebstrap)"
    scenarios=/usr/share/banc-ccam/scenarios
    mmdebstrap --variant=apt --mode=root bookworm "$travail/racine" \
        --customize-hook="copy-in '$deb' /tmp" \
        --customize-hook="chroot \"\$1\" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/$(basename "$deb")" \
        --customize-hook="chroot \"\$1\" sh -c 'banc-ccam --scenario $scenarios/requetes-actes.jsonl && banc-ccam --scenario $scenarios/sequence-bibliotheque.jsonl && tarvo-verifier'" \
        >"$travail/racine.log" 2>&1 || {
        tail -n 30 "$travail/racine.log" >&2
        echec "le paquet ne s'installe ou ne fonctionne pas dans une racine Debian neuve"
    }
    echo "Paquet Debian : installé par apt dans une racine Debian 12 neuve, scénarios joués."
fi
