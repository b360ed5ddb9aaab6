#!/usr/bin/env bash
# The fault-injection suite on its own: writers killed with SIGKILL at random moments, a full
# and a read-only disk (small tmpfs mounts, as root), targets that are folders, and an editor
# killed with unsaved changes and started again. scripts/test.sh runs it with 200 kills per
# writer; here --long kills 2000 times and --rounds N as often as asked.
# POTE_FAULT_SEED=N repeats the moments of an earlier run (each run prints its seed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds=200
while [ $# -gt 0 ]; do
  case "$1" in
    --long) rounds=2000 ;;
    --rounds) rounds="${2:?--rounds needs a number}"; shift ;;
    *) echo "usage: $0 [--long | --rounds N]" >&2; exit 1 ;;
  esac
  shift
done
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target fault_injection_test
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 POTE_FAULT_ROUNDS="$rounds" \
  "$root/build/bin/fault_injection_test"
