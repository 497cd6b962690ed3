#!/bin/sh
# Runs every fuzz target for SECONDS on a scratch copy of its seed corpus and
# fails on the first crash, leak, sanitizer report or failed check.
# Usage: smoke.sh BUILD_DIR SECONDS
set -eu
if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

status=0
for name in reader parser commands; do
  binary=$build/tests/fuzz/fuzz_$name
  if [ ! -x "$binary" ]; then
    echo "missing $binary (configure with -DOSTREL_BUILD_FUZZ=ON and build it)" >&2
    exit 2
  fi
  mkdir -p "$work/$name" "$work/$name-artifacts"
  cp "$here/corpus/$name/"* "$work/$name/"
  echo "== fuzz_$name for ${seconds}s"
  # Artifacts go to the scratch directory; a crashing input is printed by
  # libFuzzer (base64 and path) before the directory is removed.
  # TMPDIR: the command target's scratch directory goes with the rest.
  if ! TMPDIR="$work" "$binary" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -dict="$here/kvl.dict" -print_final_stats=1 \
      -artifact_prefix="$work/$name-artifacts/" "$work/$name" >"$work/$name.log" 2>&1; then
    tail -n 60 "$work/$name.log" >&2
    for f in "$work/$name-artifacts/"*; do
      [ -f "$f" ] && { echo "crashing input ($f):" >&2; od -c "$f" | head -n 40 >&2; }
    done
    status=1
  else
    grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|Done)' "$work/$name.log" || true
  fi
done
exit $status
