#!/usr/bin/env bash
# The headless road of make run: the run script, started in an empty folder
# with no display, writes every file it says it wrote, among them the two
# plans and the four pictures.
set -euo pipefail
build="$1"
script="$2"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
cd "$dir"
output="$(env -u DISPLAY -u WAYLAND_DISPLAY bash "$script" "$build")"
echo "$output"
files="$(sed -n 's/^run: wrote \([^ ]*\).*/\1/p' <<<"$output")"
for expected in out/courtyard.svg out/courtyard.pdf out/courtyard-{1,2,3,4}.png; do
  grep -qx "$expected" <<<"$files" || { echo "not named: $expected"; exit 1; }
done
for file in $files; do
  [ -s "$file" ] || { echo "named but not written: $file"; exit 1; }
done
grep -q "make run" <<<"$output" || { echo "no word on opening QUARN with a display"; exit 1; }
