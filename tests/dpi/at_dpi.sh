#!/bin/sh
# at_dpi.sh DPI PROGRAM ARGS...: runs the Windows PROGRAM under Wine with the
# screen at DPI (the LogPixels of the prefix), then puts the old value back.
dpi=$1
shift
key='HKCU\Control Panel\Desktop'
old=$(wine reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' | awk '$1 == "LogPixels" { print $3 }')
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine "$@"
status=$?
if [ -n "$old" ]; then
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$(printf '%d' "$old")" /f >/dev/null 2>&1
else
  wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
fi
exit $status
