#!/usr/bin/env bash
# Installs what is needed, builds everything and passes the tests. Run from anywhere.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"
# One layout for every source file, so that a change shows only what it changes.
(cd "$root" && find bench fuzz src tests tools \( -name '*.cpp' -o -name '*.h' \) -print0 \
  | xargs -0 clang-format --dry-run --Werror)
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"
# The Debian package: built, its contents checked, the unpacked programs started.
if [ "${POTE_SKIP_PACKAGE:-0}" != 1 ]; then
  "$root/scripts/package-check.sh"
fi
# The logic under AddressSanitizer, and a short fuzzing run of the readers.
if [ "${POTE_SKIP_SANITIZE:-0}" != 1 ]; then
  "$root/scripts/sanitize.sh"
fi
