#!/usr/bin/env bash
# Installs the Debian packages Quorbix needs, if any are missing: to build and play it, or with the
# argument "test", also to run every test, the Windows build under Wine among them. Runs apt-get
# directly as root, through sudo otherwise.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  liballegro4-dev libx11-dev libfreetype-dev fonts-dejavu-core fonts-dejavu-extra imagemagick
)
foreign=""  # a second architecture dpkg must know before its packages can be installed
if [ "${1:-}" = test ]; then
  packages+=(
    googletest libgtest-dev libbenchmark-dev
    xvfb xauth xdotool x11-apps x11-utils procps openbox wmctrl
    desktop-file-utils appstream man-db dpkg-dev lintian
    clang libclang-rt-14-dev
    # The Windows build: the 32-bit MinGW compilers, Wine with its 32-bit half, the zip and the installer.
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386 zip unzip nsis
  )
  foreign=i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ -n "$foreign" ] && ! dpkg --print-foreign-architectures | grep -qx "$foreign"; then
  $sudo dpkg --add-architecture "$foreign"
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
