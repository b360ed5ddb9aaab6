#!/usr/bin/env bash
# Builds the Debian package build-pkg/poteedit_<version>_amd64.deb (a release build of its own,
# installed under /usr) and prints its path as the last line.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${POTE_PACKAGE_BUILD:-$root/build-pkg}"
"$root/scripts/install-deps.sh"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPOTE_WITH_UI=ON -DPOTE_WITH_TESTS=OFF -DPOTE_WITH_BENCH=OFF "${launcher[@]}"
cmake --build "$build" -j "${POTE_JOBS:-$(nproc)}"
rm -f "$build"/poteedit_*.deb
(cd "$build" && cpack -G DEB >&2)
version="$(sed -n 's/^project(poteedit VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
deb="$build/poteedit_${version}_$(dpkg --print-architecture).deb"
test -f "$deb"
echo "$deb"
