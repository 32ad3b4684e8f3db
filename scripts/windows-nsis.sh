#!/usr/bin/env bash
# Makes the installer for users (an .exe with Polish pages) of an installed
# Windows tree with NSIS (packaging/windows/instalator.nsi): per user without
# administrator rights by default, per machine when run elevated. Signed,
# uninstaller included, when scripts/windows-podpisz.sh is given a
# certificate.
#   scripts/windows-nsis.sh TREE ICON VERSION PUBLISHER OUT.exe
# A higher VERSION builds the upgrade of an earlier one.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
tree=$(realpath "$1")
icon=$(realpath "$2")
version=$3
publisher=$4
out=$(realpath -m "$5")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tree's files, to install and to remove one by one (folders deepest
# first), with Windows' separators.
{
  echo '!macro PlikiDrzewa'
  (cd "$tree" && find . -type d | sort) | while read -r d; do
    d=${d#.}
    echo "  SetOutPath \"\$INSTDIR${d//\//\\}\""
    (cd "$tree$d" && find . -maxdepth 1 -type f | sort) | while read -r f; do
      echo "  File \"$tree$d/${f#./}\""
    done
  done
  echo '!macroend'
  echo '!macro UsunPlikiDrzewa'
  (cd "$tree" && find . -type f | sort) | while read -r f; do
    f=${f#.}
    echo "  Delete \"\$INSTDIR${f//\//\\}\""
  done
  (cd "$tree" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
    d=${d#.}
    echo "  RMDir \"\$INSTDIR${d//\//\\}\""
  done
  echo '!macroend'
} >"$work/pliki.nsh"
# The notice with a byte-order mark: NSIS reads UTF-8 text only so.
printf '\xEF\xBB\xBF' >"$work/informacja.txt"
cat "$repo/packaging/windows/informacja.txt" >>"$work/informacja.txt"
# VIProductVersion wants four numbers.
version4=$version
while [ "$(tr -cd . <<<"$version4" | wc -c)" -lt 3 ]; do version4=$version4.0; done

podpisz=()
if "$repo/scripts/windows-podpisz.sh" --czy; then
  podpisz=("-DPODPISZ=$repo/scripts/windows-podpisz.sh")
fi
makensis -V2 -INPUTCHARSET UTF8 -DWERSJA="$version" -DWERSJA4="$version4" -DWYDAWCA="$publisher" \
  -DIKONA="$icon" -DINFORMACJA="$work/informacja.txt" -DPLIKI="$work/pliki.nsh" \
  -DWYJSCIE="$out" "${podpisz[@]}" "$repo/packaging/windows/instalator.nsi"
