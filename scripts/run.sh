#!/usr/bin/env bash
# Writes the textures into tex/ and starts the application from this folder.
set -euo pipefail
build="$1"
if [ ! -x "$build/src/app/quarn" ]; then
  echo "run: the application is not built yet; the geometry kernel and its tests are (make test)."
  exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found (DISPLAY is not set); QUARN needs a graphical session." >&2
  exit 1
fi
"$build/tools/quarn-textures" tex
exec "$build/src/app/quarn"
