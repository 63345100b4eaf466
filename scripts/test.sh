#!/usr/bin/env bash
# Builds Quorbix and runs every test: the unit, end-to-end, install and package tests of
# the normal build, laid out for the Debian package; a fixed run of each fuzz harness; then
# the unit and install tests and a minute of random play in a build with AddressSanitizer
# and UndefinedBehaviorSanitizer, which keeps the default layout under /usr/local.
# Everything graphical runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

cmake -C dist/debian.cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && "${xvfb[@]}" ctest --output-on-failure -j"$jobs")

# The fuzz harnesses of the score file and the data file (libFuzzer, clang) side by side, from
# seeds made at build time. A fixed seed and number of runs make every run of this script try
# the same inputs, so a result never depends on the machine's speed; longer runs by hand with
# other seeds hunt for new faults. What they find is kept in build-fuzz/corpus.
CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -DQUORBIX_DAT="$PWD/build/quorbix.dat" >/dev/null
cmake --build build-fuzz -j"$jobs"
names=(highscores datafile)
seeds=(scores data)
pids=()
for i in 0 1; do
  mkdir -p "build-fuzz/corpus/${seeds[$i]}"
  build-fuzz/fuzz_"${names[$i]}" -seed=1 -runs=200000 -print_final_stats=1 -artifact_prefix=build-fuzz/ \
    "build-fuzz/corpus/${seeds[$i]}" "build-fuzz/seeds/${seeds[$i]}" >"build-fuzz/${names[$i]}.log" 2>&1 &
  pids+=("$!")
done
for i in 0 1; do
  log="build-fuzz/${names[$i]}.log"
  if ! wait "${pids[$i]}"; then
    tail -n 60 "$log"
    echo "fuzz_${names[$i]} found a fault (see $log)" >&2
    exit 1
  fi
  echo "fuzz_${names[$i]}: $(grep -m 1 '^Done' "$log")"
done

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORBIX_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && "${xvfb[@]}" ctest --output-on-failure -j"$jobs" -L "unit|asan|install")
