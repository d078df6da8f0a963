#!/usr/bin/env bash
# Builds the program (Release) and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release \
      -DSANIVEX_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/release" -j"$(nproc)" --target sanivex-genesor
exec "$root/build/release/src/app/sanivex-genesor" "$@"
