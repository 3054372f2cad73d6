#!/usr/bin/env bash
# Builds the release package for add-in authors,
# build/package/Loomkeys-<version>-win64.zip: the stripped DLL with its
# symbols split off, Stubwright.exe, the header, import libraries for
# MinGW-w64 and the Microsoft linker, the CMake package, the VBA module, a
# README.txt and SHA256SUMS. The same commit gives the same bytes in any
# folder; every time in the package is the commit's (SOURCE_DATE_EPOCH, taken
# from git unless set). Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/tools/setup.sh"

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  if ! SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null); then
    echo "package: not a git checkout; set SOURCE_DATE_EPOCH to the commit's time" >&2
    exit 1
  fi
fi
# objcopy writes it into the PE header of the files it makes.
export SOURCE_DATE_EPOCH

"$root/tools/build-windows.sh" --deliverables

name=$(cat build/win64/package/name.txt)
stage=build/package/stage/$name
rm -rf build/package
cmake --install build/win64 --prefix "$stage" >/dev/null
cmake --install build/win32 --prefix "$stage" >/dev/null

# The shipped DLL keeps only a link to its symbols: the file's name and checksum.
mkdir -p "$stage/debug"
x86_64-w64-mingw32-objcopy --only-keep-debug "$stage/bin/Loomkeys.dll" "$stage/debug/Loomkeys.dll.debug"
x86_64-w64-mingw32-objcopy --strip-all --add-gnu-debuglink="$stage/debug/Loomkeys.dll.debug" "$stage/bin/Loomkeys.dll"

(cd "$stage" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs sha256sum) >build/package/SHA256SUMS
mv build/package/SHA256SUMS "$stage/SHA256SUMS"

zip=build/package/$name.zip
python3 "$root/tools/make-package-zip.py" "$stage" "$zip"
echo "package: $zip"
sha256sum "$zip"
