#!/usr/bin/env bash
# Runs the revision check and textlint (with its two Japanese presets, installed from npm into a
# temporary folder: nothing here is a dependency of the program, and CI does not run this) on
# the same story with planted slips, and prints per planted slip which of them found it, then
# what else each reported. Needs node and npm, and a build with ptmtool.
#   bash tests/peer/compare_textlint.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

story=$root/tests/data/revision/story.txt
(cd "$work" && npm init -y >/dev/null &&
    npm install --silent --no-audit --no-fund textlint textlint-rule-preset-japanese \
        textlint-rule-preset-ja-technical-writing >/dev/null)
cp "$story" "$work/story.txt"
for preset in japanese ja-technical-writing; do
    printf '{"rules": {"preset-%s": true}}\n' "$preset" >"$work/$preset.json"
    (cd "$work" && npx textlint --config "$preset.json" --format json story.txt \
        >"$work/$preset.out.json" || true)
done
{ printf '*section story\n'; cat "$story"; } >"$work/story.txm"
"$build/bin/ptmtool" txm-import "$work/story.txm" "$work/story.ptm" --utf8 >/dev/null
"$build/bin/ptmtool" lint "$work/story.ptm" --json >"$work/ours.json" || true

python3 "$here/compare_findings.py" "$story" "$here/planted.tsv" "$work/ours.json" \
    "$work/japanese.out.json" "$work/ja-technical-writing.out.json"
