#!/usr/bin/env bash
# Cross-builds libzip (static) for one MinGW-w64 triple from Debian's source package.
# usage: build-libzip-mingw.sh TRIPLE INSTALL_DIR SOURCE_CACHE_DIR
# The result is cached: when INSTALL_DIR/lib/libzip.a exists nothing is done.
set -euo pipefail
triple=$1 prefix=$2 cache=$3
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$prefix/lib/libzip.a" ] && exit 0

mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9   # both Windows presets may configure at once; fetch the source once
src=$(find "$cache" -mindepth 1 -maxdepth 1 -type d -name 'libzip-*' | head -n 1)
if [ -z "$src" ]; then
  (cd "$cache" && apt-get source -q libzip >/dev/null 2>&1) || {
    echo "build-libzip-mingw: 'apt-get source libzip' failed (is scripts/setup-debian.sh done?)" >&2; exit 1; }
  src=$(find "$cache" -mindepth 1 -maxdepth 1 -type d -name 'libzip-*' | head -n 1)
fi
flock -u 9

case $triple in
  x86_64-*) toolchain=$here/../cmake/toolchains/x86_64-w64-mingw32.cmake ;;
  i686-*) toolchain=$here/../cmake/toolchains/i686-w64-mingw32.cmake ;;
  *) echo "unknown triple $triple" >&2; exit 1 ;;
esac
work="$prefix-build"
rm -rf "$work"; mkdir -p "$(dirname "$work")"
cmake -S "$src" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
  -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_GNUTLS=OFF -DENABLE_OPENSSL=OFF \
  -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF >"$work.log" 2>&1 \
  || { cat "$work.log" >&2; exit 1; }
cmake --build "$work" >>"$work.log" 2>&1 && cmake --install "$work" >>"$work.log" 2>&1 \
  || { tail -40 "$work.log" >&2; exit 1; }
rm -rf "$work"
