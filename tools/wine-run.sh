#!/usr/bin/env bash
# Runs one Windows program under Wine (CTest's emulator for the cross build).
# The Wine session must be up (tools/wine-env.sh: wine_up). Output goes to a
# file first: a pipe handed to Wine could be held open by its services.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_up
out=$(mktemp)
timeout --kill-after=5 "${LOOMKEYS_WINE_TIMEOUT:-120}" "$WINE64" "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
