#!/usr/bin/env bash
# Usage: deps.sh [--node-prefix DIR] PURPOSE...
# Installs the Debian packages QUARN needs for each PURPOSE, only the missing
# ones, so a second run costs nothing:
#   run      build and start QUARN (make run)
#   test     what make test adds: GoogleTest, the X tools of the end-to-end
#            tests, the readers the export tests check files with
#   bench    Google Benchmark (make bench)
#   fuzz     clang and its libFuzzer runtime (make fuzz)
#   package  building, checking and trying the Debian package (make package)
# With --node-prefix and the test purpose it also installs the glTF validator
# with npm into DIR (a folder of the build tree), once.
# SKIP_DEPS=1 installs nothing. Without dpkg-query (not a Debian system) the
# script says what it would need and leaves the rest to the build.
set -euo pipefail

declare -A LISTS
LISTS[run]="cmake g++ make pkg-config
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libcli11-dev nlohmann-json3-dev libstb-dev
  libtinygltf-dev libassimp-dev libcairo2-dev librecast-dev"
LISTS[test]="libgtest-dev libgmock-dev
  xvfb xauth xdotool x11-utils imagemagick libx11-dev
  assimp-utils librsvg2-bin poppler-utils"
LISTS[bench]="libbenchmark-dev"
# The libFuzzer runtime follows the default clang.
LISTS[fuzz]="clang libclang-rt-dev"
LISTS[package]="dpkg-dev file fakeroot lintian debootstrap"

node_prefix=
if [ "${1:-}" = "--node-prefix" ]; then
  node_prefix=$2
  shift 2
fi
if [ $# -eq 0 ]; then
  echo "usage: deps.sh [--node-prefix DIR] run|test|bench|fuzz|package..." >&2
  exit 2
fi

packages=()
for purpose in "$@"; do
  if [ -z "${LISTS[$purpose]+set}" ]; then
    echo "deps: no purpose '$purpose' (run, test, bench, fuzz, package)" >&2
    exit 2
  fi
  # Word splitting turns the list into its packages.
  # shellcheck disable=SC2206
  packages+=(${LISTS[$purpose]})
  # The glTF validator runs on Node.js; a machine that already has node and
  # npm (from any source) keeps them, since Debian's nodejs conflicts with
  # others.
  if [ "$purpose" = test ] && { ! command -v node >/dev/null || ! command -v npm >/dev/null; }; then
    packages+=(nodejs npm)
  fi
done

install_packages() {
  if [ "${SKIP_DEPS:-0}" = 1 ]; then
    return
  fi
  if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "deps: not a Debian system; the build needs the equivalents of: ${packages[*]}"
    return
  fi
  local missing=() package
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return
  fi
  echo "deps: installing ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "deps: missing packages and no root rights; run as root:" >&2
      echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

install_validator() {
  if [ -z "$node_prefix" ] || [[ " $* " != *" test "* ]]; then
    return
  fi
  if [ -f "$node_prefix/node_modules/gltf-validator/package.json" ]; then
    return
  fi
  if ! command -v npm >/dev/null 2>&1; then
    echo "deps: no npm, so no glTF validator in $node_prefix; its test will fail"
    return
  fi
  echo "deps: installing the glTF validator into $node_prefix"
  mkdir -p "$node_prefix"
  npm install --prefix "$node_prefix" --no-audit --no-fund --silent gltf-validator
}

install_packages
install_validator "$@"
