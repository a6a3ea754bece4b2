#!/bin/sh
# Installs libquarn and its development files into a scratch prefix and the Python package with pip
# beside it, then imports the package from outside the source tree: it must
# find the installed library through pkg-config alone. Skipped (77) without
# pip.
# usage: python_installed_test.sh BUILD_TREE SOURCE_TREE PYTHON
set -eu
build=$1
source=$2
python=$3
"$python" -m pip --version >/dev/null 2>&1 || exit 77
prefix=$build/python-install
rm -rf "$prefix"
for component in libquarn libquarn-dev; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done
# pip builds inside the folder it installs from: a copy keeps the sources clean.
cp -r "$source/python" "$prefix/package"
"$python" -m pip install --quiet --no-build-isolation --no-index --target "$prefix/site" \
  "$prefix/package" 2>/dev/null
pc=$(find "$prefix" -name quarn.pc)
cd "$prefix"
env -u QUARN_LIBRARY PYTHONPATH="$prefix/site" PKG_CONFIG_PATH="$(dirname "$pc")" "$python" -c '
import quarn
assert quarn.__file__.startswith("'"$prefix/site"'"), quarn.__file__
assert quarn.library_version() == quarn.__version__
rooms = quarn.generate("(0,0)(0,15)(15,15)(15,0)*")[0].storeys[0].rooms
assert sum(room.area for room in rooms) == 225
print("installed package", quarn.__version__, "found its library")
'
