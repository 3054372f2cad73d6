#!/usr/bin/env bash
# The main job: builds the Windows deliverables and runs the PowerPoint
# stand-in's scripted tour under Wine on a virtual display. The tour prints
# a transcript of every step and saves screenshots to build/demo-output/.
# Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/setup.sh"
"$root/tools/build-windows.sh"
. "$root/tools/wine-env.sh"
trap wine_down EXIT
wine_up

out="$root/build/demo-output"
rm -rf "$out"
mkdir -p "$out"
# Wine's drive Z: is the Linux root.
status=0
LOOMKEYS_WINE_TIMEOUT=60 "$root/tools/wine-run.sh" build/win64/bin/loomkeys_demo.exe --tour \
  --out "Z:$(printf '%s' "$out" | tr / '\\')" || status=$?
for bmp in "$out"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo
echo "Screenshots in build/demo-output/: $(cd "$out" && ls -- *.png 2>/dev/null | tr '\n' ' ')"
echo "Saved shortcuts (blob text): build/demo-output/LoomkeysDemo.keys"
echo "Deliverables: build/win64/bin/Loomkeys.dll$( [ -f build/win32/bin/Stubwright.exe ] && echo ', build/win32/bin/Stubwright.exe')"
exit $status
