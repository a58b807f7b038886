#!/usr/bin/env bash
# Runs a Windows program under Wine with a quiet prefix inside the build tree.
# WINEPREFIX may be set by the caller; otherwise the prefix lies beside the program.
set -u
exe="$1"; shift
: "${WINEPREFIX:=$(cd "$(dirname "$exe")" && pwd)/wineprefix}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -d "$WINEPREFIX" ]; then
  timeout 300 wineboot -i >/dev/null 2>&1
  timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  timeout 60 wineserver -w
fi
exec timeout "${ZORVIK_WINE_TIMEOUT:-600}" wine "$exe" "$@"
