#!/usr/bin/env bash
# Logic libraries and their unit tests under AddressSanitizer/UBSan (clang), then a fuzzing run
# of the readers of outside files of at most FUZZ_SECONDS (default 80) seconds in all: a quarter
# for the document reader, a quarter for the JPEG decoder, a quarter for the linked-text reader,
# an eighth for the sprite sheet, an eighth for the vertical-writing markup and layout.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-asan"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DPOTE_WITH_UI=OFF -DPOTE_WITH_BENCH=OFF \
  -DPOTE_SANITIZE=ON -DPOTE_WITH_FUZZ=ON
cmake --build "$build" -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

total="${FUZZ_SECONDS:-80}"
# fuzz <target> <seconds> <seed files...>: each target keeps its own corpus between runs.
fuzz() {
  local target="$1" seconds="$2"
  shift 2
  [ -x "$build/fuzz/$target" ] || return 0
  [ "$seconds" -gt 0 ] || return 0
  local corpus="$build/fuzz-corpus/$target"
  mkdir -p "$corpus"
  for seed in "$@"; do
    cp -n "$seed" "$corpus/" || true
  done
  "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 "$corpus"
}
shopt -s nullglob
fuzz document_reader_fuzz $((total / 4)) "$root"/tests/data/*.ptm
fuzz jpeg_decoder_fuzz $((total / 4)) "$root"/tests/data/jpeg/*.jpg
fuzz linked_text_fuzz $((total / 4))
fuzz sprite_sheet_fuzz $((total / 8))
fuzz vertical_text_fuzz $((total / 8)) "$root"/tests/data/vertical/*.txt
