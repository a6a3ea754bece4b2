#!/usr/bin/env bash
# Usage: check-package.sh WORK_DIR PACKAGE...
# Installs the packages with apt into a minimal Debian 12 system made by
# debootstrap in WORK_DIR, runs quarn-gen on an example and quarn-render
# offscreen in it, from a folder without textures, and finds the library's
# development files where the library's package names them. The base system is made
# once per machine and kept in QUARN_CACHE (default ~/.cache/quarn) with the
# package lists and the packages apt fetched; every run starts from a fresh
# copy of the base system. Needs root (chroot).
set -euo pipefail
work=$1
shift
packages=()
for package in "$@"; do packages+=("$(realpath "$package")"); done
cache=${QUARN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quarn}
base=$cache/bookworm-minbase.tar

if [ "$(id -u)" -ne 0 ]; then
  echo "check-package: needs root (debootstrap, chroot)" >&2
  exit 1
fi

# The Debian mirror this machine's apt uses (deb822 or one-line sources).
mirror() {
  local uri
  uri=$(grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}' | grep -v security | head -n1)
  if [ -z "$uri" ]; then
    uri=$(grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
          awk '{print $2}' | grep -v security | head -n1)
  fi
  echo "${uri:-http://deb.debian.org/debian}"
}

root=$work/root
cleanup() {
  if mountpoint -q "$root/proc"; then umount "$root/proc"; fi
}
trap cleanup EXIT
cleanup
rm -rf "$work"
mkdir -p "$work" "$cache"

if [ ! -f "$base" ]; then
  echo "check-package: making the base system (debootstrap, once per machine) from $(mirror)"
  debootstrap --variant=minbase bookworm "$work/base" "$(mirror)" >"$work/debootstrap.log" 2>&1 || {
    tail -n 20 "$work/debootstrap.log" >&2
    exit 1
  }
  tar -C "$work/base" -cf "$base.tmp" . && mv "$base.tmp" "$base"
  rm -rf "$work/base"
fi
mkdir -p "$root"
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mount -t proc proc "$root/proc"

# What earlier runs fetched spares this one the download.
mkdir -p "$cache/lists" "$cache/archives"
cp -r "$cache/lists/." "$root/var/lib/apt/lists/"
find "$cache/archives" -name '*.deb' -exec cp {} "$root/var/cache/apt/archives/" \;

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
inside=()
for package in "${packages[@]}"; do
  cp "$package" "$root/tmp/"
  inside+=("/tmp/$(basename "$package")")
done
echo "check-package: installing ${inside[*]#/tmp/} with apt"
in_root apt-get update -q >"$work/apt.log" 2>&1
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${inside[@]}" \
  >>"$work/apt.log" 2>&1 || {
  tail -n 30 "$work/apt.log" >&2
  exit 1
}
cp -r "$root/var/lib/apt/lists/." "$cache/lists/"
find "$root/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -exec cp -u {} "$cache/archives/" \;

echo "check-package: running the tools in a folder without textures"
in_root sh -euc '
  mkdir -p /tmp/run && cd /tmp/run
  examples=/usr/share/doc/quarn/examples
  quarn-gen "$examples/l-shape.quarn" -o plan.json
  quarn-gen "$examples/courtyard.quarn" -o plan.svg
  SDL_VIDEODRIVER=offscreen quarn-render --size 320x240 -o view.png "$examples/courtyard.quarn"
  test ! -e tex
  # The application finds the installed textures: without them it would
  # stop at once with the missing-texture message; with them it runs until
  # the timeout ends it.
  status=0
  SDL_VIDEODRIVER=offscreen timeout 3 quarn </dev/null >quarn.log 2>&1 || status=$?
  if [ "$status" -ne 124 ]; then cat quarn.log; echo "quarn ended with $status"; exit 1; fi
  head -c 40 plan.json; echo
  ls -l plan.json plan.svg view.png
  test -s plan.json && test -s plan.svg && test -s view.png
'
echo "check-package: the library and its development files"
in_root sh -euc '
  ldconfig -p | grep -q "libquarn.so.0 "
  test -f /usr/include/quarn/quarn.h
  test "$(readlink -f /usr/lib/*/libquarn.so)" = "$(readlink -f /usr/lib/*/libquarn.so.0)"
  grep -q "^Version:" /usr/lib/*/pkgconfig/quarn.pc
  test -f /usr/lib/*/cmake/quarn/quarnConfig.cmake
  ls /usr/lib/*/libquarn.so* /usr/lib/*/pkgconfig/quarn.pc
'
echo "check-package: the packages install and run"
