#!/usr/bin/env bash
# Installs what cross-building for Windows and running the results under wine
# needs: mingw-w64 with posix threads, wine, and (for "package") what building
# Qt from Debian's source and the window smoke test need.
set -euo pipefail

purpose=${1:-test}

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 libgtest-dev)
[ "$purpose" = package ] && packages+=(dpkg-dev qt6-base-dev qt6-base-dev-tools perl xvfb xauth
  zip unzip x11-utils imagemagick)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" \
  >/dev/null
