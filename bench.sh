#!/usr/bin/env bash
# Builds and runs every benchmark in bench/; one line per measurement.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release >/dev/null
export TAVCTL="$PWD/build-release/tavctl"
for b in build-release/bench/bench_*; do
  if [ -f "$b" ] && [ -x "$b" ]; then "$b"; fi
done
