#!/usr/bin/env bash
# Installs the Debian packages Quorbix needs, if any are missing: to build and play it, or with the
# argument "test", also to run every test. Runs apt-get directly as root, through sudo otherwise.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  liballegro4-dev libx11-dev libfreetype-dev fonts-dejavu-core fonts-dejavu-extra imagemagick
)
if [ "${1:-}" = test ]; then
  packages+=(
    googletest libgtest-dev libbenchmark-dev
    xvfb xauth xdotool x11-apps x11-utils procps openbox wmctrl
    desktop-file-utils appstream man-db dpkg-dev lintian
    clang libclang-rt-14-dev
  )
fi

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
