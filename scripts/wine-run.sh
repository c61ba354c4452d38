#!/usr/bin/env bash
# Runs a Windows program under wine64: the emulator of the windows-x64 preset's tests.
# One prefix per checkout (build/wineprefix), created on first use; scripts/test.sh also keeps
# a persistent wineserver for the run so each start costs ~0.1 s instead of seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${VELMORA_WINEPREFIX:-$here/../build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  [ -f "$WINEPREFIX/system.reg" ] || { "$wine" wineboot -i >/dev/null 2>&1; wineserver -w; }
  flock -u 9
fi
exec "$wine" "$@"
