#!/usr/bin/env bash
# Time and peak memory of `ostrel-report --json` on 16 independent conflicts
# (p_i and q_i attacking each other: 65,536 interpretations), next to the
# interpretation lines and the text report of the same file.
# usage: bench/json-report.sh [BUILD-DIR] (default build-release)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-release}
report="$build/cli/ostrel-report"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

texts=()
for i in $(seq 0 15); do
  texts+=("p$i" "q$i" "if(p$i, x(q$i))" "if(q$i, x(p$i))")
done
python3 "$here/scripts/make-kvl.py" "$work/pairs16.kvl" "$(IFS=';'; echo "${texts[*]}")"

run() {
  local name=$1; shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$report" "$@" "$work/pairs16.kvl" > "$work/out"
  awk -v name="$name" -v bytes="$(stat -c %s "$work/out")" \
    '{ printf "%-18s %7.2f s %8.1f MB peak resident %8.1f MB written\n", name, $1, $2 / 1024, bytes / 1048576 }' \
    "$work/time"
}
run "--json" --json
run "--interpretations" --interpretations
run "text report" 
