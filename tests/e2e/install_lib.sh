# Shared helpers of the installation tests: the built game installed into a scratch
# staging folder (DESTDIR), or its Debian package unpacked there, and the places of the
# installed files.
# Usage from a test: source install_lib.sh GAME_BINARY DATA_FILE CMAKE BUILD_DIR \
#   BIN_DIR GAME_DIR SHARE_DIR MAN_DIR DATA_DIR   (these five absolute, as configured) \
#   VERSION [package]
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1" "$2"

cmake_command=$3
build_dir=$4
root=$work/root
bin_dir=$root$5
game_dir=$root$6
share_dir=$root$7
man_dir=$root$8
launcher=$bin_dir/quorbix
installed_game=$game_dir/quorbix
installed_data=$root$9/quorbix.dat
version=${10} from=${11:-cmake}
package=$build_dir/quorbix_${version}_$(dpkg --print-architecture).deb

# Installs the build under $root, as a package build stages it, or unpacks its package there.
install_game() {
  if [ "$from" = package ]; then
    dpkg-deb -x "$package" "$root" || fail "cannot unpack $package"
    return
  fi
  DESTDIR=$root "$cmake_command" --install "$build_dir" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.log")"
}
