#!/usr/bin/env bash
# The main job: builds the Windows deliverables and runs the demonstration
# under Wine on a virtual display. Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/setup.sh"
"$root/tools/build-windows.sh"
. "$root/tools/wine-env.sh"
trap wine_down EXIT
wine_up
"$root/tools/wine-run.sh" build/win64/bin/loomkeys_demo.exe
echo "Deliverables: build/win64/bin/Loomkeys.dll$( [ -f build/win32/bin/Stubwright.exe ] && echo ', build/win32/bin/Stubwright.exe')"
