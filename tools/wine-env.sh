# Sourced by the build and test scripts. Provides wine_up and wine_down:
# one Xvfb display, one persistent wineserver and one Wine prefix (with a
# virtual desktop, real fonts and a real Desktop folder) shared by every
# Windows test program of a run.

LOOMKEYS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$LOOMKEYS_ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
# Keep wineboot from offering to install Mono and Gecko, and let a crashing
# test program end at once instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
WINE_SESSION_FILE=$WINEPREFIX.session
# The size of the X display and of Wine's virtual desktop on it.
LOOMKEYS_DESKTOP_SIZE=${LOOMKEYS_DESKTOP_SIZE:-1024x768}

_wine_quiet() { "$@" </dev/null >/dev/null 2>&1; }

_wine_prepare_prefix() {
  # The first wine command starts Wine's background services; they inherit its
  # stdio and keep it open for ever, so every set-up call runs on /dev/null.
  _wine_quiet "$WINE64" wineboot -i
  _wine_quiet "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
  _wine_quiet "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$LOOMKEYS_DESKTOP_SIZE" /f
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  local desktop="$WINEPREFIX/drive_c/users/$(id -un)/Desktop"
  if [ -L "$desktop" ]; then rm "$desktop"; fi
  mkdir -p "$desktop"
  touch "$WINEPREFIX/.loomkeys-ready"
}

# Restarts the wineserver, e.g. after a change of the screen's DPI.
wine_restart_server() {
  _wine_quiet "$WINESERVER" -k || true
  _wine_quiet "$WINESERVER" -w || true
  "$WINESERVER" -p
  _wine_quiet "$WINE64" cmd /c exit
  (setsid "$WINE64" explorer.exe /desktop=Default,"$LOOMKEYS_DESKTOP_SIZE" </dev/null >/dev/null 2>&1 &)
}

wine_up() {
  if [ -f "$WINE_SESSION_FILE" ]; then
    # shellcheck disable=SC1090
    . "$WINE_SESSION_FILE"
    if kill -0 "$LOOMKEYS_XVFB_PID" 2>/dev/null; then export DISPLAY; return 0; fi
  fi
  mkdir -p "$WINEPREFIX"
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${LOOMKEYS_DESKTOP_SIZE}x24" -nolisten tcp </dev/null >/dev/null 2>&1 &
  LOOMKEYS_XVFB_PID=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
  printf 'LOOMKEYS_XVFB_PID=%s\nDISPLAY=%s\n' "$LOOMKEYS_XVFB_PID" "$DISPLAY" >"$WINE_SESSION_FILE"
  # A persistent server must run before wineboot, or wineboot's own one wins.
  "$WINESERVER" -p
  [ -f "$WINEPREFIX/.loomkeys-ready" ] || _wine_prepare_prefix
  wine_restart_server
}

wine_down() {
  [ -f "$WINE_SESSION_FILE" ] || return 0
  # shellcheck disable=SC1090
  . "$WINE_SESSION_FILE"
  _wine_quiet "$WINESERVER" -k || true
  kill "$LOOMKEYS_XVFB_PID" 2>/dev/null || true
  rm -f "$WINE_SESSION_FILE"
}
