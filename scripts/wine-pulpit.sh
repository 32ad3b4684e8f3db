#!/usr/bin/env bash
# Puts every program of the wine prefix in $WINEPREFIX on wine's own
# desktop with a taskbar (as a Windows user sees it: title bars and frames
# drawn by the system, a work area less the taskbar), or takes it off again.
#   scripts/wine-pulpit.sh on WIDTHxHEIGHT | off
# Takes effect for programs started after the prefix's server restarts.
set -euo pipefail
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64)
: "${WINEPREFIX:?}"
case ${1:-} in
  on)
    # A desktop named "shell" has the taskbar and the Start button.
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d shell /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /t REG_SZ /d "$2" /f \
      >/dev/null 2>&1
    # The caption buttons' symbols and the system's dialog face: without
    # them in the prefix, title bars show letters and message boxes a serif.
    fonts=$WINEPREFIX/drive_c/windows/Fonts
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$fonts/" 2>/dev/null ||
      true
    ;;
  off)
    "$wine" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
    ;;
  *) echo "usage: $0 on WIDTHxHEIGHT | off" >&2; exit 2 ;;
esac
