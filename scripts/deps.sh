#!/usr/bin/env bash
# Installs the Debian packages QUARN needs to build, test and run; only the
# missing ones, so a second run costs nothing.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config
  libsdl2-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libcli11-dev nlohmann-json3-dev libstb-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick libx11-dev
  libtinygltf-dev libassimp-dev libcairo2-dev
  clang libclang-rt-14-dev
  assimp-utils librsvg2-bin poppler-utils
)
# The glTF validator runs on Node.js; a machine that already has node and npm
# (from any source) keeps them, since Debian's nodejs conflicts with others.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  PACKAGES+=(nodejs npm)
fi

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "deps: missing packages and no root rights; run as root:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
