#!/usr/bin/env bash
# Installs everything the build, the tests and the benchmarks need on Debian.
# Idempotent: packages that are already installed are skipped.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-format git
    qt6-base-dev qt6-svg-dev qt6-translations-l10n qt6-image-formats-plugins
    libicu-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool xclip xdg-utils fonts-ipafont-gothic
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q \
    --no-install-recommends "${missing[@]}"
