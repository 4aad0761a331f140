#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine (run as root).
# Idempotent: a second run finds everything in place and returns within seconds.
# Cross-built libraries go to .cache/ under the repository and are reused by later runs.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Shared by every checkout on this machine, so CI clones and later sessions reuse the builds.
cache="${SAVER_DEPS_CACHE:-/var/cache/photo-saver-deps}"
mkdir -p "$cache"

fail() { echo "setup: $*" >&2; exit 1; }
say() { echo "setup: $*" >&2; }

[ "$(id -u)" = 0 ] || fail "must run as root (apt-get installs the toolchain)"

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 wine32:i386
  xvfb xauth x11-apps imagemagick pulseaudio
  cmake ninja-build googletest libgtest-dev libbenchmark-dev libjpeg62-turbo-dev
  clang clang-format libclang-rt-14-dev nasm dpkg-dev xz-utils ccache
  qemu-system-x86 debootstrap
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_packages() {
  local need
  need=$(missing_packages)
  [ -z "$need" ] && return 0
  say "installing: $(echo $need)"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null || fail "apt-get update failed"
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $need >"$cache/apt.log" 2>&1 \
    || { tail -n 30 "$cache/apt.log" >&2; fail "apt-get install failed (see $cache/apt.log)"; }
  need=$(missing_packages)
  [ -z "$need" ] || fail "still missing after install: $need"
}

# libjpeg-turbo (version-62 API, static) for each MinGW target, from Debian's source package.
jpeg_src() {
  local dir
  dir=$(ls -d "$cache"/src/libjpeg-turbo-*/ 2>/dev/null | head -n 1 || true)
  if [ -z "$dir" ]; then
    say "fetching Debian's libjpeg-turbo source package"
    local list=/etc/apt/sources.list.d/zz-setup-deb-src.sources
    cat >"$list" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    mkdir -p "$cache/src"
    local ok=1
    apt-get update -q >/dev/null 2>&1 && (cd "$cache/src" && apt-get source -q libjpeg-turbo >"$cache/apt-source.log" 2>&1) || ok=0
    rm -f "$list"
    apt-get update -q >/dev/null 2>&1 || true
    [ "$ok" = 1 ] || fail "apt-get source libjpeg-turbo failed (see $cache/apt-source.log)"
    dir=$(ls -d "$cache"/src/libjpeg-turbo-*/ | head -n 1)
  fi
  echo "${dir%/}"
}

build_jpeg() {
  local triple=$1 out="$cache/mingw/$1"
  [ -f "$out/lib/libjpeg.a" ] && [ -f "$out/include/jpeglib.h" ] && return 0
  local src; src=$(jpeg_src)
  say "building libjpeg-turbo for $triple"
  local proc=x86_64; [ "$triple" = i686-w64-mingw32 ] && proc=i686
  local tc="$cache/build/$triple-toolchain.cmake"
  mkdir -p "$cache/build"
  cat >"$tc" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $proc)
set(CMAKE_C_COMPILER $triple-gcc-posix)
set(CMAKE_CXX_COMPILER $triple-g++-posix)
set(CMAKE_RC_COMPILER $triple-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triple)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC
  local b="$cache/build/jpeg-$triple"
  rm -rf "$b"
  cmake -S "$src" -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$out" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_JPEG8=OFF \
    -DWITH_JPEG7=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON >"$b.log" 2>&1 \
    && cmake --build "$b" >>"$b.log" 2>&1 && cmake --install "$b" >>"$b.log" 2>&1 \
    || { tail -n 30 "$b.log" >&2; fail "libjpeg-turbo build for $triple failed (see $b.log)"; }
  # The library installs as lib/ on some generators and lib64/ on none here; keep one name.
  [ -f "$out/lib/libjpeg.a" ] || fail "libjpeg-turbo for $triple installed no lib/libjpeg.a"
}

build_gtest() {
  local triple=$1 out="$cache/mingw/$1"
  [ -f "$out/lib/libgtest.a" ] && return 0
  say "building GoogleTest for $triple"
  local b="$cache/build/gtest-$triple"
  rm -rf "$b"
  cmake -S /usr/src/googletest -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$cache/build/$triple-toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" -Dgtest_disable_pthreads=OFF \
    -DCMAKE_CXX_FLAGS="-static" >"$b.log" 2>&1 \
    && cmake --build "$b" >>"$b.log" 2>&1 && cmake --install "$b" >>"$b.log" 2>&1 \
    || { tail -n 30 "$b.log" >&2; fail "GoogleTest build for $triple failed (see $b.log)"; }
}

# The demo image set's photographs (GPL-2+): unpacked into the cache, never committed. Optional:
# without them the demo builder draws pictures of its own.
fetch_demo_photos() {
  local dir="$cache/mate-backgrounds"
  [ -d "$dir/root/usr/share/backgrounds/mate/nature" ] && return 0
  mkdir -p "$dir"
  if (cd "$dir" && apt-get download -q mate-backgrounds >"$dir/download.log" 2>&1) \
      && dpkg -x "$(ls "$dir"/mate-backgrounds_*.deb | head -n 1)" "$dir/root"; then
    say "demo photographs in $dir/root/usr/share/backgrounds/mate/nature"
  else
    say "demo photographs not available (see $dir/download.log); the demo set will draw its own"
  fi
}

install_packages
fetch_demo_photos
for t in i686-w64-mingw32 x86_64-w64-mingw32; do
  build_jpeg "$t"
  build_gtest "$t"
done
# Where this machine runs no 32-bit code, the 32-bit build's tests run in an emulated machine.
bash "$top/scripts/can-run-32bit.sh" || bash "$top/scripts/test-32bit-vm.sh" --prepare \
  || fail "the emulated machine for the 32-bit tests could not be built"
say "ready"
