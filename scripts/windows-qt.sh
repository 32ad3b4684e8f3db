#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source (the version
# the Linux build uses), only the parts the window program loads, and installs
# it into a cache folder outside the repository. A finished build is reused.
# Prints the install prefix on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

cache=${TARMEKO_WIN_CACHE:-/var/cache/tarmeko-win}
jobs=${JOBS:-2}

scripts/windows-deps.sh package

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*}
upstream=${upstream%%-*}
prefix=$cache/qt-$upstream
stamp=$prefix/.built-from

built=0
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ] && built=1
# QtTest runs the window program's tests under wine; a prefix built before
# they ran there lacks it and gets it added.
testlib=$prefix/lib/cmake/Qt6Test/Qt6TestConfig.cmake
if [ "$built" = 1 ] && [ -f "$testlib" ]; then
  # The source an older run of this script left behind is of no further use.
  rm -rf "$cache/src-$version"
  echo "$prefix"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

# apt-get source needs the source index, which a default install leaves out.
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
  $sudo tee /etc/apt/sources.list.d/tarmeko-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
fi

$sudo mkdir -p "$cache"
$sudo chown "$(id -u):$(id -g)" "$cache"
src_parent=$cache/src-$version
if [ ! -f "$src_parent/.unpacked" ]; then
  rm -rf "$src_parent"
  mkdir -p "$src_parent"
  (cd "$src_parent" && apt-get source -qq "qt6-base=$version" >/dev/null)
  touch "$src_parent/.unpacked"
fi
src=$(find "$src_parent" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)

# A half-configured folder from an interrupted run breaks the next configure.
build=$cache/build-$upstream
rm -rf "$build"
[ "$built" = 1 ] || rm -rf "$prefix"

# Only Core, Gui, Widgets, PrintSupport and the windows platform plugin. The
# Debian tarball lacks the wintab and sqlite sources, hence tabletevent and sql
# off. OpenGL goes off through INPUT_opengl: FEATURE_opengl=OFF leaves dynamic
# GL on, which fails. Direct2D stays on; PrintSupport does not link without it.
cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DINPUT_opengl=no \
  -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
  -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF -DFEATURE_testlib=ON -DFEATURE_vulkan=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  >"$cache/configure.log" 2>&1 || {
  tail -n 40 "$cache/configure.log" >&2
  exit 1
}
if [ "$built" = 1 ]; then
  what="QtTest"
  targets=(--target Test)
else
  what="Qt $upstream"
  targets=()
fi
echo "windows-qt: building $what for Windows into $prefix (once; 20-40 minutes for all of Qt)" >&2
# The build's progress, one line a minute, where the caller can see it.
(while sleep 60; do tail -n 1 "$cache/build.log" 2>/dev/null | sed 's/^\(\[[0-9]*\/[0-9]*\]\).*/windows-qt: \1/' >&2; done) &
progress=$!
trap 'kill $progress 2>/dev/null || true' EXIT
nice -n 19 cmake --build "$build" --parallel "$jobs" "${targets[@]}" >"$cache/build.log" 2>&1 || {
  tail -n 40 "$cache/build.log" >&2
  exit 1
}
if [ "$built" = 1 ]; then
  cmake --install "$build/src/testlib" --prefix "$prefix" >"$cache/install.log" 2>&1
else
  cmake --install "$build" >"$cache/install.log" 2>&1
fi
echo "$version" >"$stamp"
# Later builds need only the installed prefix: the build folder and the
# unpacked source (some 400 MB together) go.
rm -rf "$build" "$src_parent"
echo "$prefix"
