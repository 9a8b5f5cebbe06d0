#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the tool and its tests need and this
# machine lacks. Safe to run again: it installs only what is missing.
# With --windows, also what the Windows builds need, which a Linux-only user is never made to install: the
# mingw-w64 compilers of both widths, Wine of both widths (32-bit Wine is Debian's i386 architecture; it
# installs everywhere, and runs only where the kernel runs 32-bit programs), NSIS for the installer and 7-Zip,
# which lists and unpacks the ZIP and the installer for their checks.
set -euo pipefail

windows=0
[ "${1:-}" = "--windows" ] && windows=1

paquets=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
    libsqlite3-dev sqlite3 zlib1g-dev
    libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth x11-utils imagemagick
    fonts-liberation fontconfig
)
if [ "$windows" -eq 1 ]; then
    paquets+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
        wine wine32:i386 wine64 fonts-wine nsis p7zip-full jq)
fi

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
if [ "$windows" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
echo "Installation : ${manquants[*]}"
# A mirror with one stale index makes the update fail while the packages are still to be had: the install
# below says so if one is not.
$sudo apt-get update -qq || echo "installer.sh : la mise à jour des index a échoué en partie ; installation avec les index disponibles" >&2
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${manquants[@]}" >/dev/null
