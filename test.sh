#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# One build serves: every test runs under AddressSanitizer and
# UndefinedBehaviorSanitizer, compiled at -O1 without debug information, which
# builds in half the time of -O2 -g. A build from scratch spends most of its
# time in Qt's headers, so the sources are compiled in unity batches of up to
# 32 files, and linked with lld. A batch is one translation unit: a file-local
# helper or constant must not share its name with one in another file of the
# same library or test area.
# The benchmarks are left out; ./bench.sh builds them in release mode.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DTAV_SANITIZE=ON -DTAV_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=32 \
  -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld >/dev/null
cmake --build build
# The longest classes mostly wait on pseudo-terminals and child processes,
# so four run at once on two cores.
# LeakSanitizer stays on: the suite is leak-free, Qt's own caches included.
# Should a Qt update make it noisy, ASAN_OPTIONS=detect_leaks=0 turns it off.
cd build
ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j4 --timeout 300
