#!/usr/bin/env bash
# Builds everything and runs every test headless (Qt's offscreen platform).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/test" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build/test" -j"$(nproc)"
cd "$root/build/test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
