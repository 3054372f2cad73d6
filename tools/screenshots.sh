#!/usr/bin/env bash
# Regenerates the README's pictures of the dialogs in docs/screenshots/: the
# Customize Shortcuts dialog at 96 and at 144 DPI, opened at 96 DPI and then
# moved to a monitor at 144 DPI, and with a key that two commands hold; and
# the About box at 96 DPI; each shown by the real Loomkeys.dll under Wine on a
# virtual X display.
# Each DPI has a Wine prefix of its own, so the test prefix stays at 96.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/build-windows.sh"
out="$root/docs/screenshots"
work="$root/build/screenshots"
mkdir -p "$out" "$work"

# shoot DPI DIALOG NAME: one picture, in a prefix whose screen has that DPI.
shoot() {
  local dpi=$1 dialog=$2 name=$3
  (
    export WINEPREFIX="$root/build/wineprefix-screenshots-$dpi"
    export LOOMKEYS_DESKTOP_SIZE=1280x1024  # room for the larger dialog at 144 DPI
    . "$root/tools/wine-env.sh"
    trap wine_down EXIT
    wine_up
    "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
    wine_restart_server  # the server reads the DPI when it starts
    cd "$work"
    timeout 60 "$WINE64" "$root/build/win64/bin/screenshot_driver.exe" "$dialog" "$name.bmp" </dev/null >"$name.log" 2>&1 ||
      { cat "$name.log"; exit 1; }
    convert "$name.bmp" "$out/$name.png"
    echo "docs/screenshots/$name.png"
  )
}

shoot 96 customize customize-shortcuts-96dpi
shoot 144 customize customize-shortcuts-144dpi
shoot 96 customize-moved-to-144dpi customize-shortcuts-moved-to-144dpi
shoot 96 customize-key-held-twice customize-shortcuts-key-held-twice
shoot 96 about about-96dpi
