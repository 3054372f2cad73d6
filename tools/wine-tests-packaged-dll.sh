#!/usr/bin/env bash
# Runs the Windows test programs under Wine again with the release package's
# Loomkeys.dll in place of the test build's: users ship that file (stripped,
# and its heap lays out differently). Needs tools/package.sh to have run;
# arguments go to ctest, e.g. -R wine_ui_data_test. The test build's DLL is put
# back afterwards; while the packaged one stands in, it is dated 1970, so
# that a build started after an interrupted run links the test build's again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

name=$(cat build/win64/package/name.txt)
packaged=build/package/stage/$name/bin/Loomkeys.dll
bin=build/win64/bin
kept=$bin/Loomkeys.test-build.dll
[ -f "$packaged" ] || { echo "no packaged DLL at $packaged: run tools/package.sh first" >&2; exit 1; }

. "$root/tools/wine-env.sh"
own_session=false
if [ ! -f "$WINE_SESSION_FILE" ]; then own_session=true; fi
finish() {
  mv -f "$kept" "$bin/Loomkeys.dll"
  if $own_session; then wine_down; fi
}
cp -p "$bin/Loomkeys.dll" "$kept"
trap finish EXIT
cp "$packaged" "$bin/Loomkeys.dll"
touch -d @0 "$bin/Loomkeys.dll"
wine_up
echo "-- with the packaged Loomkeys.dll ($(sha256sum "$packaged" | cut -c1-16)...)"
ctest --test-dir build/win64 --output-on-failure "$@"
