#!/usr/bin/env bash
# Installs the Debian packages that are missing for building and running the
# program ("run"), for building its Debian package ("package"), for building
# and running every test ("test"), or for comparing the encoding diagnosis
# with other detectors ("compare").
# Fast when everything is there: it asks dpkg first and apt only when needed.
set -euo pipefail

purpose=${1:-run}

run_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev libicu-dev fonts-liberation
  fonts-dejavu-core fonts-freefont-ttf qt6-translations-l10n libtomlplusplus-dev)
test_packages=(libgtest-dev xvfb xauth cups printer-driver-cups-pdf cups-ipp-utils cups-client
  poppler-utils clang libclang-rt-14-dev time util-linux clang-format-14 lintian desktop-file-utils
  appstream man-db fonts-urw-base35 python3 wpolish)
# dpkg-shlibdeps computes the package's dependencies; CPack finds binaries with file.
package_packages=(dpkg-dev file)

# The detectors that docs/ENCODINGS.md compares the diagnosis with, and the
# real Polish text of the full set (scripts/korpus-kodowan.py): manual pages,
# and the message catalogues read through msgunfmt.
compare_packages=(uchardet enca python3 manpages-pl gettext)

packages=("${run_packages[@]}")
[ "$purpose" = package ] && packages+=("${package_packages[@]}")
[ "$purpose" = test ] && packages+=("${test_packages[@]}" "${package_packages[@]}")
[ "$purpose" = compare ] && packages+=("${test_packages[@]}" "${compare_packages[@]}")

exec "$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"
