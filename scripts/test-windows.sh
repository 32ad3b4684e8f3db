#!/usr/bin/env bash
# Cross-builds the core, the command-line checker and their tests for 64-bit
# Windows and runs them under wine, in a wine prefix of their own. Then
# checks that the Windows checker prints, exits and writes byte for byte as
# the Linux one does on the example (when the Linux build is given).
#   scripts/test-windows.sh [LINUX_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
linux_build=${1:+$(realpath "$1")}

scripts/windows-deps.sh test

build=$repo/build/windows
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wine" ] || wine=$(command -v wine64)
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

export WINEPREFIX=$build/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko install dialogs: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

seconds() { date +%s%N; }
took() {
  local ms=$((($(seconds) - $2) / 1000000))
  printf '%s: %d.%01d s\n' "$1" $((ms / 1000)) $((ms % 1000 / 100))
}

t=$(seconds)
cmake --preset windows-test -B "$build" >/dev/null
cmake --build "$build" -j2
took "windows: cross build" "$t"

# A wineserver that stays up for the whole run: without it every test
# program boots wine anew (seconds each) and output through pipes can hang.
t=$(seconds)
mkdir -p "$WINEPREFIX"
"$wineserver" -p
stop_server() { WINEPREFIX=$WINEPREFIX "$wineserver" -k 2>/dev/null || true; }
trap stop_server EXIT
"$wine" wineboot -i >/dev/null 2>&1
"$wine" cmd /c exit >/dev/null 2>&1
took "windows: wine prefix" "$t"

# A disk of 256 KiB for the full-disk test, where the system lets us mount
# one (as root); without it that test says it was skipped.
full=$build/pelny-dysk
mkdir -p "$full"
mountpoint -q "$full" && umount "$full"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256k tmpfs "$full" 2>/dev/null; then
  export WERYFIKACJA_PELNY_DYSK=$full
  trap 'stop_server; umount "$full" 2>/dev/null || true' EXIT
fi

t=$(seconds)
ctest --test-dir "$build" --output-on-failure -j2
took "windows: tests under wine" "$t"

if [ -n "$linux_build" ]; then
  t=$(seconds)
  exe=$build/cli/weryfikuj-plik.exe
  elf=$linux_build/cli/weryfikuj-plik
  cmake --build "$linux_build" --target weryfikuj-plik >/dev/null
  work=$(mktemp -d)
  cp examples/*.txt "$work/"
  cd "$work"
  status=0
  for args in "przelewy.txt" "--fix przelewy.txt" "--quiet przelewy.txt brak.txt"; do
    # shellcheck disable=SC2086
    set +e
    "$elf" $args >linux.out 2>linux.err
    linux_status=$?
    [ -f przelewy_nowy.txt ] && mv przelewy_nowy.txt linux_nowy.txt
    # shellcheck disable=SC2086
    "$wine" "$exe" $args >windows.out 2>windows.err
    windows_status=$?
    [ -f przelewy_nowy.txt ] && mv przelewy_nowy.txt windows_nowy.txt
    set -e
    # The corrected file's path is named in the output: Linux and Windows
    # spell it differently, and only that may differ.
    sed -i "s|zapisano .*|zapisano X|" linux.out windows.out
    if [ "$linux_status" != "$windows_status" ] || ! cmp -s linux.out windows.out ||
      ! cmp -s linux.err windows.err ||
      { [ -f linux_nowy.txt ] && ! cmp -s linux_nowy.txt windows_nowy.txt; }; then
      echo "weryfikuj-plik $args: Windows differs from Linux (status $windows_status vs $linux_status)"
      diff linux.out windows.out || true
      diff linux.err windows.err || true
      status=1
    fi
    rm -f linux_nowy.txt windows_nowy.txt
  done
  cd "$repo"
  rm -rf "$work"
  [ "$status" = 0 ] || exit 1
  took "windows: example against Linux" "$t"
fi
