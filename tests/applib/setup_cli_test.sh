#!/usr/bin/env bash
# torvk32-setup as the desktop entry runs it: the suite set up for a fresh
# user, then the program started on the mission, even when the set-up fails.
set -u
setup=$1
artwork=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
# The pictures' folder given as a relative path, as a user types it.
cd "$(dirname "$artwork")" || exit 1
artwork=$(basename "$artwork")

# A stand-in for the viewer: notes its arguments, one a line.
cat >"$tmp/viewer" <<'SH'
#!/bin/sh
: >"$(dirname "$0")/started"
for arg in "$@"; do echo "$arg" >>"$(dirname "$0")/started"; done
exit 7
SH
chmod +x "$tmp/viewer"

# run NAME EXPECTED-EXIT ARGS...: torvk32-setup for a user whose homes lie
# in $tmp/NAME.
run() {
  local name=$1 code=$2
  shift 2
  rm -f "$tmp/started"
  XDG_CONFIG_HOME="$tmp/$name/config" XDG_DATA_HOME="$tmp/$name/data" \
    "$setup" --program "$tmp/viewer" --artwork "$artwork" "$@" 2>"$tmp/err"
  local got=$?
  if [ "$got" -ne "$code" ]; then
    echo "FAIL: $name: torvk32-setup $* exited $got, wanted $code"; cat "$tmp/err"; fail=1
  fi
}
started_with() {
  local what=$1 want=$2
  if [ ! -f "$tmp/started" ]; then
    echo "FAIL: $what: the program was not started"; fail=1
  elif [ "$(cat "$tmp/started")" != "$want" ]; then
    echo "FAIL: $what: the program got '$(cat "$tmp/started")', wanted '$want'"; fail=1
  fi
}

run fresh 7 --start "/missions/with space/m.fs2"
started_with "fresh user" "/missions/with space/m.fs2"
grep -q "^Brix3=$tmp/fresh/data/veltrane/\$" "$tmp/fresh/config/brix.cfg" ||
  { echo "FAIL: fresh user: no brix.cfg naming the library"; fail=1; }
[ "$(readlink "$tmp/fresh/data/veltrane/torvk32/torvk32")" = "$tmp/viewer" ] ||
  { echo "FAIL: fresh user: no program link"; fail=1; }
cmp -s "$artwork/torvk32.jpg" "$tmp/fresh/data/veltrane/torvk32/torvk32.jpg" ||
  { echo "FAIL: fresh user: splash picture not copied"; fail=1; }

run fresh 7 --start
started_with "started from the menu without a mission" ""

# A config home that cannot be made: the program still starts and says
# itself what is missing.
touch "$tmp/file"
run file/below 7 --start m.fs2
started_with "set-up failed" "m.fs2"
grep -q 'cannot create' "$tmp/err" || { echo "FAIL: set-up failure not reported"; cat "$tmp/err"; fail=1; }

run plain 0
[ -f "$tmp/started" ] && { echo "FAIL: the program was started without --start"; fail=1; }

XDG_CONFIG_HOME="$tmp/y/config" XDG_DATA_HOME="$tmp/y/data" \
  "$setup" --program "$tmp/none" --artwork "$artwork" --start 2>"$tmp/err"
[ $? -eq 1 ] && grep -q "cannot start $tmp/none: No such file" "$tmp/err" ||
  { echo "FAIL: a missing program is not reported"; cat "$tmp/err"; fail=1; }

"$setup" --bogus 2>"$tmp/err"
[ $? -eq 2 ] && grep -q '^usage: torvk32-setup' "$tmp/err" || { echo "FAIL: no usage for --bogus"; fail=1; }
exit $fail
