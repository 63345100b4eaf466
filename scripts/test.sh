#!/usr/bin/env bash
# Builds Quorbix and runs every test: the unit and end-to-end tests of the normal
# build, the two fuzz harnesses for 30 s, then the unit tests and a minute of random
# play in a build with AddressSanitizer and UndefinedBehaviorSanitizer. Everything
# graphical runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && "${xvfb[@]}" ctest --output-on-failure -j"$jobs")

# The fuzz harnesses of the score file and the data file (libFuzzer, clang), 30 s each side by
# side, from seeds made at build time; what they find is kept in build-fuzz/corpus.
CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -DQUORBIX_DAT="$PWD/build/quorbix.dat" >/dev/null
cmake --build build-fuzz -j"$jobs"
names=(highscores datafile)
seeds=(scores data)
pids=()
for i in 0 1; do
  mkdir -p "build-fuzz/corpus/${seeds[$i]}"
  build-fuzz/fuzz_"${names[$i]}" -max_total_time=30 -print_final_stats=1 -artifact_prefix=build-fuzz/ \
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
(cd build-asan && "${xvfb[@]}" ctest --output-on-failure -j"$jobs" -L "unit|asan")
