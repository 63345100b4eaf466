#!/usr/bin/env bash
# The Debian package of a build laid out by dist/debian.cmake: cpack in the build folder
# writes quorbix_VERSION_ARCH.deb, in section games, depending on the libraries the game
# links, with Debian's places for a game's files, and lintian finds neither an error nor a
# warning in it. The other install tests then check the unpacked package.
# Arguments: as for an install test in lib.sh
source "$(dirname "$0")/lib.sh"

rm -f "$package"
(cd "$build_dir" && "$(dirname "$cmake_command")/cpack" -G DEB) >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
[ -f "$package" ] || fail "no $package: $(grep "package:" "$work/cpack.log")"
field() { dpkg-deb -f "$package" "$1"; }
[ "$(field Section)" = games ] && [ "$(field Version)" = "$version" ] ||
  fail "section $(field Section), version $(field Version)"
[[ $(field Depends) == *"liballegro4.4 (>= "*"libc6 (>= "* ]] || fail "Depends: $(field Depends)"

files=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { print $6 }' | sort)
expected="./usr/games/quorbix
./usr/lib/games/quorbix/quorbix
./usr/share/applications/org.example.quorbix.desktop
./usr/share/doc/quorbix/changelog.gz
./usr/share/doc/quorbix/copyright
./usr/share/games/quorbix/quorbix.dat
./usr/share/icons/hicolor/256x256/apps/quorbix.png
./usr/share/icons/hicolor/48x48/apps/quorbix.png
./usr/share/icons/hicolor/96x96/apps/quorbix.png
./usr/share/man/man6/quorbix.6.gz
./usr/share/metainfo/org.example.quorbix.metainfo.xml"
[ "$files" = "$expected" ] || fail "the package holds: $files"

report=$(lintian --fail-on error,warning "$package" 2>&1) || fail "lintian: $report"
echo "package $(basename "$package"): ok"
