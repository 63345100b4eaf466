#!/usr/bin/env bash
# Installs the Debian packages Quorbix needs to build, run and test, if any are missing.
# Runs apt-get directly as root, through sudo otherwise.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  liballegro4-dev libx11-dev libfreetype-dev fonts-dejavu-core fonts-dejavu-extra
  googletest libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps x11-utils imagemagick procps
  desktop-file-utils appstream man-db dpkg-dev lintian python3-xlib
  openbox wmctrl
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
