#!/usr/bin/env bash
# Installs the Debian 12 packages this project needs, only those that are missing.
# Sourced by start.sh and test.sh; usable on its own.
set -euo pipefail

sanivex_packages=(cmake g++ make qt6-base-dev fonts-liberation2 clang-format)
# libqt6svg6 draws the SVG window icon, qt6-translations-l10n has Qt's own German texts.
sanivex_packages+=(libqt6svg6 qt6-translations-l10n)
# libqt6sql6-sqlite is the SQLite driver that keeps the team.
sanivex_packages+=(libqt6sql6-sqlite)

sanivex_install_missing() {
    local missing=()
    for pkg in "${sanivex_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing Debian packages: ${missing[*]}; install them as root with:" \
                "apt-get install ${missing[*]}" >&2
            return 1
        fi
        sudo=(sudo)
    fi
    echo "Installing missing packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

sanivex_install_missing
