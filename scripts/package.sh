#!/usr/bin/env bash
# Builds the Debian package of both programs: build/package/*.deb.
# Prints the package's path as its last line. Arguments go to cmake, e.g.
# -DWERYFIKACJA_OPIEKUN="Dział IT <it@firma.pl>" for the Maintainer field.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
# The sources' date stands for the release date, so the same commit always
# gives the same package.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH
# Debian's hardening flags, as the distribution's own packages are built.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# CMake reads no CPPFLAGS: the preprocessor's flags (fortified functions) go
# with the compilers'.
flag() { dpkg-buildflags --get "$1"; }
CFLAGS="$(flag CFLAGS) $(flag CPPFLAGS)" CXXFLAGS="$(flag CXXFLAGS) $(flag CPPFLAGS)" \
  LDFLAGS=$(flag LDFLAGS) cmake --preset package "$@" >/dev/null
cmake --build --preset package
rm -f build/package/*.deb
cpack --preset package >/dev/null
ls build/package/*.deb
