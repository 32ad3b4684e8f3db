#!/usr/bin/env bash
# Installs the package as an administrator would, checks that the menu entry
# starts the window program and that the manual page is found, removes it
# again and checks that nothing of it is left. Leaves the machine's set of
# packages as it found it. Changes the system, so it is not part of ./test.
# Usage: scripts/check-install.sh [FILE.deb]   (default: builds it)
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "check-install: run as root" >&2; exit 2; }
name=tarmeko-weryfikacja-pliku
id=pl.tarmeko.weryfikacja_pliku
if dpkg-query -W "$name" >/dev/null 2>&1; then
  echo "check-install: $name is installed already; remove it first" >&2
  exit 2
fi
deb=$(realpath "${1:-$(scripts/package.sh | tail -n 1)}")
fail() { echo "check-install: $*" >&2; exit 1; }
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 -y -qq "$@"; }

before=$(mktemp)
trap 'rm -f "$before"' EXIT
dpkg-query -W -f='${Package}\n' | sort >"$before"
apt_get install "$deb" >/dev/null

# The menu entry, run as a desktop runs it: the window program starts and stays.
exec_line=$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop")
status=0
env -u QT_QPA_PLATFORM xvfb-run -a timeout 5 sh -c "$exec_line" 2>/dev/null || status=$?
[ "$status" -eq 124 ] || fail "the menu entry's \"$exec_line\" ended with $status"
[ "$(man -w weryfikuj-plik)" = /usr/share/man/man1/weryfikuj-plik.1.gz ] ||
  fail "man does not find weryfikuj-plik"
[ "$(command -v weryfikuj-plik)" = /usr/bin/weryfikuj-plik ] || fail "weryfikuj-plik is not on the path"
files=$(dpkg -L "$name")

apt_get purge "$name" >/dev/null
while IFS= read -r f; do
  if [ -d "$f" ]; then
    # A folder may stay only as another package's.
    dpkg-query -S "$f" >/dev/null 2>&1 || fail "left behind: folder $f"
  elif [ -e "$f" ] || [ -L "$f" ]; then
    fail "left behind: $f"
  fi
done <<<"$files"
! dpkg-query -W "$name" >/dev/null 2>&1 || fail "dpkg still knows $name"
man -w weryfikuj-plik >/dev/null 2>&1 && fail "man still finds weryfikuj-plik"

# What the installation pulled in goes too.
added=$(dpkg-query -W -f='${Package}\n' | sort | comm -13 "$before" -)
[ -z "$added" ] || apt_get purge $added >/dev/null
echo "Installed, started from its menu entry, found by man, removed without a trace: $deb"
