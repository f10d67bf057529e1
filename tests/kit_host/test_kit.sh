#!/usr/bin/env bash
# Installs the kit with `cmake --install`, checks what it holds, builds the
# host project beside this script against it with the same MinGW toolchain,
# and runs that host under Wine.
# Usage: test_kit.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
work=$build/tests/kit
rm -rf "$work"

cmake --install "$build" --prefix "$work/kit" >/dev/null
expected="bin/pavrik.dll
bin/quarvo.dll
include/quarvo_pavrik.h
lib/cmake/quarvo_pavrik/quarvo_pavrikConfig.cmake
lib/cmake/quarvo_pavrik/quarvo_pavrikConfigVersion.cmake
lib/libpavrik.a
lib/libquarvo.a"
actual=$(cd "$work/kit" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  echo "The kit holds:"; echo "$actual"; echo "expected:"; echo "$expected"
  exit 1
fi

cmake -S "$source/tests/kit_host" -B "$work/host" --toolchain "$source/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$work/kit" >/dev/null
cmake --build "$work/host"
wine "$work/host/kit_host.exe"
