#!/usr/bin/env bash
# Cross-builds both programs and their tests for 64-bit Windows (Qt for
# Windows built first when the cache lacks it) and runs them under wine, in
# wine prefixes of their own:
#   - the core's, the checker's and the window program's tests;
#   - the checker against the Linux one on the example (when the Linux build
#     is given; it is also the installed checker's reference);
#   - the report printed through a private print server's PDF queue;
#   - the windows at 96 and 144 dpi on a desktop with a taskbar: the
#     13-pixel rule, inside the work area as the system draws them, the
#     findings list's columns;
#   - the zip and both installers, signed with a throw-away certificate and
#     verified; the MSI and the installer for users under wine: silent
#     install, shortcut, entry, the installed programs, upgrade, removal,
#     the user installer's pages walked (with the Linux build).
# Each stage prints its time.
#   scripts/test-windows.sh [LINUX_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
linux_build=${1:+$(realpath "$1")}

scripts/windows-deps.sh package

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
qt=$(scripts/windows-qt.sh | tail -n 1)
took "windows: Qt for Windows (built or found in the cache)" "$t"

t=$(seconds)
cmake --preset windows-test -B "$build" -DCMAKE_FIND_ROOT_PATH="$qt" >/dev/null
cmake --build "$build" -j2
took "windows: cross build" "$t"

# The test programs find Qt's and the compiler's DLLs through WINEPATH (a
# variable wine passes on); Qt finds its plugins beside its own DLLs.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="$(winpath "$qt/bin");$(winpath "$gcc_dir");$(winpath /usr/x86_64-w64-mingw32/lib)"

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

# The rest runs the window program on Windows' own platform, on a virtual
# screen: a wine server started there.
stop_server
"$wineserver" -w
cat >"$build/na-ekranie.sh" <<EOF
"$wineserver" -p
"$wine" cmd /c exit >/dev/null 2>&1
"\$@"
s=\$?
"$wineserver" -k 2>/dev/null
exit \$s
EOF
on_screen() {
  xvfb-run -a -s "-screen 0 1600x1000x24" bash "$build/na-ekranie.sh" "$@"
  "$wineserver" -w
}

# ---- Printing: the report window's print command through the private print
# server's PDF queue, which wine's printing reaches (CUPS_SERVER passes).
t=$(seconds)
cups=/tmp/weryfikacja-cups-win-$$
scripts/cups-for-tests.sh start "$cups" >/dev/null
export CUPS_SERVER=$cups/cups.sock
trap 'stop_server; scripts/cups-for-tests.sh stop "$cups" >/dev/null 2>&1 || true; umount "$full" 2>/dev/null || true' EXIT
touch "$build/druk-start"
on_screen "$wine" "$build/tests/ui/druk_w_kolejce.exe" -platform windows
for _ in $(seq 1 300); do
  pdf=$(find "$HOME/PDF" /root/PDF /var/spool/cups-pdf/ANONYMOUS -maxdepth 1 -name 'Plik_LOG*.pdf' \
    -newer "$build/druk-start" 2>/dev/null | head -n 1)
  [ -n "$pdf" ] && [ -z "$(lpstat -o 2>/dev/null)" ] && break
  sleep 0.2
done
# cups-pdf names its output by the job's title: "Plik LOG".
[ -n "${pdf:-}" ] || { echo "windows print: no PDF of a job titled \"Plik LOG\""; exit 1; }
# wine's printer driver draws the text as outlines, not as text a PDF tool
# reads: the 400 report lines are checked as A4 pages, and the first page
# as lines of writing (light) rather than missing-glyph boxes (dark).
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
size=$(pdfinfo "$pdf" | sed -n 's/^Page size: *//p')
pdftoppm -r 50 -f 1 -l 1 -png "$pdf" "$build/druk"
ink=$(convert "$build/druk-1.png" -colorspace gray -format '%[fx:mean]' info:)
echo "windows print: $pages pages, $size, first page brightness $ink"
[ "$pages" -ge 3 ] && [[ $size == *A4* ]] && awk "BEGIN{exit !($ink > 0.95 && $ink < 0.999)}" ||
  { echo "windows print: the PDF is not the report"; exit 1; }
scripts/cups-for-tests.sh stop "$cups" >/dev/null
took "windows: print through the PDF queue" "$t"

# ---- The window program's tests under wine, on the virtual screen.
t=$(seconds)
on_screen bash "$repo/scripts/windows-testy-okien.sh" "$build" "$wine" ||
  { echo "windows: a window test failed under wine"; exit 1; }
took "windows: window program's tests under wine" "$t"

# ---- The windows at 96 and 144 dpi (100 % and 150 %) on a 1600 x 1000
# desktop with a taskbar, as a user has it (wine's own desktop, not bare
# X windows): frames as the system draws them.
t=$(seconds)
scripts/wine-pulpit.sh on 1600x1000
for dpi in 96 144; do
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w
  rm -rf "$build/okna-$dpi"
  mkdir -p "$build/okna-$dpi"
  on_screen "$wine" "$build/tests/win/okna_na_ekranie.exe" "$(winpath "$build/okna-$dpi")" \
    >/dev/null 2>&1 || true
  [ -f "$build/okna-$dpi/wynik.txt" ] || { echo "windows $dpi dpi: the windows were not measured"; exit 1; }
  sed "s/^/windows $dpi dpi: /" "$build/okna-$dpi/wynik.txt"
  for w in "main window" "report window" "findings window" "findings columns"; do
    grep -q "^$w: .*: ok$" "$build/okna-$dpi/wynik.txt" ||
      { echo "windows $dpi dpi: $w breaks the 13-pixel rule, leaves the work area or cuts its text"; exit 1; }
  done
done
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
scripts/wine-pulpit.sh off
took "windows: the windows at 96 and 144 dpi on a desktop with a taskbar" "$t"

# ---- The zip and both installers, from this build, signed with a
# throw-away self-signed certificate as a release is with the real one;
# every signature verified. A self-signed certificate chains to nothing
# Windows trusts: it is verified as its own trusted root (-CAfile).
if [ -n "$linux_build" ]; then
  t=$(seconds)
  podpis=$build/podpis
  rm -rf "$podpis"
  mkdir -p "$podpis"
  WERYFIKACJA_PODPIS_HASLO=$(openssl rand -hex 16)
  export WERYFIKACJA_PODPIS_HASLO
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$podpis/klucz.pem" -out "$podpis/cert.pem" \
    -days 2 -subj "/CN=Tarmeko (test)" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
  openssl pkcs12 -export -inkey "$podpis/klucz.pem" -in "$podpis/cert.pem" \
    -out "$podpis/cert.pfx" -passout env:WERYFIKACJA_PODPIS_HASLO
  export WERYFIKACJA_PODPIS_PFX=$podpis/cert.pfx WERYFIKACJA_PODPIS_CA=$podpis/cert.pem
  scripts/windows-package.sh --build "$build" --no-smoke | grep '^package: .*\(KiB\|signed\)'
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  prefix=$repo/build/Tarmeko_weryfikacja_pliku-$version-win64
  mkdir -p "$podpis/zip"
  unzip -q -o -d "$podpis/zip" "$prefix.zip" '*.exe'
  count=0
  for f in "$build"/stage/*/*.exe "$podpis"/zip/*/*.exe "$prefix.msi" "$prefix-instalator.exe"; do
    osslsigncode verify -CAfile "$podpis/cert.pem" -in "$f" >"$podpis/verify.log" 2>&1 ||
      { cat "$podpis/verify.log"; echo "windows signatures: $f does not verify"; exit 1; }
    count=$((count + 1))
  done
  [ "$count" = 6 ] || { echo "windows signatures: $count files, not 6"; exit 1; }
  echo "windows signatures: both programs (staged and in the zip), the MSI and the installer for users verified (osslsigncode verify, the test certificate as the trusted root)"
  took "windows: zip and installers, signed" "$t"
  t=$(seconds)
  scripts/test-windows-instalator.sh "$build" "$linux_build/cli/weryfikuj-plik"
  took "windows: installers under wine" "$t"
fi
