#!/usr/bin/env bash
# Missions in git: with the README's two lines, `git diff` and `git log -p`
# show a mission as its text export, and a change to one event shows as that
# event's lines and nothing else.
set -euo pipefail
bin=$1
sample=$2
repo=$(mktemp -d)
trap 'rm -rf "$repo"' EXIT
fail=0

git() { command git -C "$repo" -c user.name=Test -c user.email=test@example.org "$@"; }
git init -q
echo '*.fs2 diff=fs2' >"$repo/.gitattributes"
git config diff.fs2.textconv "$bin --export text"
mkdir "$repo/missions"
cp "$sample" "$repo/missions/m.fs2"
git add .
git commit -q -m "sample"

# One event's message delay: 2000 ms becomes 3000 ms.
sed -i 's/"Thanks" 2000 )/"Thanks" 3000 )/' "$repo/missions/m.fs2"
want=$(printf '%s\n' \
  '-       ( send-message-list "#Command" "High" "Picket down" 0 "Relay Tender" "Normal" "Thanks" 2000 )' \
  '-     InXMilliSeconds(2000).SendMessage("Relay Tender","Thanks","Normal")' \
  '+       ( send-message-list "#Command" "High" "Picket down" 0 "Relay Tender" "Normal" "Thanks" 3000 )' \
  '+     InXMilliSeconds(3000).SendMessage("Relay Tender","Thanks","Normal")')

# changed_lines DIFF: the removed lines, then the added ones, without the
# file headers.
changed_lines() {
  grep -E '^-' <<<"$1" | grep -v '^--- ' || true
  grep -E '^\+' <<<"$1" | grep -v '^+++ ' || true
}

check() {
  local what=$1 diff=$2
  local got
  got=$(changed_lines "$diff")
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what shows other changed lines than the event's:"
    echo "$diff"
    fail=1
  fi
}

# The working tree against the index: git hands the filter the file itself
# for one side and a temporary copy of the blob for the other.
check "git diff" "$(git diff)"
git commit -q -am "later message"
# Two commits: both sides are temporary copies.
check "git log -p" "$(git log -p -1 --format=)"
exit $fail
