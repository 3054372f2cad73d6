#!/usr/bin/env bash
# Uses the release package that tools/package.sh wrote as an add-in author
# would: checks and unpacks the zip beside itself, builds tests/package with
# MinGW-w64 through find_package(Loomkeys CONFIG REQUIRED), then the same C
# file in Microsoft mode (clang-14 for x86_64-pc-windows-msvc, freestanding,
# no Windows SDK, linked by lld-link against lib/Loomkeys.lib), and runs both
# under Wine with the packaged DLL beside them.
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

echo "-- MinGW-w64 consumer, configured through find_package(Loomkeys CONFIG REQUIRED)"
mingw=build/package/consumer-mingw
cmake -S tests/package -B "$mingw" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_PREFIX_PATH="$package" | grep "Found Loomkeys"
cmake --build "$mingw" >/dev/null
"$root/tools/wine-run.sh" "$mingw/package_consumer.exe"

echo "-- the same consumer in Microsoft mode, linked by lld-link against lib/Loomkeys.lib"
msvc=build/package/consumer-msvc
mkdir -p "$msvc"
llvm-dlltool-14 -m i386:x86-64 -d tests/package/kernel32.def -l "$msvc/kernel32.lib"
clang-14 --target=x86_64-pc-windows-msvc -ffreestanding -std=c11 -Wall -Wextra -Werror -pedantic -O2 \
  -I "$package/include" -c tests/package/consumer.c -o "$msvc/consumer.obj"
lld-link-14 /nologo /nodefaultlib /entry:ConsumerEntry /subsystem:console /out:"$msvc/package_consumer.exe" \
  "$msvc/consumer.obj" "$package/lib/Loomkeys.lib" "$msvc/kernel32.lib"
cp "$package/bin/Loomkeys.dll" "$msvc/"
"$root/tools/wine-run.sh" "$msvc/package_consumer.exe"
