#!/usr/bin/env bash
# Both installers under wine in a fresh prefix.
# The MSI as an administrator meets it: silent install, the files, the
# Start-menu shortcut and the entry among the installed programs; the
# installed checker on the example gives the Linux checker's bytes; the
# installed window program starts and closes; a higher version upgrades in
# place; silent removal leaves nothing.
# The installer for users: silently per user and per machine, the files,
# shortcut and entry in the right place, an upgrade in place, a downgrade
# refused, removal leaving nothing; then its Polish pages walked through
# with the keyboard at 150 % on a desktop with a taskbar, ending with
# "Uruchom program" (pictures in BUILD/instalator/kreator).
# With WERYFIKACJA_PODPIS_CA (the signing certificate) the installed
# uninstaller's signature is verified too.
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
"$wineserver" -w

# ---- The installer for users.
nsis=$repo/build/$name-$version-win64-instalator.exe
[ -f "$nsis" ] || fail "no installer for users: run scripts/windows-package.sh first"
nsis_upgrade=$work/$name-$version.99-win64-instalator.exe
scripts/windows-nsis.sh "$stage" "$build/windows/pl.tarmeko.weryfikacja_pliku.ico" "$version.99" \
  "$publisher" "$nsis_upgrade"
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\'$name
# The entry's name, version and publisher, one root of the registry.
entry() {
  "$wine" reg query "$1\\$key" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *\(DisplayName\|DisplayVersion\|Publisher\) *REG_SZ *//p' | tr '\n' ' '
}
value() { "$wine" reg query "$1\\$key" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"; }
user_folder=$(find "$c/users" -maxdepth 1 -mindepth 1 -type d ! -name Public | head -n 1)
user_programs=$user_folder/AppData/Local/Programs/$name
user_menu=$user_folder/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/$name.lnk
machine_menu=$c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/$name.lnk
installed() {
  for f in $(cd "$stage" && find . -type f); do [ -f "$1/$f" ] || fail "not installed in $1: $f"; done
  [ -f "$1/Odinstaluj.exe" ] || fail "no uninstaller in $1"
}
# The uninstaller copies itself away and runs from there: wait for it.
remove() {
  local cmd
  cmd=$(value "$1" QuietUninstallString)
  [ -n "$cmd" ] || fail "no QuietUninstallString in $1"
  eval "set -- $cmd"
  "$wine" "$@" || fail "uninstaller returned $?"
  "$wineserver" -w
}
verify_uninstaller() {
  [ -n "${WERYFIKACJA_PODPIS_CA:-}" ] || return 0
  osslsigncode verify -CAfile "$WERYFIKACJA_PODPIS_CA" -in "$1/Odinstaluj.exe" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; fail "the uninstaller's signature does not verify"; }
}

# Per user, as a user without administrator rights gets it (wine runs every
# program elevated, so the command line asks for it).
"$wine" "$(winpath "$nsis")" /S /CurrentUser || fail "per-user install returned $?"
installed "$user_programs"
[ -f "$user_menu" ] || fail "no Start-menu shortcut in the user's menu"
[ "$(entry HKCU)" = "$name $version $publisher " ] || fail "per-user entry: $(entry HKCU)"
[ -z "$(entry HKLM)" ] || fail "a per-user install wrote a per-machine entry"
verify_uninstaller "$user_programs"
echo "installer for users: per user into %LOCALAPPDATA%\\Programs\\$name, the user's Start menu, entry in HKCU"

"$wine" "$(winpath "$nsis_upgrade")" /S /CurrentUser || fail "per-user upgrade returned $?"
installed "$user_programs"
[ "$(entry HKCU)" = "$name $version.99 $publisher " ] || fail "after the upgrade: $(entry HKCU)"
set +e
"$wine" "$(winpath "$nsis")" /S /CurrentUser
status=$?
set -e
[ "$status" = 3 ] && [ "$(entry HKCU)" = "$name $version.99 $publisher " ] ||
  fail "a downgrade was not refused (status $status, entry $(entry HKCU))"
echo "installer for users: upgraded in place to $version.99 (one entry); the older version refused"

remove HKCU
[ ! -e "$user_programs" ] || fail "left behind: $(find "$user_programs" | head -n 5)"
[ ! -e "$user_menu" ] || fail "left behind: the shortcut"
[ -z "$(entry HKCU)" ] || fail "entry left: $(entry HKCU)"
echo "installer for users: removed, nothing left"

# Elevated, as wine runs it: for every user.
"$wine" "$(winpath "$nsis")" /S || fail "per-machine install returned $?"
installed "$folder"
[ -f "$machine_menu" ] || fail "no Start-menu shortcut in the common menu"
[ "$(entry HKLM)" = "$name $version $publisher " ] || fail "per-machine entry: $(entry HKLM)"
remove HKLM
[ ! -e "$folder" ] && [ ! -e "$machine_menu" ] && [ -z "$(entry HKLM)" ] ||
  fail "the per-machine removal left something"
echo "installer for users, run elevated: into Program Files for every user, entry in HKLM; removed"

# ---- Its pages, walked with the keyboard at 150 % on a desktop with a
# taskbar; a picture of each.
pictures=$work/kreator
mkdir -p "$pictures"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
scripts/wine-pulpit.sh on 1600x1000
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w
cat >"$work/kreator.sh" <<SH
set -u
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" cmd /c exit >/dev/null 2>&1
page() { sleep "\$2"; import -window root "$pictures/\$1.png"; }
# Double-clicked, as a user without administrator rights gets it.
"$wine" "$(winpath "$nsis")" /CurrentUser &
for _ in \$(seq 1 120); do pgrep -f -- "-instalator.exe" >/dev/null && break; sleep 0.5; done
page 1-powitanie 4
xdotool key Return; page 2-informacja 2
xdotool key Return; page 3-folder 2
xdotool key Return; page 4-postep 0.3
for _ in \$(seq 1 120); do [ -f "$user_programs/Odinstaluj.exe" ] && break; sleep 0.5; done
page 5-koniec 3
# "Uruchom program" is ticked: Enter ends and starts it.
xdotool key Return
for _ in \$(seq 1 120); do pgrep -f "$name.exe" >/dev/null && break; sleep 0.5; done
page 6-program 6
pgrep -f "$name.exe" >/dev/null || { echo "installer wizard: the program did not start"; exit 1; }
"$wine" taskkill /im $name.exe >/dev/null 2>&1
for _ in \$(seq 1 40); do pgrep -f "$name.exe" >/dev/null || break; sleep 0.5; done
SH
xvfb-run -a -s "-screen 0 1600x1000x24" bash "$work/kreator.sh" || fail "the wizard was not walked through"
"$wineserver" -w
installed "$user_programs"
[ "$(entry HKCU)" = "$name $version $publisher " ] || fail "after the wizard: $(entry HKCU)"
remove HKCU
[ ! -e "$user_programs" ] || fail "left behind after the wizard's install"
echo "installer for users: pages walked at 144 dpi with the keyboard, program started from the last page; pictures in $pictures"
"$wineserver" -k 2>/dev/null || true
