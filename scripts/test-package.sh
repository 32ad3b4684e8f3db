#!/usr/bin/env bash
# Builds the Debian package and checks it with Debian's own tools, then runs
# the checker as unpacked from it: what is shipped is what is tested.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$(scripts/package.sh | tail -n 1)
echo "Checking $deb"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
id=pl.tarmeko.weryfikacja_pliku
fail() { echo "test-package: $*" >&2; exit 1; }

# No errors and no warnings. Accepted, at the info level only:
# binary-has-unneeded-section (.comment): CPack strips with a plain "strip",
# which keeps the compiler's version note; it costs a few hundred bytes.
status=0
out=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
[ "$status" -eq 0 ] || fail "lintian: $(grep -v '^running with root privileges' <<<"$out")"

# Both tools print warnings they do not fail on: any output fails here.
out=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) || true
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml")"
appstreamcli validate-tree --no-net "$root" >/dev/null || fail "appstreamcli validate-tree failed"

for page in weryfikuj-plik Tarmeko_weryfikacja_pliku; do
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$out" ] || fail "man --warnings $page: $out"
done

# The manual page follows the checker: every option its --help lists is in it.
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/usr/share/man/man1/weryfikuj-plik.1.gz" 2>/dev/null)
for option in $("$root/usr/bin/weryfikuj-plik" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$page" ||
    fail "packaging/weryfikuj-plik.1.in does not document $option, which --help lists"
done

# The menu entry starts a shipped program and names an icon shipped at every size.
exec_line=$(sed -n "s/^Exec=\([^ ]*\).*/\1/p" "$root/usr/share/applications/$id.desktop")
[ -x "$root/usr/bin/$exec_line" ] || fail "the menu entry runs $exec_line, which is not shipped"
for size in 16 22 24 32 48 64 128 256; do
  [ -s "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png" ] || fail "no ${size}px icon"
done

# Dependencies come from the binaries, plus the window's faces.
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6printsupport6 libstdc++6 fonts-dejavu-core fonts-liberation fonts-freefont-ttf; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done

# The shipped checker, on the example, finds what the README shows; its
# version is the package's.
version=$(dpkg-deb -f "$deb" Version)
[ "$("$root/usr/bin/weryfikuj-plik" --version)" = "weryfikuj-plik $version" ] ||
  fail "weryfikuj-plik --version disagrees with the package's version $version"
status=0
out=$("$root/usr/bin/weryfikuj-plik" examples/przelewy.txt) || status=$?
[ "$status" -eq 1 ] || fail "weryfikuj-plik on the example exited with $status, not 1"
nbsp=$'\xc2\xa0'
expected="examples/przelewy.txt:6:7: Błędny znak: \"Ĺ\" (0xC5)
examples/przelewy.txt:6:8: Błędny znak: \"‚\" (0x82)
examples/przelewy.txt:7:17: Błędny znak: \"–\" (0x96)
examples/przelewy.txt:8: Ciąg nie może być pusty
examples/przelewy.txt:10:28: Błędny znak: \"$nbsp\" (0xA0)
examples/przelewy.txt:11:10: Błędny znak: \"␉\" (0x09)
examples/przelewy.txt: Ilość błędnych linii w zbiorze: 5"
# Lines may be added to the output; these must stay.
while IFS= read -r line; do
  grep -qxF -- "$line" <<<"$out" || fail "weryfikuj-plik on the example did not print
$line
but:
$out"
done <<<"$expected"

# The built-in bank profiles ship as files an administrator can copy, one for
# each profile the checker lists, and each reads as a profile.
profiles=("$root/usr/share/tarmeko-weryfikacja-pliku/profile/"*.toml)
listed=$("$root/usr/bin/weryfikuj-plik" --lista-profili | wc -l)
[ -f "${profiles[0]}" ] && [ "${#profiles[@]}" -eq "$listed" ] ||
  fail "the package ships ${#profiles[@]} profile files, the checker lists $listed profiles"
for profile in "${profiles[@]}"; do
  status=0
  "$root/usr/bin/weryfikuj-plik" --quiet --profil "$profile" examples/przelewy.txt || status=$?
  [ "$status" -ne 2 ] || fail "the shipped profile $profile cannot be used"
done

# The shipped window program starts and keeps running until it is closed.
status=0
QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/Tarmeko_weryfikacja_pliku" || status=$?
[ "$status" -eq 124 ] || fail "the window program ended with $status instead of running"
echo "Package checks passed: $deb"
