#!/usr/bin/env python3
"""Times the headless program as a whole process against `cat` of the same
mission: what one call of a git textconv or a CI check costs.

Runs PAIRS pairs (torvk32 then cat, in turn, after one warm-up pair) for
`--export text MISSION` and for `--version`, and prints the median wall time
of each and the ratio of the medians. With --json it also writes the
medians in Google Benchmark's JSON shape (real_time and cpu_time in ms), so
bench/summary.py can judge them beside the other figures.

usage: headless_bench.py TORVK32 MISSION [--pairs N] [--json FILE]
"""

import argparse
import json
import os
import statistics
import sys
import time


def run_once(argv, ok_codes=(0,)):
    """Wall and CPU seconds of one run, output thrown away; a run that
    exits with a code not in ok_codes stops the benchmark."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    try:
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)])
        _, status, usage = os.wait4(pid, 0)
        wall = time.perf_counter() - start
    finally:
        os.close(devnull)
    if os.waitstatus_to_exitcode(status) not in ok_codes:
        sys.exit(f"headless_bench: {' '.join(argv)} failed")
    return wall, usage.ru_utime + usage.ru_stime


def pairs(a, b, count, ok_codes=(0,)):
    """Medians of (wall, cpu) of a and of b, run in turn."""
    run_once(a, ok_codes)
    run_once(b, ok_codes)
    times_a, times_b = [], []
    for _ in range(count):
        times_a.append(run_once(a, ok_codes))
        times_b.append(run_once(b, ok_codes))

    def medians(times):
        return statistics.median(t[0] for t in times), statistics.median(t[1] for t in times)

    return medians(times_a), medians(times_b)


def benchmark(name, wall, cpu, iterations):
    """One timing in Google Benchmark's JSON shape, in milliseconds."""
    return {"name": name, "run_type": "iteration", "iterations": iterations,
            "real_time": wall * 1e3, "cpu_time": cpu * 1e3, "time_unit": "ms"}


def write_json(path, context, benchmarks):
    with open(path, "w", encoding="utf-8") as f:
        json.dump({"context": context, "benchmarks": benchmarks}, f, indent=1)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("torvk32")
    parser.add_argument("mission")
    parser.add_argument("--pairs", type=int, default=20)
    parser.add_argument("--json", help="write the medians here, in Google Benchmark's JSON shape")
    args = parser.parse_args(argv)
    program = os.path.abspath(args.torvk32)
    cat = ["/bin/cat", args.mission]
    benchmarks = []
    for name, command in (("export_text", [program, "--export", "text", args.mission]),
                          ("version", [program, "--version"])):
        (wall, cpu), (cat_wall, cat_cpu) = pairs(command, cat, args.pairs)
        print(f"{name}: torvk32 {wall * 1e3:.2f} ms, cat {cat_wall * 1e3:.2f} ms, "
              f"ratio of medians {wall / cat_wall:.2f}x ({args.pairs} pairs)")
        benchmarks.append(benchmark(f"BM_Headless/{name}", wall, cpu, args.pairs))
        benchmarks.append(benchmark(f"BM_Cat/{name}", cat_wall, cat_cpu, args.pairs))
    if args.json:
        write_json(args.json, {"mission": args.mission}, benchmarks)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
