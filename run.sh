#!/usr/bin/env bash
# Installs what is missing, builds the editor in release mode and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release --target tavedwin tavctl
exec build-release/tavedwin "$@"
