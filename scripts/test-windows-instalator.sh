#!/usr/bin/env bash
# The MSI installer as an administrator meets it, under wine in a fresh
# prefix: silent install, the files, the Start-menu shortcut and the entry
# among the installed programs; the installed checker on the example gives
# the Linux checker's bytes; the installed window program starts and closes;
# a higher version upgrades in place; silent removal leaves nothing.
#   scripts/test-windows-instalator.sh CROSS_BUILD_DIR LINUX_CHECKER
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build=$(realpath "$1")
linux_checker=$(realpath "$2")
name=Tarmeko_weryfikacja_pliku
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
publisher=$(sed -n 's/^WERYFIKACJA_WYDAWCA:STRING=//p' "$build/CMakeCache.txt")
msi=$repo/build/$name-$version-win64.msi
stage=$build/stage/$name-$version-win64
[ -f "$msi" ] && [ -d "$stage" ] || { echo "no installer: run scripts/windows-package.sh first" >&2; exit 1; }

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
work=$build/instalator
[ -d "$work/prefix" ] && { WINEPREFIX=$work/prefix "$wineserver" -k 2>/dev/null || true; }
rm -rf "$work"
mkdir -p "$work/prefix"
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
"$wine" wineboot -i >/dev/null 2>&1
"$wineserver" -w

# An upgrade: the same tree as a higher version.
upgrade=$work/$name-$version.99-win64.msi
scripts/windows-msi.sh "$stage" "$build/windows/pl.tarmeko.weryfikacja_pliku.ico" "$version.99" \
  "$publisher" "$upgrade" 2>/dev/null

c=$WINEPREFIX/drive_c
folder="$c/Program Files/$name"
fail() { echo "installer: $*" >&2; exit 1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
entries() {
  "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | sed -n "s/^ *DisplayVersion *REG_SZ *//p;s/^ *DisplayName *REG_SZ *\($name\)$/name \1/p;s/^ *Publisher *REG_SZ *\($publisher\)$/publisher \1/p"
}
shortcut() {
  # Windows puts a per-machine shortcut in the common Start menu; wine's
  # installer in the user's. Either is the Start menu the user sees.
  find "$c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
    "$c/users" -path '*Start Menu/Programs/*' -name "$name.lnk" 2>/dev/null | head -n 1
}

"$wine" msiexec /i "$(winpath "$msi")" /qn || fail "msiexec /i returned $?"
for f in $(cd "$stage" && find . -type f); do
  [ -f "$folder/$f" ] || fail "not installed: $f"
done
[ -n "$(shortcut)" ] || fail "no Start-menu shortcut"
mkdir -p "$work/linki" && cp "$(shortcut)" "$work/linki/"
grep -qa "Tarmeko_weryfikacja_pliku.exe" "$(shortcut)" || fail "the shortcut does not start the window program"
[ "$(entries | sort | tr '\n' ' ')" = "$version name $name publisher $publisher " ] ||
  fail "uninstall entry: $(entries | tr '\n' ' ')"
echo "installer: installed silently: $(cd "$stage" && find . -type f | wc -l) files, shortcut, uninstall entry $name $version ($publisher)"

# The installed checker on the example: the Linux checker's bytes.
cd "$repo/examples"
set +e
"$linux_checker" przelewy.txt >"$work/linux.out" 2>&1
linux_status=$?
"$wine" "$folder/weryfikuj-plik.exe" przelewy.txt >"$work/windows.out" 2>&1
windows_status=$?
set -e
cd "$repo"
[ "$linux_status" = "$windows_status" ] && cmp -s "$work/linux.out" "$work/windows.out" ||
  fail "installed weryfikuj-plik.exe differs from Linux (status $windows_status vs $linux_status)"
echo "installer: installed checker on the example: Linux bytes, status $windows_status"

# The installed window program starts, shows its window and closes.
title="$name v.$version (alfa '2022)"
cat >"$work/okno.sh" <<SH
set -u
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" cmd /c exit >/dev/null 2>&1
"$wine" "$folder/$name.exe" >"$work/app.log" 2>&1 &
app=\$!
for _ in \$(seq 1 240); do
  xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\"" && break
  sleep 0.5
done
xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\"" || { echo "installer: no window '$title'"; kill \$app; exit 1; }
"$wine" taskkill /im $name.exe >/dev/null 2>&1
for _ in \$(seq 1 40); do kill -0 \$app 2>/dev/null || break; sleep 0.5; done
if kill -0 \$app 2>/dev/null; then echo "installer: the window program did not close"; kill \$app; exit 1; fi
SH
# The window needs a server started on the virtual display: let the one
# the installer used end first.
"$wineserver" -w
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/okno.sh"
export WINEPREFIX
echo "installer: installed window program started and closed"

"$wine" msiexec /i "$(winpath "$upgrade")" /qn || fail "upgrade returned $?"
[ "$(entries | sort | tr '\n' ' ')" = "$version.99 name $name publisher $publisher " ] ||
  fail "after the upgrade: $(entries | tr '\n' ' ')"
[ -f "$folder/$name.exe" ] || fail "the upgrade lost the program"
echo "installer: upgraded in place to $version.99 (one entry)"

"$wine" msiexec /x "$(winpath "$upgrade")" /qn || fail "msiexec /x returned $?"
[ ! -e "$folder" ] || fail "left behind: $(find "$folder" | head -n 5)"
[ -z "$(shortcut)" ] || fail "left behind: $(shortcut)"
[ -z "$(entries)" ] || fail "uninstall entry left: $(entries | tr '\n' ' ')"
"$wine" reg query "HKLM\\Software\\$publisher\\$name" >/dev/null 2>&1 && fail "registry key left"
echo "installer: removed silently, nothing left"
"$wineserver" -k 2>/dev/null || true
