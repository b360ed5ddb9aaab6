#!/usr/bin/env bash
# Logic libraries and their unit tests under AddressSanitizer/UBSan (clang), then a fuzzing run
# of the document reader of at most FUZZ_SECONDS (default 60) seconds, and a quarter of that for
# the linked-text reader.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-asan"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DPOTE_WITH_UI=OFF -DPOTE_WITH_BENCH=OFF \
  -DPOTE_SANITIZE=ON -DPOTE_WITH_FUZZ=ON
cmake --build "$build" -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
if [ -x "$build/fuzz/document_reader_fuzz" ]; then
  mkdir -p "$build/fuzz-corpus"
  cp -n "$root"/tests/data/*.ptm "$build/fuzz-corpus/" 2>/dev/null || true
  "$build/fuzz/document_reader_fuzz" -max_total_time="${FUZZ_SECONDS:-60}" -rss_limit_mb=2048 \
    "$build/fuzz-corpus"
fi
if [ -x "$build/fuzz/linked_text_fuzz" ]; then
  mkdir -p "$build/fuzz-corpus-txm"
  "$build/fuzz/linked_text_fuzz" -max_total_time="$(( ${FUZZ_SECONDS:-60} / 4 ))" \
    -rss_limit_mb=2048 "$build/fuzz-corpus-txm"
fi
