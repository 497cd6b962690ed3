#!/usr/bin/env bash
# Formats every tracked C++ file with the tree's .clang-format; with --check,
# changes nothing and fails when a file differs.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
if [[ "${1:-}" == --check ]]; then
  clang-format-14 --dry-run -Werror "${files[@]}"
  echo "format: ${#files[@]} files as .clang-format has them"
else
  clang-format-14 -i "${files[@]}"
fi
