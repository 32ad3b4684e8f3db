#!/usr/bin/env bash
# Installs what cross-building for Windows and running the results under wine
# needs: mingw-w64 with posix threads, wine, and (for "package") what building
# Qt from Debian's source, the window smoke test, making and signing the
# installers (wixl, nsis, osslsigncode, openssl) need.
set -euo pipefail

purpose=${1:-test}

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 libgtest-dev libtomlplusplus-dev)
[ "$purpose" = package ] && packages+=(dpkg-dev qt6-base-dev qt6-base-dev-tools perl xvfb xauth
  zip unzip x11-utils imagemagick wixl fonts-wine xdotool qt6-translations-l10n nsis osslsigncode
  openssl)

exec "$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"
