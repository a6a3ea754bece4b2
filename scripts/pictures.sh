#!/usr/bin/env bash
# Regenerates the pictures the README shows: one 3D view and one floor plan
# of the courtyard example (typed by the house programme), small enough to
# keep in the repository.
set -euo pipefail
build="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
example="$root/examples/courtyard.quarn"
mkdir -p "$root/docs"
"$build/src/app/quarn-render" --style 4 --size 400x300 -o "$root/docs/courtyard-view.png" "$example"
# The plan of the finished building, its rooms typed by the house programme.
"$build/src/cli/quarn-gen" --px-per-unit 8 --room-size 20 --variance 10 --programme house \
  -o "$root/docs/courtyard-plan.png" "$example"
echo "pictures: wrote docs/courtyard-view.png and docs/courtyard-plan.png"
