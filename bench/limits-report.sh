#!/usr/bin/env bash
# Time and peak resident memory of the tools against input size, for the
# inputs whose cost used to grow faster than they do: the parser's fallbacks,
# --match (many rules, many variables), --interpretations and the text report
# on many interpretations, and PNG and SVG export. Each line: the case, its
# size, the input's bytes, seconds, peak MB and MB written.
# usage: bench/limits-report.sh [BUILD-DIR [CASE]] (default build-release;
# CASE: a word of the case names, e.g. match, to run only those)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-release}
report="$build/cli/ostrel-report"
export_tool="$build/cli/ostrel-export"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

input() {  # family size -> path
  local file="$work/$1-$2.kvl"
  [ -f "$file" ] || python3 "$here/limit_inputs.py" "$1" "$2" "$file"
  echo "$file"
}

only=${2:-}

measure() {  # name size input output command...
  local name=$1 size=$2 in=$3 out=$4
  shift 4
  case "$name" in *"$only"*) ;; *) return 0 ;; esac
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > "$work/stdout" 2> "$work/stderr" || true
  local written
  if [ "$out" = - ]; then written=$(stat -c %s "$work/stdout"); else written=$(stat -c %s "$out" 2> /dev/null || echo 0); fi
  awk -v name="$name" -v size="$size" -v bytes="$(stat -c %s "$in")" -v written="$written" \
    '{ printf "%-22s %8s %10d B %8.2f s %9.1f MB peak %9.1f MB written\n", name, size, bytes, $1, $2 / 1024, written / 1048576 }' \
    "$work/time"
  rm -f "$out"
}

for n in 12500 25000 50000 100000; do
  f=$(input fallback $n); measure "fallback report" $n "$f" - "$report" "$f"
done
for n in 2000 4000 8000 16000; do
  f=$(input match $n); measure "--match rules" $n "$f" - "$report" --match "Tweety is a bird" "$f"
done
# A command-line argument holds at most 128 KiB: 10,000 variables used twice.
for n in 2500 5000 10000; do
  f=$(input variables $n); measure "--match variables" $n "$f" - "$report" --match "$(cat "$f.text")" "$f"
done
for n in 12 14 16 18; do
  f=$(input pairs $n); measure "--interpretations" "2^$n" "$f" - "$report" --interpretations "$f"
done
for n in 12 14 16 18; do
  f=$(input pairs $n); measure "text report" "2^$n" "$f" - "$report" "$f"
done
for n in 1000 2000 4000; do
  f=$(input chain $n); measure "PNG support chain" $n "$f" "$work/out.png" "$export_tool" "$f" "$work/out.png"
done
for n in 2000 5000 20000; do
  f=$(input flat $n); measure "PNG statements" $n "$f" "$work/out.png" "$export_tool" "$f" "$work/out.png"
done
for n in 5000 20000 80000; do
  f=$(input flat $n); measure "SVG statements" $n "$f" "$work/out.svg" "$export_tool" "$f" "$work/out.svg"
done
