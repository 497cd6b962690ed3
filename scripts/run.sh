#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target ostrel-report
exec build/cli/ostrel-report "${@:-examples/three-interpretations.kvl}"
