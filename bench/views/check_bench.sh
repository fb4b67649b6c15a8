#!/usr/bin/env bash
# `torvk32 --check` of a 100 MB synthetic mission with references of every
# kind the check looks up (some naming nothing) and FreeSpace Open
# operators, measured from outside: wall and CPU time and peak memory
# (/usr/bin/time -v), each run three times, with the peak memory against the
# file's size (target: at most 4x). Compare the times with check_bench
# (LoadAndCheck against LoadFile, target: at most 2x).
# usage: bench/views/check_bench.sh BUILD_DIR [SIZE_MB]
set -euo pipefail
build=${1:?usage: check_bench.sh BUILD_DIR [SIZE_MB]}
size=${2:-100}
mission=${TMPDIR:-/tmp}/torvek-bench/synthetic-${size}mb-references.fs2
if [ ! -f "$mission" ]; then
  mkdir -p "$(dirname "$mission")"
  "$build/bench/mission/generate_mission" "$size" "$mission" --references
fi
bytes=$(stat -c %s "$mission")
log=$(mktemp)
trap 'rm -f "$log"' EXIT
echo "mission: $mission ($bytes bytes)"
for run in 1 2 3; do
  status=0
  /usr/bin/time -v "$build/app/torvk32" --check "$mission" >/dev/null 2>"$log" || status=$?
  # Exit code 1 is expected: the mission has errors on purpose.
  [ "$status" -le 1 ] || { cat "$log"; exit 1; }
  summary=$(grep -E '^[0-9]+ errors?, ' "$log")
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$log")
  user=$(sed -n 's/.*User time (seconds): //p' "$log")
  sys=$(sed -n 's/.*System time (seconds): //p' "$log")
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")
  ratio=$(awk -v p="$peak" -v b="$bytes" 'BEGIN { printf "%.2f", p * 1024 / b }')
  echo "check run $run: wall $wall, cpu ${user}s user + ${sys}s sys, peak ${peak} KB = ${ratio}x the file ($summary)"
done
