#!/usr/bin/env bash
# Builds both programs for 64-bit Windows and packs them with what they load
# into Tarmeko_weryfikacja_pliku-VERSION-win64.zip, the MSI installer for
# administrators Tarmeko_weryfikacja_pliku-VERSION-win64.msi and the
# installer for users Tarmeko_weryfikacja_pliku-VERSION-win64-instalator.exe
# (all in build/), then smoke-tests the zip under wine: the window program
# shows its main window and closes, and the checker gives the Linux
# checker's output on the example.
#   scripts/windows-package.sh [--no-smoke] [--build CROSS_BUILD_DIR]
# With WERYFIKACJA_PODPIS_PFX and WERYFIKACJA_PODPIS_HASLO set (and
# optionally WERYFIKACJA_PODPIS_ZNACZNIK, a timestamp server), both programs,
# both installers and the uninstaller are signed (scripts/windows-podpisz.sh);
# without them all is built unsigned, and the script says so.
# Qt for Windows is built once (about half an hour of two cores) into a cache
# outside the repository; see scripts/windows-qt.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
smoke=1
configure=1
build=""
while [ $# -gt 0 ]; do
  case $1 in
    --no-smoke) smoke=0 ;;
    # An already built cross tree (scripts/test-windows.sh hands in its own).
    --build) build=$(realpath "$2"); configure=0; shift ;;
    *) echo "usage: $0 [--no-smoke] [--build DIR]" >&2; exit 2 ;;
  esac
  shift
done
WERYFIKACJA_ID=pl.tarmeko.weryfikacja_pliku

seconds() { date +%s%N; }
took() {
  local ms=$((($(seconds) - $2) / 1000000))
  printf '%s: %d.%01d s\n' "$1" $((ms / 1000)) $((ms % 1000 / 100))
}

if [ -z "$build" ]; then
  t=$(seconds)
  qt=$(scripts/windows-qt.sh | tail -n 1)
  took "package: Qt for Windows (built or found in the cache)" "$t"
fi

name=Tarmeko_weryfikacja_pliku
build=${build:-$repo/build/windows-package}
out=$repo/build

if [ "$configure" = 1 ]; then
  t=$(seconds)
  cmake --preset windows -B "$build" -DCMAKE_FIND_ROOT_PATH="$qt" >/dev/null
  cmake --build "$build" -j"${JOBS:-2}" --target "$name" weryfikuj-plik
  took "package: cross build" "$t"
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
publisher=$(sed -n 's/^WERYFIKACJA_WYDAWCA:STRING=//p' "$build/CMakeCache.txt")

# ---- The installed tree: the two programs, Qt's plugins and translation,
# and every DLL they import that is not Windows' own (packaging/Windows.cmake).
t=$(seconds)
stage=$build/stage/$name-$version-win64
rm -rf "$build/stage"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
# Signed after stripping, which would break a signature.
programs=("$stage/$name.exe" "$stage/weryfikuj-plik.exe")
[ -f "${programs[0]}" ] || programs=("${programs[1]}")
if scripts/windows-podpisz.sh --czy; then
  signed=1
  scripts/windows-podpisz.sh "${programs[@]}"
  echo "package: signed with $(basename "$WERYFIKACJA_PODPIS_PFX")${WERYFIKACJA_PODPIS_ZNACZNIK:+, timestamped by $WERYFIKACJA_PODPIS_ZNACZNIK}"
else
  signed=0
  echo "package: UNSIGNED (set WERYFIKACJA_PODPIS_PFX and WERYFIKACJA_PODPIS_HASLO to sign)"
fi
zip=$out/$name-$version-win64.zip
rm -f "$zip"
# The zip is CPack's, of the same install rules; its programs are then the
# signed ones.
(cd "$build" && cpack -G ZIP -B "$build/cpack" >/dev/null)
mv "$build/cpack/$(basename "$zip")" "$zip"
if [ "$signed" = 1 ]; then
  (cd "$build/stage" && for p in "${programs[@]}"; do
    zip -q "$zip" "$(basename "$stage")/$(basename "$p")"
  done)
fi
echo "package: $zip ($(du -k "$zip" | cut -f1) KiB)"
(cd "$build/stage" && find "$(basename "$stage")" -type f | sort | sed 's/^/  /')

# ---- The MSI of the same tree, for administrators.
msi=$out/$name-$version-win64.msi
scripts/windows-msi.sh "$stage" "$build/windows/$WERYFIKACJA_ID.ico" "$version" "$publisher" "$msi"
scripts/windows-podpisz.sh "$msi"
echo "package: $msi ($(du -k "$msi" | cut -f1) KiB)"

# ---- The installer for users, of the same tree.
nsis=$out/$name-$version-win64-instalator.exe
scripts/windows-nsis.sh "$stage" "$build/windows/$WERYFIKACJA_ID.ico" "$version" "$publisher" "$nsis"
echo "package: $nsis ($(du -k "$nsis" | cut -f1) KiB)"
took "package: zip and installers" "$t"

[ "$smoke" = 1 ] || exit 0

# ---- Smoke test, in a wine prefix of its own on a virtual display.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
smoke_dir=$build/smoke
# A server left by an interrupted run would outlive its prefix: stop it first.
[ -d "$smoke_dir/prefix" ] && { WINEPREFIX=$smoke_dir/prefix "$wineserver" -k 2>/dev/null || true; }
rm -rf "$smoke_dir"
mkdir -p "$smoke_dir/prefix"
(cd "$smoke_dir" && unzip -q "$zip")
stage=$build/stage/$name-$version-win64
app_dir=$smoke_dir/$(basename "$stage")
export WINEPREFIX=$smoke_dir/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

t=$(seconds)
"$wine" wineboot -i >/dev/null 2>&1
# Let the boot finish before anything else runs.
"$wineserver" -w
took "smoke: wine prefix" "$t"

t=$(seconds)
title="$name v.$version (alfa '2022)"
# Runs inside the virtual display: start the window program, wait for its
# main window by title, take a picture of the screen, close it politely.
cat >"$smoke_dir/okno.sh" <<EOF
set -u
# A server started here, on the virtual display: one started without a
# display keeps a desktop that can show no window.
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" cmd /c exit >/dev/null 2>&1
cd "$app_dir"
"$wine" ./$name.exe -platform windows >"$smoke_dir/app.log" 2>&1 &
app=\$!
found=0
for _ in \$(seq 1 360); do
  if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then found=1; break; fi
  sleep 0.5
done
[ \$found = 1 ] || { echo "smoke: no window titled '$title' within 3 minutes"; kill \$app; exit 1; }
echo "smoke: main window up after \$SECONDS s"
sleep 2
import -window root "$smoke_dir/okno.png"
"$wine" taskkill /im $name.exe >/dev/null 2>&1
for _ in \$(seq 1 40); do kill -0 \$app 2>/dev/null || break; sleep 0.5; done
if kill -0 \$app 2>/dev/null; then echo "smoke: the window program did not close"; kill \$app; exit 1; fi
wait \$app
EOF
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$smoke_dir/okno.sh"
echo "smoke: main window shown and closed; screenshot $smoke_dir/okno.png"
took "smoke: window program" "$t"

# The checker from the zip against the Linux checker on the example.
t=$(seconds)
linux_build=$repo/build/linux-cli
cmake --preset release -B "$linux_build" -DWERYFIKACJA_GUI=OFF >/dev/null
cmake --build "$linux_build" --target weryfikuj-plik >/dev/null
cd "$repo/examples"
set +e
"$linux_build/cli/weryfikuj-plik" przelewy.txt >"$smoke_dir/linux.out" 2>&1
linux_status=$?
"$wine" "$app_dir/weryfikuj-plik.exe" przelewy.txt >"$smoke_dir/windows.out" 2>&1
windows_status=$?
set -e
cd "$repo"
if [ "$linux_status" != "$windows_status" ] || ! cmp "$smoke_dir/linux.out" "$smoke_dir/windows.out"; then
  echo "smoke: weryfikuj-plik.exe differs from Linux (status $windows_status vs $linux_status)"
  exit 1
fi
echo "smoke: weryfikuj-plik.exe on the example: same output and status ($windows_status) as Linux"
took "smoke: checker" "$t"
