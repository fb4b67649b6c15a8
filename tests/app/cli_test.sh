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
  # A refusal must come at once; a call that blocks fails here.
  timeout 10 "$bin" "$@" >"$tmp/out" 2>"$tmp/err" </dev/null
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
# The event flow graph: DOT, and SVG laid out by Graphviz, which only the
# SVG loads.
expect 0 '^digraph mission \{$' '' --export dot "$sample"
expect 0 '^<svg xmlns=' '' --export svg "$sample"
for format in dot svg; do
  expect 1 '' "^torvk32: cannot open $tmp/none.fs2: No such file or directory\$" --export $format "$tmp/none.fs2"
done
if ldd "$bin" | grep -q 'libgvc\|libcgraph'; then echo "FAIL: torvk32 is linked to Graphviz"; fail=1; fi
for args in "--version" "--export text $sample" "--export dot $sample"; do
  # shellcheck disable=SC2086 # the options are words
  if LD_DEBUG=files "$bin" $args 2>&1 >/dev/null | grep -q 'libgvc'; then
    echo "FAIL: torvk32 $args loads Graphviz"; fail=1
  fi
done
LD_DEBUG=files "$bin" --export svg "$sample" 2>&1 >/dev/null | grep -q 'file=libgvc.so.6' ||
  { echo "FAIL: torvk32 --export svg does not load Graphviz"; fail=1; }

# Only regular files are read by name: anything else is refused at once,
# with one line naming the file and why.
mkfifo "$tmp/pipe.fs2"
ln -s "$tmp/gone.fs2" "$tmp/dangling.fs2"
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$tmp/socket.fs2"
for format in json text; do
  expect 1 '' "^torvk32: cannot open $tmp/pipe.fs2: Not a regular file \(a named pipe\)\$" --export $format "$tmp/pipe.fs2"
  expect 1 '' "^torvk32: cannot open /dev/zero: Not a regular file \(a character device\)\$" --export $format /dev/zero
  expect 1 '' "^torvk32: cannot open /dev/urandom: Not a regular file \(a character device\)\$" --export $format /dev/urandom
  expect 1 '' "^torvk32: cannot open $tmp/dangling.fs2: Broken symbolic link" --export $format "$tmp/dangling.fs2"
  expect 1 '' "^torvk32: cannot open $tmp/socket.fs2: Not a regular file \(a socket\)\$" --export $format "$tmp/socket.fs2"
done

# "-" reads standard input, also through a pipe, and gives the document of
# the file itself with "-" as its name; whatever the encoding (the second
# decoding of a file that is not UTF-8 must not need to read it again).
printf '#Events\r\n$Formula: ( true )\r\n+Name: Caf\xe9\r\n' >"$tmp/cp1252.fs2"
python3 -c 'import sys; open(sys.argv[2], "wb").write(open(sys.argv[1], "rb").read().decode("cp1252").encode("utf-16"))' \
  "$tmp/cp1252.fs2" "$tmp/utf16.fs2"
for mission in "$sample" "$tmp/cp1252.fs2" "$tmp/utf16.fs2"; do
  name=$(basename "$mission")
  "$bin" --export json "$mission" | sed "s|^{\"file\":\"$mission\"|{\"file\":\"-\"|" >"$tmp/want.json"
  cat "$mission" | "$bin" --export json - >"$tmp/got.json" 2>"$tmp/err" ||
    { echo "FAIL: --export json - from a pipe ($name) failed"; cat "$tmp/err"; fail=1; }
  cmp -s "$tmp/want.json" "$tmp/got.json" || { echo "FAIL: --export json - differs from the file ($name)"; fail=1; }
  "$bin" --export text "$mission" | sed "1s|^Mission: $name\$|Mission: -|" >"$tmp/want.txt"
  "$bin" --export text - <"$mission" >"$tmp/got.txt" 2>"$tmp/err" ||
    { echo "FAIL: --export text - from a file failed ($name)"; cat "$tmp/err"; fail=1; }
  cmp -s "$tmp/want.txt" "$tmp/got.txt" || { echo "FAIL: --export text - differs from the file ($name)"; fail=1; }
done
grep -q 'Caf\\u00e9\|Café' "$tmp/got.json" || { echo "FAIL: the Windows-1252 mission lost its text"; fail=1; }

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
expect 1 '' "^torvk32: cannot open $tmp/pipe.fs2: Not a regular file \(a named pipe\)\$" --check "$tmp/pipe.fs2"
"$bin" --check - <"$tmp/warn.fs2" 2>/dev/null | grep -q '^-:2: warning: ' ||
  { echo "FAIL: --check - does not read standard input"; fail=1; }
expect 2 '' '^usage: ' --check
expect 2 '' '^usage: ' --check --format json
expect 2 '' '^usage: ' --check --format yaml "$sample"
# The check's options in any order before the missions; --files-from takes
# them one a line, from a file or standard input; --ignore leaves a rule out.
printf '#Events\r\n$Formula: ( when ( bogus ) ( is-event-true "Nothing" ) )\r\n+Name: E\r\n' >"$tmp/two.fs2"
printf '%s\n\n%s\n' "$tmp/warn.fs2" "$tmp/two.fs2" >"$tmp/list.txt"
expect 1 "^$tmp/two.fs2:2: error: " '^1 error, 2 warnings in 2 missions$' --check --files-from "$tmp/list.txt"
expect 1 "^$tmp/two.fs2:2: error: " '^1 error, 2 warnings in 2 missions$' --files-from "$tmp/list.txt" --check
expect 0 "^$tmp/two.fs2:2: warning: bogus" '^0 errors, 1 warning in 1 mission$' --check --ignore unknown-name "$tmp/two.fs2"
expect 0 '' '^0 errors, 0 warnings in 1 mission$' --check --ignore unknown-name --ignore unknown-operator "$tmp/two.fs2"
expect 1 "^$tmp/two.fs2:2: error: " '^1 error in 2 missions$' --check --errors-only --ignore case-only-name --files-from "$tmp/list.txt"
"$bin" --check --files-from - <"$tmp/list.txt" 2>"$tmp/err" | grep -q "^$tmp/warn.fs2:2: warning: " ||
  { echo "FAIL: --files-from - does not read standard input"; fail=1; }
grep -qx '1 error, 2 warnings in 2 missions' "$tmp/err" || { echo "FAIL: --files-from - summary"; cat "$tmp/err"; fail=1; }
expect 1 '"version":"2.1.0"' ' in 2 missions$' --check --format sarif --files-from "$tmp/list.txt"
expect 2 '' '^torvk32: cannot read the list ' --check --files-from "$tmp/none.txt"
expect 2 '' '^torvk32: unknown rule no-such-rule$' --check --ignore no-such-rule "$sample"
expect 2 '' '^usage: ' --check "$sample" --unused
expect 0 'usage: ' '' --help
expect 0 '1.0 Beta 01b' '' --version
[ "$(wc -l <"$tmp/err")" -le 1 ] || { echo "FAIL: more than one error line"; fail=1; }

# torvk32 itself loads no Qt: the window is torvk32-window from its own
# directory, run in its place with the same arguments and streams, whose exit
# status is the program's.
if ldd "$bin" | grep -qi 'libQt'; then echo "FAIL: torvk32 loads Qt:"; ldd "$bin" | grep -i qt; fail=1; fi
mkdir "$tmp/bin"
cp "$bin" "$tmp/bin/torvk32"
bin="$tmp/bin/torvk32"
expect 2 '' '^torvk32: built without the window; only --export and --check are available$' "$sample"
printf '#!/bin/sh\nprintf "[%%s]" "$@"; echo; cat; echo "window says" >&2; exit 7\n' >"$tmp/bin/torvk32-window"
chmod +x "$tmp/bin/torvk32-window"
got=$(echo "from stdin" | "$bin" "a b" "$sample" 2>"$tmp/err")
code=$?
[ "$code" -eq 7 ] || { echo "FAIL: the window's exit status 7 came back as $code"; fail=1; }
[ "$got" = "[a b][$sample]
from stdin" ] || { echo "FAIL: the window got: $got"; fail=1; }
grep -qx "window says" "$tmp/err" || { echo "FAIL: the window's standard error is lost"; fail=1; }
[ "$("$bin" </dev/null 2>/dev/null)" = "[]" ] || { echo "FAIL: torvk32 without arguments gave the window arguments"; fail=1; }
expect 0 '"sections"' '' --export json "$sample"
chmod -x "$tmp/bin/torvk32-window"
expect 2 '' "^torvk32: cannot start $tmp/bin/torvk32-window: Permission denied\$" "$sample"
exit $fail
