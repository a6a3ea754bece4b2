#!/usr/bin/env bash
# With a display: writes the textures into tex/ and starts the application
# from this folder. Without one: does the same job headless, writing the
# plans and pictures of the courtyard example into out/.
set -euo pipefail
build="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ ! -x "$build/src/app/quarn" ]; then
  echo "run: the application is not built yet; the geometry kernel and its tests are (make test)."
  exit 0
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$build/tools/quarn-textures" tex
  exec "$build/src/app/quarn"
fi

generator="$build/src/cli/quarn-gen"
example="$root/examples/courtyard.quarn"
mkdir -p out
for format in svg pdf; do
  "$generator" -o "out/courtyard.$format" "$example"
  echo "run: wrote out/courtyard.$format (floor plan)"
done
"$build/src/app/quarn-render" --style all -o out/courtyard.png "$example"
for style in 1 2 3 4; do
  echo "run: wrote out/courtyard-$style.png (3D view, style $style)"
done
# Two storeys with rooms a house can use: the typed plan and the finished
# building in the view's plan style, its rooms in their types' colours.
"$generator" --storeys 2 --room-size 20 --variance 10 --programme house \
  -o out/courtyard-typed.png "$example"
echo "run: wrote out/courtyard-typed.png (typed floor plan, house programme)"
"$build/src/app/quarn-render" --finished --storeys 2 --style 1 -o out/courtyard-finished.png "$example"
echo "run: wrote out/courtyard-finished.png (3D view of the finished, typed building)"
# The 3D model, once the generator can write it.
if [[ "$("$generator" --help)" == *glb* ]]; then
  "$generator" -f glb -o out/courtyard.glb "$example"
  echo "run: wrote out/courtyard.glb (3D model)"
fi
echo "run: no display here (DISPLAY is not set), so QUARN did its job headless."
echo "run: to open QUARN itself, run 'make run' in a graphical session (or over ssh -X)."
