#!/usr/bin/env bash
# Installs everything Velmora needs to build and test on a fresh Debian 12 machine.
# Idempotent: a second run only checks what is already there.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates dpkg-dev
  python3 zip unzip clang-format clang-14 libclang-rt-14-dev
  libzip-dev zlib1g-dev nlohmann-json3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine64 xvfb xdotool x11-utils imagemagick
  openbox
  libgtk-3-dev libwebkit2gtk-4.1-dev libayatana-appindicator3-dev libnotify-dev
  libsqlite3-dev media-types locales
  gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  python3-dbusmock libx11-dev
  libjson-glib-dev
)
# npm for TypeScript (below); a Node.js installed otherwise brings its own npm.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# libzip for the Windows targets is cross-built from Debian's source package.
src_list=/etc/apt/sources.list.d/velmora-deb-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  $SUDO tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  $SUDO apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The German locale is used by the message-table tests.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/; s/^# *\(en_US.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
# TypeScript for the check of the typed API (tools/pack/qmt.d.ts), from the npm registry into the
# build folder: not part of the sources.
typescript_dir="$(cd "$(dirname "$0")/.." && pwd)/build/typescript"
if [ ! -x "$typescript_dir/node_modules/.bin/tsc" ]; then
  npm install --silent --no-audit --no-fund --prefix "$typescript_dir" typescript@5.4.5 >/dev/null
fi
echo "setup: done"
