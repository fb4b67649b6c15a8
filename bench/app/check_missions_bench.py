#!/usr/bin/env python3
"""Times `torvk32 --check` of a folder of real missions in one run (what a CI
step over a campaign repository costs) against `cat` of the same files.

Runs PAIRS pairs (the check then cat, in turn, after one warm-up pair) of
`--check --format json` over every *.fs2 and *.fsm below MISSIONS, sorted by
path, and prints the median wall time of each and the ratio of the medians;
also `--check --unused` (shown, not judged). With --baseline OTHER_TORVK32 it
times that program's check against this one's in the same way (to compare
two builds). With --json it writes the medians in Google Benchmark's JSON
shape (real_time and cpu_time in ms) for bench/summary.py.

usage: check_missions_bench.py TORVK32 MISSIONS [--pairs N] [--baseline OTHER] [--json FILE]
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from headless_bench import benchmark, pairs, write_json  # noqa: E402

# The check exits 1 when a mission has an error; real missions have some.
CHECK_CODES = (0, 1)


def missions_below(folder):
    found = []
    for root, _, files in os.walk(folder):
        found += [os.path.join(root, f) for f in files if f.lower().endswith((".fs2", ".fsm"))]
    return sorted(found)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("torvk32")
    parser.add_argument("missions")
    parser.add_argument("--pairs", type=int, default=20)
    parser.add_argument("--baseline", help="another torvk32 to compare with")
    parser.add_argument("--json", help="write the medians here, in Google Benchmark's JSON shape")
    args = parser.parse_args(argv)
    files = missions_below(args.missions)
    if not files:
        sys.exit(f"check_missions_bench: no missions below {args.missions}")
    program = os.path.abspath(args.torvk32)
    check = [program, "--check", "--format", "json"] + files
    cat = ["/bin/cat"] + files
    print(f"{len(files)} missions, {sum(os.path.getsize(f) for f in files) / 1e6:.1f} MB")
    benchmarks = []

    def record(name, wall, cpu):
        benchmarks.append(benchmark(name, wall, cpu, args.pairs))

    (wall, cpu), (cat_wall, cat_cpu) = pairs(check, cat, args.pairs, CHECK_CODES)
    print(f"--check: {wall * 1e3:.1f} ms (cpu {cpu * 1e3:.1f} ms), cat {cat_wall * 1e3:.1f} ms, "
          f"ratio of medians {wall / cat_wall:.2f}x ({args.pairs} pairs)")
    record("BM_CheckMissions", wall, cpu)
    record("BM_CatMissions", cat_wall, cat_cpu)
    unused = [program, "--check", "--unused", "--format", "json"] + files
    (u_wall, u_cpu), _ = pairs(unused, cat, args.pairs, CHECK_CODES)
    print(f"--check --unused: {u_wall * 1e3:.1f} ms, {u_wall / wall:.2f}x the check")
    record("BM_CheckMissionsUnused", u_wall, u_cpu)
    if args.baseline:
        other = [os.path.abspath(args.baseline), "--check", "--format", "json"] + files
        (b_wall, b_cpu), (n_wall, n_cpu) = pairs(other, check, args.pairs, CHECK_CODES)
        print(f"baseline --check: {b_wall * 1e3:.1f} ms (cpu {b_cpu * 1e3:.1f} ms), this one {n_wall * 1e3:.1f} ms "
              f"(cpu {n_cpu * 1e3:.1f} ms): {n_wall / b_wall:.2f}x wall, {n_cpu / b_cpu:.2f}x cpu")
        record("BM_CheckMissionsBaseline", b_wall, b_cpu)
    if args.json:
        write_json(args.json, {"missions": args.missions, "count": len(files)}, benchmarks)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
