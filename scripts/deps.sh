#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, as root.
# Every package is named: Wine's fonts and the X libraries it loads at run time
# are only Recommends, which an install without them leaves out.
# Only missing packages are fetched, so a second run costs a few seconds.
set -euo pipefail

need=(cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev
      libpng-dev libgif-dev libx11-dev libxext-dev libfreetype-dev libfontconfig-dev
      fonts-dejavu-core libclang-rt-14-dev
      g++-mingw-w64-i686 binutils-mingw-w64-i686
      g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 nsis
      xvfb xdotool imagemagick x11-utils locales wine wine32:i386 wine64 python3
      libxinerama-dev libxrandr-dev xserver-xephyr libxinerama1:i386
      dpkg-dev lintian man-db ccache
      fonts-wine fonts-liberation openbox libxrender1 libxrender1:i386 libxrandr2:i386 libxinerama1
      libwayland-dev wayland-protocols libxkbcommon-dev sway weston grim wtype swayidle
      debhelper fakeroot faketime
      qemu-user-static g++-aarch64-linux-gnu binutils-aarch64-linux-gnu crossbuild-essential-arm64
      libc6-dev:arm64 libstdc++-12-dev:arm64 libx11-dev:arm64 libxext-dev:arm64
      libxinerama-dev:arm64 libxrandr-dev:arm64 libpng-dev:arm64 libgif-dev:arm64
      libfreetype-dev:arm64 libfontconfig-dev:arm64 libgtest-dev:arm64 libgmock-dev:arm64
      libwayland-dev:arm64 libxkbcommon-dev:arm64 libbenchmark-dev:arm64 libboost-dev)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  for arch in i386 arm64; do
    dpkg --print-foreign-architectures | grep -qx "$arch" || dpkg --add-architecture "$arch"
  done
  apt-get update -q
  apt-get install -y -q "${missing[@]}"
fi

# The Russian user-interface tests need this locale.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
  sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
