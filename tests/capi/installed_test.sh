#!/bin/sh
# Installs libquarn and libquarn-dev into a scratch prefix, builds the C test
# against it with pkg-config as C99, runs it, and finds the package with
# find_package; then builds and runs the test once more against the build
# tree's own pkg-config file.
# usage: installed_test.sh BUILD_TREE C_COMPILER TEST_SOURCE [FLAGS...]
set -eu
build=$1
cc=$2
source=$3
shift 3
prefix=$build/capi-install
rm -rf "$prefix"
for component in libquarn libquarn-dev; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done
pc=$(find "$prefix" -name quarn.pc)
libdir=$(dirname "$(dirname "$pc")")
readelf -d "$libdir/libquarn.so.0" | grep -q 'SONAME.*\[libquarn\.so\.0\]'
export PKG_CONFIG_PATH="$(dirname "$pc")"
"$cc" -std=c99 -pedantic-errors -Wall -Wextra -Werror $(pkg-config --cflags quarn) "$source" \
  -o "$prefix/quarn_capi_test" $(pkg-config --libs quarn) "$@"
mkdir -p "$prefix/scratch"
LD_LIBRARY_PATH="$libdir" "$prefix/quarn_capi_test" "$prefix/scratch"
mkdir -p "$prefix/user"
cat >"$prefix/user/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(user LANGUAGES C)
find_package(quarn REQUIRED)
get_target_property(location quarn::quarn LOCATION)
message(STATUS "quarn at ${location}")
CMAKE
cmake -S "$prefix/user" -B "$prefix/user/build" -DCMAKE_PREFIX_PATH="$prefix" | grep 'quarn at'
# The build tree's pkg-config file names folders that exist and work.
export PKG_CONFIG_PATH="$build/src/capi"
for variable in includedir libdir; do
  test -d "$(pkg-config --variable=$variable quarn)"
done
"$cc" -std=c99 -pedantic-errors -Wall -Wextra -Werror $(pkg-config --cflags quarn) "$source" \
  -o "$prefix/quarn_capi_test_build_tree" $(pkg-config --libs quarn) "$@"
mkdir -p "$prefix/scratch-build-tree"
LD_LIBRARY_PATH="$(pkg-config --variable=libdir quarn)" "$prefix/quarn_capi_test_build_tree" \
  "$prefix/scratch-build-tree"
