#!/usr/bin/env bash
# Builds Quorbix and starts it. The game runs in build/, beside its data file,
# and keeps its high scores there in scores.hi.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quorbix
cd build
exec ./quorbix
