#!/usr/bin/env bash
# Uses the release package that tools/package.sh wrote as an add-in author
# would: checks and unpacks the zip beside itself, then builds the author's
# project tests/package through find_package(Loomkeys CONFIG REQUIRED) twice,
# with MinGW-w64 and in Microsoft mode (clang-14 for x86_64-pc-windows-msvc,
# freestanding, no Windows SDK, linked by lld-link-14 against
# lib/Loomkeys.lib), and runs both under Wine with the packaged DLL.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

name=$(cat build/win64/package/name.txt)
package=$root/build/package/$name
rm -rf "$package" build/package/consumer-*
python3 "$root/tools/check-package.py" "build/package/$name.zip"

. "$root/tools/wine-env.sh"
if [ ! -f "$WINE_SESSION_FILE" ]; then trap wine_down EXIT; fi
wine_up

# Configures tests/package in build/package/consumer-MODE with the given
# toolchain, requires the import library IMPORT_LIBRARY, builds it and runs
# it under Wine with the DLL that its build copied beside it.
consumer() {
  local mode=$1 import_library=$2 binary=build/package/consumer-$1
  shift 2
  cmake -S tests/package -B "$binary" -DCMAKE_PREFIX_PATH="$package" "$@" >"$binary.log" || { cat "$binary.log"; return 1; }
  grep "Found Loomkeys" "$binary.log"
  if ! grep -q "import library $package/lib/$import_library\$" "$binary.log"; then
    echo "FAILED: the $mode build does not link against lib/$import_library"
    return 1
  fi
  cmake --build "$binary" >/dev/null
  "$root/tools/wine-run.sh" "$binary/package_consumer.exe"
}

echo "-- MinGW-w64 consumer through find_package(Loomkeys CONFIG REQUIRED)"
consumer mingw libLoomkeys.dll.a -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"

echo "-- the same consumer in Microsoft mode: clang-14 for x86_64-pc-windows-msvc, freestanding, lld-link-14"
mkdir -p build/package/consumer-msvc
llvm-dlltool-14 -m i386:x86-64 -d tests/package/kernel32.def -l build/package/consumer-msvc/kernel32.lib
consumer msvc Loomkeys.lib -DCMAKE_TOOLCHAIN_FILE="$root/tests/package/clang-msvc-x86_64.cmake" \
  -DCMAKE_C_STANDARD_LIBRARIES="$root/build/package/consumer-msvc/kernel32.lib"
