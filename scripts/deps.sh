#!/usr/bin/env bash
# Installs the Debian 12 packages this project needs, only those that are missing.
# Sourced by start.sh and test.sh; usable on its own.
set -euo pipefail

# libqt6svg6 draws the SVG window icon, qt6-translations-l10n has Qt's own German texts.
sanivex_packages=(cmake g++ make qt6-base-dev fonts-liberation2 libqt6svg6 qt6-translations-l10n)

sanivex_install_missing() {
    local missing=()
    for pkg in "${sanivex_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

sanivex_install_missing
