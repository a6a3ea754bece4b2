#!/usr/bin/env bash
# Usage: check-reproducible.sh DIR_A DIR_B
# Builds the package twice, in two folders, and compares the executables,
# the shared objects and the packages byte for byte. Prints one line per
# file and fails on the first difference it reports.
set -euo pipefail
a=$1
b=$2
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Both builds compile everything themselves: a compiler cache would hand the
# second build the first one's objects.
export CCACHE_DISABLE=1
# One date for both, even if a commit lands in between.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}
export SOURCE_DATE_EPOCH
rm -rf "$a" "$b"
for dir in "$a" "$b"; do
  echo "reproducible: building in $dir"
  bash "$root/scripts/package.sh" "$dir" >"$dir.log" 2>&1 || { tail -n 30 "$dir.log" >&2; exit 1; }
done

status=0
compare() {
  if cmp -s "$a/$1" "$b/$1"; then
    echo "reproducible: same     $1 ($(stat -c %s "$a/$1") bytes)"
  else
    echo "reproducible: DIFFERS  $1"
    status=1
  fi
}
while read -r file; do
  compare "$file"
done < <(cd "$a" && find . -path ./_CPack_Packages -prune -o -type f \
           \( -name 'quarn*' -perm -u+x -o -name '*.so' -o -name '*.so.*' -o -name '*.deb' \) \
           -print | sed 's|^\./||' | sort)
exit $status
