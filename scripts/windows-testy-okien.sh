#!/usr/bin/env bash
# Runs the window program's tests, cross-built for Windows, under wine on
# Windows' own platform (Qt's offscreen platform finds no fonts there).
# Called by scripts/test-windows.sh on its virtual screen, with wine's
# prefix and paths already in the environment.
#   scripts/windows-testy-okien.sh BUILD_DIR WINE
set -uo pipefail
build=$1
wine=$2

status=0
count=0
for exe in "$build"/tests/ui/test_*.exe; do
  name=$(basename "$exe" .exe)
  out=$build/tests/ui/$name.wynik.txt
  rm -f "$out"
  # The test's own output reaches a file only; wine's pipes lose it.
  "$wine" "$exe" -platform windows -o "$(printf 'Z:%s' "$out" | tr / '\\'),txt" >/dev/null 2>&1
  totals=$(tr -d '\r' <"$out" 2>/dev/null | grep '^Totals:')
  echo "windows window tests: $name: ${totals:-no result}"
  case "$totals" in
    *" 0 failed"*) count=$((count + 1)) ;;
    *)
      tr -d '\r' <"$out" 2>/dev/null | grep -A3 '^FAIL'
      status=1
      ;;
  esac
done
[ "$count" -gt 0 ] || { echo "windows window tests: none ran"; status=1; }
exit $status
