#!/usr/bin/env bash
# Builds the program and starts it in the current directory, where it keeps
# its working file "~tmp.kvl". Needs a display (see the README for Xvfb).
set -euo pipefail
here=$(pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target ostrel
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display: start one first, e.g. 'Xvfb :99 -screen 0 1280x1024x24 & DISPLAY=:99 $0'" >&2
  exit 1
fi
cd "$here"
exec "$root/build/app/ostrel" "$@"
