#!/usr/bin/env bash
# Builds everything and runs every test: the format check, a short fuzzing
# smoke run, the test suites under AddressSanitizer and UBSan, then the
# regular build's suites.
# The last lines are CTest's summary of the regular build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== format"
scripts/format.sh --check

echo "== fuzzing smoke run"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DOSTREL_BUILD_GUI=OFF -DOSTREL_BUILD_TESTS=OFF -DOSTREL_BUILD_BENCH=OFF \
  -DOSTREL_BUILD_FUZZ=ON -DOSTREL_SANITIZE=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
tests/fuzz/smoke.sh build-fuzz "${OSTREL_FUZZ_SECONDS:-20}"

echo "== sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON -DOSTREL_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j"$jobs" --output-on-failure

echo "== regular build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure | tee build/ctest.log

# One closing line with the counts (CTest lists skipped tests after its summary).
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' build/ctest.log | tail -n 1)
failed=$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' build/ctest.log | tail -n 1)
skipped=$(grep -c '\*\*\*Skipped' build/ctest.log || true)
echo "ctest: $((total - failed - skipped)) passed, $failed failed, $skipped skipped"
