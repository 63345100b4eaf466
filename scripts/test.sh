#!/usr/bin/env bash
# Builds Quorbix and runs every test under Xvfb: in build/, laid out for the Debian package, the
# unit, end-to-end, install and package tests; in build-asan/, built by clang with AddressSanitizer
# and UndefinedBehaviorSanitizer in the default layout under /usr/local, the unit, end-to-end and
# install tests once more and a fixed run of each fuzz harness; in build-win/, the game cross-built
# for 32-bit Windows (Allegro built once from Debian's source package, with our patch), its unit
# tests and its zip played under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

cmake -C dist/debian.cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORBIX_TESTS=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && "${xvfb[@]}" ctest --output-on-failure -j"$jobs")

CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORBIX_SANITIZE=ON -DQUORBIX_FUZZ=ON \
  -DQUORBIX_TESTS=ON >/dev/null
cmake --build build-asan -j"$jobs"
# One test at a time, and a failed one tried once more: the sanitizer build's game runs slowly, and
# a random game in keeping_scores now and then outlasts the rounds it is given to lose its ship.
(cd build-asan && "${xvfb[@]}" ctest --output-on-failure --repeat until-pass:2)

JOBS=$jobs dist/windows/build-allegro.sh build-win/allegro
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=dist/windows/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORBIX_WINDOWS_ALLEGRO="$PWD/build-win/allegro/install" -DQUORBIX_LINUX_DAT="$PWD/build/quorbix.dat" >/dev/null
cmake --build build-win -j"$jobs"
(cd build-win && "${xvfb[@]}" ctest --output-on-failure -j"$jobs")
