#!/usr/bin/env bash
# Makes the MSI installer of an installed Windows tree with msitools' wixl:
# every file of the tree under Program Files, the Start-menu shortcut, the
# entry in the list of installed programs (packaging/windows/instalator.wxs).
#   scripts/windows-msi.sh TREE ICON VERSION PUBLISHER OUT.msi
# A higher VERSION builds the upgrade of an earlier one.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
tree=$(realpath "$1")
icon=$(realpath "$2")
version=$3
publisher=$4
out=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tree's files as components; wixl-heat lists them relative to the tree.
(cd "$(dirname "$tree")" && find "$(basename "$tree")" -type f | sort |
  wixl-heat -p "$(basename "$tree")/" --directory-ref INSTALLDIR --component-group Pliki \
    --var var.Zrodlo --win64) >"$work/pliki.wxs"
# wixl takes source paths relative to the .wxs files' folder only.
cp "$repo/packaging/windows/instalator.wxs" "$work/"
ln -s "$tree" "$work/drzewo"
cp "$icon" "$work/ikona.ico"
out=$(realpath -m "$out")
(cd "$work" && wixl -a x64 -o "$out" -D Zrodlo=drzewo -D Ikona=ikona.ico -D Wersja="$version" \
  -D Wydawca="$publisher" -D Win64=yes instalator.wxs pliki.wxs)
