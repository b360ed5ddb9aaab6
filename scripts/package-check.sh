#!/usr/bin/env bash
# Builds the Debian package and checks it: its control data, that it holds every file the
# program and the desktop need, and that the programs unpacked from it start and find their
# data at the install location (not beside the executable).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deb="$("$root/scripts/package.sh" | tail -n 1)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "package-check: $*" >&2; exit 1; }

version="$(sed -n 's/^project(poteedit VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
info="$(dpkg-deb --info "$deb")"
grep -q "^ Package: poteedit$" <<<"$info" || fail "package name"
grep -q "^ Version: $version$" <<<"$info" || fail "version is not $version"
grep -q "^ Architecture: $(dpkg --print-architecture)$" <<<"$info" || fail "architecture"
depends="$(sed -n 's/^ Depends: //p' <<<"$info")"
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 \
  libcairo2 libfreetype6 libmecab2 mecab-ipadic-utf8; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

contents="$(dpkg-deb --contents "$deb" | awk '{print $NF}')"
for f in usr/bin/poteedit usr/bin/ptmtool \
  usr/share/poteedit/potemaru.sss usr/share/poteedit/help/index.html \
  usr/share/poteedit/help/style.css usr/share/poteedit/icons/poteedit.svg \
  usr/share/poteedit/icons/application-x-poteedit-document.svg \
  usr/share/applications/poteedit.desktop usr/share/mime/packages/poteedit.xml \
  usr/share/icons/hicolor/scalable/apps/poteedit.svg \
  usr/share/icons/hicolor/scalable/mimetypes/application-x-poteedit-document.svg; do
  grep -qx "\./$f" <<<"$contents" || fail "missing $f"
done
if grep -q "/help/README.md$" <<<"$contents"; then fail "the manual's authoring notes were packaged"; fi
if grep -q "^\./usr/local" <<<"$contents"; then fail "files under /usr/local"; fi

dpkg-deb -x "$deb" "$work/root"
tree="$work/root/usr"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$tree/share/applications/poteedit.desktop"
fi
# The MIME package turns into a database that knows the .ptm glob.
if command -v update-mime-database >/dev/null; then
  cp -r "$tree/share/mime" "$work/mime"
  update-mime-database "$work/mime" >/dev/null
  grep -q "application/x-poteedit-document:\*\.ptm" "$work/mime/globs2" || fail "*.ptm glob"
fi

# Nothing a check starts may touch the real user's settings or desktop.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$tree/bin/poteedit" --version | grep -q "Version $version$" || fail "poteedit --version"
"$tree/bin/poteedit" --help | grep -qx "マニュアル: $tree/share/poteedit/help/index.html" ||
  fail "poteedit does not find its manual in share/poteedit"
# Read whole before matching: grep -q stops at the first line, and a help text longer than one
# write would then end in a broken pipe.
help="$("$tree/bin/ptmtool" --help)" || fail "ptmtool --help exited with $?"
grep -q "^usage: ptmtool" <<<"$help" || fail "ptmtool --help"
"$tree/bin/ptmtool" --version | grep -qx "ptmtool $version" || fail "ptmtool --version"
# The window starts from the unpacked tree and keeps running until it is stopped.
status=0
timeout 5 "$tree/bin/poteedit" /d >"$work/window.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/window.log" >&2; fail "poteedit window exited with $status"; }
if grep -q "mascot picture not loaded" "$work/window.log"; then
  cat "$work/window.log" >&2
  fail "the window did not find the sprite sheet in share/poteedit"
fi
echo "package-check: $deb is fine"
