#!/usr/bin/env bash
# The installed tools as a user meets them: option forms, "-" for standard
# input and output, an error message with its reason and exit code for every
# class of failure, a full disk and a closed pipe for every output mode, input
# that is no theory, and running out of memory. Also renders the installed
# man pages and asks the installed completion for options and files.
#
# ToolConventions.sh PREFIX EXAMPLES WORKDIR VERSION MAKE_KVL SANITIZED
set -uo pipefail
prefix=$1 examples=$2 work=$3 version=$4 make_kvl=$5 sanitized=${6:-OFF}
bin=$prefix/bin
birds=$examples/birds.kvl
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# run CMD...: sets rc, out (standard output, kept in the file out) and err.
run() {
  "$@" >out 2>err
  rc=$?
  out=$(cat out)
  # Qt's note about XDG_RUNTIME_DIR is the environment's, not the tool's.
  err=$(grep -v '^QStandardPaths: ' err)
}

# expect RC ERR-LINE CMD...: the exit code and the whole of standard error.
expect() {
  local want_rc=$1 want_err=$2
  shift 2
  run "$@"
  [[ $rc == "$want_rc" && $err == "$want_err" ]] ||
    fail "$*: exit $rc (want $want_rc), stderr '$err' (want '$want_err')"
}

tools=(ostrel-report)
[[ -x $bin/ostrel-export ]] && tools+=(ostrel-export)
[[ -x $bin/ostrel ]] && tools+=(ostrel)
all_tools=("${tools[@]}")

usage_of() {
  case $1 in
    ostrel-report) echo "Usage: ostrel-report [OPTION]... FILE" ;;
    ostrel-export) echo "Usage: ostrel-export [OPTION]... FILE OUT" ;;
    ostrel) echo "Usage: ostrel [OPTION]... [FILE]" ;;
  esac
}
options_of() {
  case $1 in
    ostrel-report) echo "--json --interpretations --match --no-parse --structure-only --help --version" ;;
    ostrel-export) echo "--format --interpretation --no-parse --structure-only --hide-negations --help --version" ;;
    ostrel) echo "--help --version" ;;
  esac
}

## Options by the platform's conventions.
for tool in "${all_tools[@]}"; do
  usage=$(usage_of "$tool")
  run "$bin/$tool" --help
  help=$out
  [[ $rc == 0 && $err == "" && $(head -n 1 out) == "$usage" ]] || fail "$tool --help: exit $rc, '$err'"
  for option in $(options_of "$tool"); do
    grep -q -- " $option\b" out || fail "$tool --help does not list $option"
  done
  run "$bin/$tool" -h
  [[ $rc == 0 && $out == "$help" ]] || fail "$tool -h differs from --help"
  for form in --version -V; do
    run "$bin/$tool" $form
    [[ $rc == 0 && $(head -n 1 out) == "$tool $version" ]] || fail "$tool $form: exit $rc, '$(head -n 1 out)'"
  done
  try="Try '$tool --help' for more information."
  for wrong in --bogus -Z; do
    run "$bin/$tool" $wrong "$birds"
    [[ $rc == 2 && $out == "" && $err == "$tool: "*"${wrong##*-}"*$'\n'"$usage"$'\n'"$try" ]] ||
      fail "$tool $wrong: exit $rc, stderr '$err'"
  done
  # Help and version are output too: a full disk is a failure.
  for option in --help --version; do
    "$bin/$tool" $option >/dev/full 2>err
    rc=$?
    [[ $rc == 1 && $(cat err) == "$tool: standard output: No space left on device" ]] ||
      fail "$tool $option >/dev/full: exit $rc, '$(cat err)'"
  done
done

# An option that needs a value, given without one.
expect 2 "ostrel-report: option '--match' requires an argument"$'\n'"$(usage_of ostrel-report)"$'\n'"Try 'ostrel-report --help' for more information." \
  "$bin/ostrel-report" "$birds" --match
expect 2 "ostrel-report: option '--json' doesn't allow an argument"$'\n'"$(usage_of ostrel-report)"$'\n'"Try 'ostrel-report --help' for more information." \
  "$bin/ostrel-report" --json=yes "$birds"
# Operands missing, or one too many.
for args in "" "$birds $birds"; do
  run "$bin/ostrel-report" $args
  [[ $rc == 2 && $out == "" && $err == "ostrel-report: "*"$(usage_of ostrel-report)"* ]] ||
    fail "ostrel-report $args: exit $rc"
done

# "--" ends the options: a file may be called like one.
cp "$birds" ./--json
run "$bin/ostrel-report" "$birds"
text_report=$out
run "$bin/ostrel-report" -- --json
[[ $rc == 0 && $out == "$text_report" ]] || fail "ostrel-report -- --json: exit $rc, not the text report of the file --json"

# The window reads its command line before it connects to a display.
if [[ -x $bin/ostrel ]]; then
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$bin/ostrel" --help >out 2>err
  rc=$?
  [[ $rc == 0 && $(head -n 1 out) == "$(usage_of ostrel)" ]] || fail "ostrel --help without a display: exit $rc"
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$bin/ostrel" --bogus >out 2>err
  [[ $? == 2 ]] || fail "ostrel --bogus without a display is no usage error"
  expect 2 "ostrel: extra operand 'b.kvl'"$'\n'"$(usage_of ostrel)"$'\n'"Try 'ostrel --help' for more information." \
    "$bin/ostrel" a.kvl b.kvl
fi

## Standard input and output.
modes=("" --structure-only --no-parse --json --interpretations "--match=Tweety is a bird")
for mode in "${modes[@]}"; do
  run "$bin/ostrel-report" ${mode:+"$mode"} "$birds"
  want=$out
  [[ $rc == 0 && -n $want ]] || fail "ostrel-report $mode: exit $rc"
  # A file on standard input, and a pipe, which has no size to go by.
  "$bin/ostrel-report" ${mode:+"$mode"} - <"$birds" >out 2>err
  [[ $? == 0 && $(cat out) == "$want" ]] || fail "ostrel-report $mode - <FILE differs"
  cat "$birds" | "$bin/ostrel-report" ${mode:+"$mode"} - >out 2>err
  [[ $? == 0 && $(cat out) == "$want" ]] || fail "ostrel-report $mode - from a pipe differs"
done

if [[ -x $bin/ostrel-export ]]; then
  for format in svg png pdf; do
    expect 0 "" "$bin/ostrel-export" "$birds" "birds.$format"
    "$bin/ostrel-export" --format "$format" "$birds" - >"stdout.$format" 2>err
    rc=$?
    if [[ $format == pdf ]]; then
      # A PDF carries its time of writing: compare what it shows.
      [[ $rc == 0 && $(pdftotext "stdout.pdf" - 2>&1) == "$(pdftotext birds.pdf - 2>&1)" ]] ||
        fail "ostrel-export --format pdf FILE - differs"
    else
      cmp -s "stdout.$format" "birds.$format" || fail "ostrel-export --format $format FILE - differs (exit $rc)"
    fi
  done
  "$bin/ostrel-export" - from-stdin.png <"$birds" 2>err
  cmp -s from-stdin.png birds.png || fail "ostrel-export - OUT differs from reading the file"
  # --format wins over the extension, and stands in for a missing one.
  expect 0 "" "$bin/ostrel-export" --format=png "$birds" named.svg
  cmp -s named.svg birds.png || fail "--format png with OUT.svg did not write PNG"
  expect 0 "" "$bin/ostrel-export" --format PDF "$birds" no-extension
  [[ $(head -c 5 no-extension) == "%PDF-" ]] || fail "--format PDF with no extension did not write PDF"
  export_usage=$'\n'"$(usage_of ostrel-export)"$'\n'"Try 'ostrel-export --help' for more information."
  expect 2 "ostrel-export: standard output has no extension: give --format$export_usage" \
    "$bin/ostrel-export" "$birds" -
  expect 2 "ostrel-export: out.txt: the extension is none of .svg, .png, .pdf: give --format$export_usage" \
    "$bin/ostrel-export" "$birds" out.txt
  expect 2 "ostrel-export: --format: 'gif' is none of svg, png, pdf$export_usage" \
    "$bin/ostrel-export" --format gif "$birds" out.svg
  expect 2 "ostrel-export: Missing value after '--interpretation'.$export_usage" \
    "$bin/ostrel-export" "$birds" out.svg --interpretation
  expect 2 "ostrel-export: no interpretation 2: the theory gives 0 buttons$export_usage" \
    "$bin/ostrel-export" --interpretation 2 "$birds" out.svg
  cp "$birds" ./--in.kvl
  expect 0 "" "$bin/ostrel-export" -- --in.kvl -out.svg
  [[ $(head -c 5 ./-out.svg) == "<?xml" ]] || fail "ostrel-export -- did not take --in.kvl and -out.svg as operands"
  [[ ! -e out.svg && ! -e out.txt ]] || fail "ostrel-export wrote a file after a usage error"
fi

## Errors that say why: "PROGRAM: FILE: reason", exit 1.
mkdir folder
printf 'hi\n' >hi.txt
ln -s loop loop
printf '' >empty.kvl
# Bytes the reader finds no opening tag in: lower case, after a NUL byte.
printf '<karvel>\r\n</karvel>\r\n' >lower.kvl
printf 'x\0<KARVEL>\r\n</KARVEL>\r\n' >after-nul.kvl
# Bytes it does: an opening tag alone, amid other text, CR line ends.
printf '<KARVEL>' >tag-only.kvl
printf 'notes\n<KARVEL>\n</KARVEL>\ntrailer' >amid.kvl
printf '<KARVEL>\r<THEORY>\r</THEORY>\r</KARVEL>\r' >cr.kvl

input_cases=(
  "missing.kvl|No such file or directory"
  "folder|Is a directory"
  "loop|Too many levels of symbolic links"
  "hi.txt/x.kvl|Not a directory"
  "hi.txt|not a theory file"
  "empty.kvl|not a theory file"
  "lower.kvl|not a theory file"
  "after-nul.kvl|not a theory file"
)
if [[ $(id -u) != 0 ]]; then
  printf '<KARVEL>\n</KARVEL>\n' >locked.kvl && chmod 000 locked.kvl
  input_cases+=("locked.kvl|Permission denied")
fi
for case in "${input_cases[@]}"; do
  file=${case%%|*} reason=${case#*|}
  expect 1 "ostrel-report: $file: $reason" "$bin/ostrel-report" "$file"
  [[ $out == "" ]] || fail "ostrel-report $file wrote a report"
  expect 1 "ostrel-report: $file: $reason" "$bin/ostrel-report" --json "$file"
  if [[ -x $bin/ostrel-export ]]; then
    expect 1 "ostrel-export: $file: $reason" "$bin/ostrel-export" "$file" never.svg
    [[ ! -e never.svg ]] || fail "ostrel-export $file left never.svg"
  fi
done
expect 1 "ostrel-report: standard input: not a theory file" "$bin/ostrel-report" - <hi.txt
for file in tag-only.kvl amid.kvl cr.kvl; do
  expect 0 "" "$bin/ostrel-report" "$file"
done

if [[ -x $bin/ostrel-export ]]; then
  expect 1 "ostrel-export: missing/out.svg: No such file or directory" "$bin/ostrel-export" "$birds" missing/out.svg
  expect 1 "ostrel-export: folder: Is a directory" "$bin/ostrel-export" --format svg "$birds" folder
  expect 1 "ostrel-export: hi.txt/out.svg: Not a directory" "$bin/ostrel-export" "$birds" hi.txt/out.svg
  expect 1 "ostrel-export: standard input: not a theory file" "$bin/ostrel-export" --format svg - out.svg <hi.txt
  # An existing file is replaced whole and keeps its mode and its links.
  printf 'old' >kept.png && chmod 640 kept.png && ln -s kept.png link.png
  expect 0 "" "$bin/ostrel-export" "$birds" link.png
  [[ -L link.png && $(stat -c %a kept.png) == 640 ]] && cmp -s kept.png birds.png ||
    fail "ostrel-export through a link: mode $(stat -c %a kept.png), link $(readlink link.png)"
  ls -a | grep -q '^\.kept\.png\.' && fail "ostrel-export left its temporary file"
fi

## Every output mode on a full disk, and on a pipe that closes early.
for mode in "${modes[@]}"; do
  "$bin/ostrel-report" ${mode:+"$mode"} "$birds" >/dev/full 2>err
  rc=$?
  [[ $rc == 1 && $(cat err) == "ostrel-report: standard output: No space left on device" ]] ||
    fail "ostrel-report $mode >/dev/full: exit $rc, '$(cat err)'"
done
if [[ -x $bin/ostrel-export ]]; then
  for format in svg png pdf; do
    "$bin/ostrel-export" --format $format "$birds" - >/dev/full 2>err
    rc=$?
    [[ $rc == 1 && $(grep -v '^QStandardPaths: ' err) == "ostrel-export: standard output: No space left on device" ]] ||
      fail "ostrel-export --format $format >/dev/full: exit $rc"
  done
  # A device as OUT is written in place, never replaced.
  expect 1 "ostrel-export: /dev/full: No space left on device" "$bin/ostrel-export" --format png "$birds" /dev/full
  [[ -c /dev/full ]] || fail "/dev/full is no longer a device"
fi

# Twelve independent conflicts: 4,096 interpretations, 1.8 MB of lines, far
# more than a pipe holds.
theory=""
for i in $(seq 12); do theory+="a$i; b$i; if(a$i, x(b$i)); if(b$i, x(a$i)); "; done
python3 "$make_kvl" conflicts.kvl "$theory"
for mode in --interpretations --json ""; do
  "$bin/ostrel-report" $mode conflicts.kvl 2>err | head -c 1 >/dev/null
  rc=${PIPESTATUS[0]}
  # Killed by SIGPIPE (128 + 13), or exit 1 where the signal is ignored.
  [[ $rc == 141 ]] || fail "ostrel-report $mode into a closed pipe: exit $rc"
  (trap '' PIPE && "$bin/ostrel-report" $mode conflicts.kvl 2>err | head -c 1 >/dev/null && exit "${PIPESTATUS[0]}")
  rc=$?
  [[ $rc == 1 && $(cat err) == "ostrel-report: standard output: Broken pipe" ]] ||
    fail "ostrel-report $mode into a closed pipe, SIGPIPE ignored: exit $rc, '$(cat err)'"
done

## Out of memory: reported, exit 1, never an abort. Each limit lets the
## same program finish a smaller task, so it is the task that runs out.
## AddressSanitizer reserves more address space than any such limit allows
## and handles failed allocations itself: sanitizer builds leave this out.
memory_checks() {
limited() {
  local limit=$1
  shift
  bash -c 'ulimit -v "$0" && exec "$@"' "$limit" "$@"
}
# A file far larger than the limit (sparse: it takes no disk).
printf '<KARVEL>\n' >huge.kvl && truncate -s 8G huge.kvl
fifteen=""
for i in $(seq 15); do fifteen+="a$i; b$i; if(a$i, x(b$i)); if(b$i, x(a$i)); "; done
python3 "$make_kvl" conflicts15.kvl "$fifteen"
memory_cases=(
  # limit in KiB | what fits | what does not
  "200000|$bin/ostrel-report $birds|$bin/ostrel-report huge.kvl"
  # Neither the interpretation lines nor the text report of 32,768
  # interpretations (50 MB) are held whole.
  "150000|$bin/ostrel-report --interpretations conflicts15.kvl|$bin/ostrel-report huge.kvl"
  "150000|$bin/ostrel-report conflicts15.kvl|$bin/ostrel-report huge.kvl"
)
[[ -x $bin/ostrel-export ]] &&
  memory_cases+=("2000000|$bin/ostrel-export $birds fits.png|$bin/ostrel-export huge.kvl huge.png")
for case in "${memory_cases[@]}"; do
  IFS='|' read -r limit fits exceeds <<<"$case"
  limited "$limit" $fits >/dev/null 2>err
  rc=$?
  [[ $rc == 0 ]] || fail "under ulimit -v $limit, '$fits' failed: exit $rc, $(cat err)"
  limited "$limit" $exceeds >out 2>err
  rc=$?
  tool=$(basename "${exceeds%% *}")
  [[ $rc == 1 && $(grep -v '^QStandardPaths: ' err) == "$tool: out of memory" && ! -s out ]] ||
    fail "under ulimit -v $limit, '$exceeds': exit $rc, '$(cat err)'"
done
# From a pipe the size is unknown: the input grows until it cannot.
(ulimit -v 300000 && head -c 2G /dev/zero | "$bin/ostrel-report" - >/dev/null 2>err && exit "${PIPESTATUS[1]}")
rc=$?
[[ $rc == 1 && $(cat err) == "ostrel-report: out of memory" ]] || fail "2 GB on a pipe under a limit: exit $rc"
}
if [[ $sanitized == ON ]]; then
  echo "memory limits left out: a sanitizer build"
else
  memory_checks
fi

## The installed man pages and completion.
for tool in "${all_tools[@]}"; do
  page=$prefix/share/man/man1/$tool.1.gz
  if [[ ! -f $page ]]; then
    fail "no man page $page"
    continue
  fi
  text=$(MANWIDTH=80 man -l "$page" 2>err)
  [[ $? == 0 && ! -s err && $text == *"$tool $version"* ]] || fail "man -l $page: '$(cat err)'"
  for option in $(options_of "$tool"); do
    [[ $text == *"$option"* ]] || fail "the man page of $tool does not mention $option"
  done
  [[ $text == *"Exit status:"* && $text == *"SEE ALSO"* ]] || fail "the man page of $tool lacks sections"
done

completions=$prefix/share/bash-completion/completions
if [[ -f /usr/share/bash-completion/bash_completion ]]; then
  mkdir -p tree/sub && touch tree/a.kvl tree/B.KVL tree/c.txt tree/d.svg
  # complete TOOL WORD...: the candidates for the last word, one a line.
  complete_words() {
    local tool=$1
    shift
    (cd tree && bash -c '
      source /usr/share/bash-completion/bash_completion
      source "$0" || exit 1
      compopt() { :; }  # only a running completion may set its options
      COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
      COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
      fn=$(complete -p "$1" | sed -n "s/.*-F \([^ ]*\) .*/\1/p")
      "$fn" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
      printf "%s\n" "${COMPREPLY[@]}" | sort' "$completions/$tool" "$tool" "$@")
  }
  for tool in "${all_tools[@]}"; do
    [[ -f $completions/$tool ]] || {
      fail "no completion for $tool"
      continue
    }
    # Every option --help lists, and no other.
    want=$("$bin/$tool" --help | grep -o -- '--[a-z-]*' | grep -v '^--$' | sort -u)
    got=$(complete_words "$tool" -- | sed 's/=$//' | sort -u)
    [[ $got == "$want" ]] || fail "completion of $tool -- gives '$got', --help lists '$want'"
    got=$(complete_words "$tool" "")
    [[ $got == $'B.KVL\na.kvl\nsub' ]] || fail "completion of $tool FILE gives '$got'"
  done
  got=$(complete_words ostrel-report --st)
  [[ $got == "--structure-only" ]] || fail "completion of ostrel-report --st gives '$got'"
  if [[ -x $bin/ostrel-export ]]; then
    got=$(complete_words ostrel-export --format "")
    [[ $got == $'pdf\npng\nsvg' ]] || fail "completion of --format gives '$got'"
    got=$(complete_words ostrel-export --format=p)
    [[ $got == $'pdf\npng' ]] || fail "completion of --format=p gives '$got'"
    # The second operand is the picture.
    got=$(complete_words ostrel-export --no-parse a.kvl "")
    [[ $got == $'d.svg\nsub' ]] || fail "completion of OUT gives '$got'"
    got=$(complete_words ostrel-export --format svg a.kvl "")
    [[ $got == $'d.svg\nsub' ]] || fail "completion of OUT after --format VALUE gives '$got'"
  fi
else
  fail "bash-completion is not installed"
fi

((failures == 0)) || {
  echo "$failures failures" >&2
  exit 1
}
echo "all tool conventions hold"
