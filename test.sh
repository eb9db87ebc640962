#!/usr/bin/env bash
# Sets up, builds a debug build with AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs the whole test suite through CTest, then builds the Debian package from a release build
# and checks it (packaging/check-deb.sh: lintian, AppStream, the installed tool run by a user who
# is not root), then every fuzz target for a short, bounded time (fuzz/run.sh, with clang).
# Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh --test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DKTV_SANITIZE=ON -DKTV_BENCH=OFF >/dev/null
cmake --build build-test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-test --output-on-failure -j"$(nproc)" --timeout 300
./packaging/check-deb.sh
# About 15 s per target: a smoke run on every change; longer runs by hand (fuzz/run.sh 600).
./fuzz/run.sh "${KTV_FUZZ_SECONDS:-15}"
