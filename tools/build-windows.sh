#!/usr/bin/env bash
# Cross-builds the Windows deliverables and test programs with MinGW-w64:
# build/win64 (Loomkeys.dll, the demonstration and the test programs) and
# build/win32 (Stubwright.exe), then checks what the deliverables contain.
# With --deliverables it builds only Loomkeys.dll (with its Microsoft import
# library) and Stubwright.exe, as the release package needs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
win64_targets=() win32_targets=()
if [ "${1:-}" = --deliverables ]; then
  win64_targets=(--target Loomkeys loomkeys_msvc_import_library)
  win32_targets=(--target Stubwright)
fi
. "$root/tools/quiet-step.sh"
quiet_step build/win64/configure.log cmake --no-warn-unused-cli -S . -B build/win64 \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
quiet_step build/win64/build.log cmake --build build/win64 -j"$jobs" "${win64_targets[@]}"
quiet_step build/win32/configure.log cmake --no-warn-unused-cli -S . -B build/win32 \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel
quiet_step build/win32/build.log cmake --build build/win32 -j"$jobs" "${win32_targets[@]}"
python3 "$root/tools/check-deliverables.py" build/win64/bin/Loomkeys.dll
python3 "$root/tools/check-stubwright.py" build/win32/bin/Stubwright.exe
