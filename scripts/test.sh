#!/usr/bin/env bash
# Builds Quorbix and runs every test: the unit and end-to-end tests of the normal
# build, then the unit tests again in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer. Everything graphical runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && "${xvfb[@]}" ctest --output-on-failure -j"$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORBIX_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && "${xvfb[@]}" ctest --output-on-failure -j"$jobs" -L unit)
