#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the tool and its tests need and this
# machine lacks. Safe to run again: it installs only what is missing.
set -euo pipefail

paquets=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
    libsqlite3-dev sqlite3 zlib1g-dev
    libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth x11-utils imagemagick
    fonts-liberation fontconfig
)

manquants=()
for p in "${paquets[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        manquants+=("$p")
    fi
done

if [ ${#manquants[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installation : ${manquants[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${manquants[@]}" >/dev/null
