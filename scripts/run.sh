#!/usr/bin/env bash
# Installs what is needed, builds poteedit and starts it. Extra arguments go to the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$(nproc)" --target poteedit poteedit_help mascot_sheet ptmtool
exec "$root/build/bin/poteedit" "$@"
