#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vaultrix need, when missing.
# Safe to run again: it only asks apt for packages that are not installed yet.
# With arguments it installs those packages instead (the fuzz, Windows and package scripts use
# this).
set -euo pipefail

packages=(
    cmake ninja-build g++ libgtest-dev
    qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
    xvfb xauth openbox imagemagick fonts-liberation tzdata
)
if [ $# -gt 0 ]; then
    packages=("$@")
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
    "${missing[@]}"
