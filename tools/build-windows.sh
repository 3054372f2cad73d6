#!/usr/bin/env bash
# Cross-builds the Windows deliverables and test programs with MinGW-w64:
# build/win64 (Loomkeys.dll, the demonstration and the test programs) and
# build/win32 (Stubwright.exe), then checks what the deliverables contain.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
. "$root/tools/quiet-step.sh"
quiet_step build/win64/configure.log cmake --no-warn-unused-cli -S . -B build/win64 \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
quiet_step build/win64/build.log cmake --build build/win64 -j"$jobs"
quiet_step build/win32/configure.log cmake --no-warn-unused-cli -S . -B build/win32 \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel
quiet_step build/win32/build.log cmake --build build/win32 -j"$jobs"
python3 "$root/tools/check-deliverables.py" build/win64/bin/Loomkeys.dll
python3 "$root/tools/check-stubwright.py" build/win32/bin/Stubwright.exe
