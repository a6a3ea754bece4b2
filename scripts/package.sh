#!/usr/bin/env bash
# Usage: package.sh BUILD_DIR
# Builds the Debian packages in BUILD_DIR (quarn, libquarn0, libquarn-dev;
# Release, Debian's hardening flags, timestamps from the last commit) and
# checks them with lintian, failing on errors. Prints the packages' paths
# last, one a line.
set -euo pipefail
build=$1
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# One date for every timestamp in the package: the last commit's, so that
# two builds of one commit agree.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)
fi
export SOURCE_DATE_EPOCH

# Debian's flags for packages: optimisation, stack protection, fortified
# calls, read-only relocations and immediate binding.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
# Configured for /usr, the package's prefix, so that files that name their
# folders (pkg-config, CMake package files) name the installed ones.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUARN_TESTS=OFF >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
packages=()
for name in quarn libquarn0 libquarn-dev; do
  packages+=("$(ls "$build/${name}"_*.deb)")
done

for package in "${packages[@]}"; do
  echo "package: lintian $(basename "$package")"
  # (lintian's note that it runs as root is left out.)
  lintian --fail-on error --info "$package" 2>&1 | sed '/root privileges/d; s/^/  /'
done
for package in "${packages[@]}"; do
  echo "package: $package"
done
