#!/usr/bin/env bash
# Checks the program's exit codes and output streams for its options.
set -u
bin=$1
sample=$2
fail=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# expect CODE STDOUT-PATTERN STDERR-PATTERN ARGS...
expect() {
  local code=$1 out_pat=$2 err_pat=$3
  shift 3
  "$bin" "$@" >"$tmp/out" 2>"$tmp/err"
  local got=$?
  if [ "$got" -ne "$code" ]; then
    echo "FAIL: torvk32 $* exited $got, wanted $code"; fail=1
  fi
  if ! grep -qE -- "$out_pat" "$tmp/out" && [ -n "$out_pat" ]; then
    echo "FAIL: torvk32 $*: stdout does not match '$out_pat'"; head -3 "$tmp/out"; fail=1
  fi
  if [ -z "$out_pat" ] && [ -s "$tmp/out" ]; then
    echo "FAIL: torvk32 $*: stdout should be empty"; fail=1
  fi
  if [ -n "$err_pat" ] && ! grep -qE -- "$err_pat" "$tmp/err"; then
    echo "FAIL: torvk32 $*: stderr does not match '$err_pat'"; cat "$tmp/err"; fail=1
  fi
  if [ -z "$err_pat" ] && [ -s "$tmp/err" ]; then
    echo "FAIL: torvk32 $*: stderr should be empty"; cat "$tmp/err"; fail=1
  fi
}

expect 0 '"sections"' '' --export json "$sample"
expect 0 '^== 4 Events ==$' '' --export text "$sample"
expect 1 '' "^torvk32: cannot open $tmp/none.fs2: No such file or directory\$" --export text "$tmp/none.fs2"
expect 1 '' "^torvk32: cannot open $tmp/none.fs2: No such file or directory\$" --export json "$tmp/none.fs2"
expect 1 '' "^torvk32: cannot open $tmp: Is a directory\$" --export json "$tmp"
expect 2 '' '^usage: ' --export
expect 2 '' '^usage: ' --export xml "$sample"
expect 2 '' '^usage: ' --export json "$sample" extra
expect 2 '' '^usage: ' --export text
expect 2 '' '^usage: ' --bogus
# The FreeSpace Open translation: the option anywhere before the mission.
expect 0 '"sections"' '' --export json --modern-operators "$sample"
expect 0 '^== 4 Events ==$' '' --modern-operators --export text "$sample"
expect 2 '' '^usage: ' --export json --modern-operators
expect 2 '' '^usage: ' --export json --modern-operators --modern-operators "$sample"
expect 2 '' '^usage: ' --export json "$sample" --modern-operators
expect 2 '' '^usage: ' --modern-operators "$sample"
expect 2 '' '^usage: ' --export --modern-operators json "$sample"
expect 2 '' '^usage: ' --export json --export text "$sample"
printf '#Events\r\n$Formula: ( is-event-true "e" )\r\n+Name: E\r\n' >"$tmp/warn.fs2"
expect 1 "^$sample:[0-9]+: error: " '^[0-9]+ errors, 0 warnings in 1 mission$' --check "$sample"
expect 0 "^$tmp/warn.fs2:2: warning: " '^0 errors, 1 warning in 1 mission$' --check "$tmp/warn.fs2"
expect 1 "^$tmp/warn.fs2:2: warning: " "^torvk32: cannot open $tmp/none.fs2: No such file" --check "$tmp/none.fs2" "$tmp/warn.fs2"
expect 1 '^\[\{"file":' ' in 2 missions$' --check --format json "$sample" "$tmp/warn.fs2"
expect 2 '' '^usage: ' --check
expect 2 '' '^usage: ' --check --format json
expect 2 '' '^usage: ' --check --format yaml "$sample"
expect 0 'usage: ' '' --help
expect 0 '1.0 Beta 01b' '' --version
[ "$(wc -l <"$tmp/err")" -le 1 ] || { echo "FAIL: more than one error line"; fail=1; }
exit $fail
