#!/usr/bin/env bash
# The program's whole export of a synthetic mission, measured from outside:
# wall and CPU time and peak memory (/usr/bin/time -v) of
# `torvk32 --export json` and `--export text`, each run three times, and the
# peak memory against the file's size. Compare the times with BM_LoadFile of
# views_bench (loading alone).
# usage: bench/views/export_bench.sh BUILD_DIR [SIZE_MB]
set -euo pipefail
build=${1:?usage: export_bench.sh BUILD_DIR [SIZE_MB]}
size=${2:-100}
mission=${TMPDIR:-/tmp}/torvek-bench/synthetic-${size}mb.fs2
if [ ! -f "$mission" ]; then
  mkdir -p "$(dirname "$mission")"
  "$build/bench/mission/generate_mission" "$size" "$mission"
fi
bytes=$(stat -c %s "$mission")
log=$(mktemp)
trap 'rm -f "$log"' EXIT
echo "mission: $mission ($bytes bytes)"
for format in json text; do
  for run in 1 2 3; do
    /usr/bin/time -v "$build/app/torvk32" --export "$format" "$mission" >/dev/null 2>"$log"
    wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$log")
    user=$(sed -n 's/.*User time (seconds): //p' "$log")
    sys=$(sed -n 's/.*System time (seconds): //p' "$log")
    peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")
    ratio=$(awk -v p="$peak" -v b="$bytes" 'BEGIN { printf "%.2f", p * 1024 / b }')
    echo "$format run $run: wall $wall, cpu ${user}s user + ${sys}s sys, peak ${peak} KB = ${ratio}x the file"
  done
done
