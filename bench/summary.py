#!/usr/bin/env python3
"""Prints the figures of one scripts/bench run against their targets.

RESULTS_DIR holds the Google Benchmark JSON files of the run
(load_bench.json, translate_bench.json, views_bench.json,
export_peak_bench.json, check_bench.json, check_peak_bench.json, find_bench.json,
flow_bench.json, ui_bench.json, and headless_bench.json and check_missions_bench.json from
bench/app/).
Every ratio is taken between two benchmarks of the same run. Times are the
CPU time of the benchmark thread, which a busy machine disturbs far less than
wall time; the wall-time figure is shown beside it and --wall judges on it
instead. Memory figures come from the benchmarks' counters.
"""

import argparse
import json
import os
import sys


def load_results(path):
    """Benchmark results by name without its settings: "BM_LoadFile/100"."""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    results = {}
    for bench in data.get("benchmarks", []):
        if bench.get("run_type", "iteration") != "iteration":
            continue
        key = "/".join(p for p in bench["name"].split("/") if ":" not in p)
        results[key] = bench
    return results


SECONDS_PER_UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


class Missing(Exception):
    pass


def get(results, name):
    bench = results.get(name)
    if bench is None:
        raise Missing(f"{name} not run")
    if bench.get("error_occurred"):
        raise Missing(f"{name}: {bench.get('error_message', 'error')}")
    return bench


def seconds(bench, clock):
    return bench[clock] * SECONDS_PER_UNIT[bench.get("time_unit", "ns")]


class Table:
    def __init__(self, judge_clock):
        self.judge_clock = judge_clock
        self.rows = []
        self.failed = 0

    def heading(self, text):
        self.rows.append((text,))

    def ratio(self, name, num, den, limit, results):
        """A time ratio num/den of two benchmarks, at most `limit` (None:
        shown for comparison only)."""
        try:
            a, b = get(results, num), get(results, den)
            values = {c: seconds(a, c) / seconds(b, c) for c in ("cpu_time", "real_time")}
        except Missing as e:
            self.missing(name, f"<= {limit:g}x" if limit else "reference", e)
            return
        if limit is None:
            self.add(name, values, lambda v: f"{v:.2f}x", "reference", None)
        else:
            self.add(name, values, lambda v: f"{v:.2f}x", f"<= {limit:g}x", lambda v: v <= limit)

    def wall_ratio(self, name, num, den, limit, results):
        """A ratio of wall times (num/den), at most `limit`, whichever clock
        the other figures are judged on."""
        try:
            a, b = get(results, num), get(results, den)
            value = seconds(a, "real_time") / seconds(b, "real_time")
        except Missing as e:
            self.missing(name, f"<= {limit:g}x", e)
            return
        self.value(name, f"{value:.2f}x (wall)", f"<= {limit:g}x", value <= limit)

    def ratio_per_counter(self, name, num, den, counter, limit, results):
        """The time per unit of a counter (for example per output character)
        of benchmark num against that of den, at most `limit`."""
        try:
            a, b = get(results, num), get(results, den)
            units_a, units_b = a.get(counter), b.get(counter)
            if not units_a or not units_b:
                raise Missing(f"no {counter} counter")
            values = {c: (seconds(a, c) / units_a) / (seconds(b, c) / units_b) for c in ("cpu_time", "real_time")}
        except Missing as e:
            self.missing(name, f"<= {limit:g}x", e)
            return
        self.add(name, values, lambda v: f"{v:.2f}x", f"<= {limit:g}x", lambda v: v <= limit)

    def counter(self, name, bench_name, counter, fmt, target, ok, results):
        """A figure that a benchmark reports as a counter (memory)."""
        try:
            bench = get(results, bench_name)
            if counter not in bench:
                raise Missing(f"{bench_name} has no {counter} counter")
            v = bench[counter]
        except Missing as e:
            self.missing(name, target, e)
            return
        self.value(name, fmt(v), target, None if ok is None else ok(v))

    def difference(self, name, num, den, limit, results):
        """How much longer one benchmark takes than another, at most `limit`
        seconds."""
        try:
            a, b = get(results, num), get(results, den)
            values = {c: seconds(a, c) - seconds(b, c) for c in ("cpu_time", "real_time")}
        except Missing as e:
            self.missing(name, f"<= {limit * 1e3:g} ms", e)
            return
        self.add(name, values, lambda v: f"{v * 1e3:.1f} ms", f"<= {limit * 1e3:g} ms", lambda v: v <= limit)

    def wall_time(self, name, bench_name, limit, results):
        """The wall time of one benchmark iteration, under `limit` seconds,
        whichever clock the other figures are judged on: for work that runs
        on other threads than the one measured."""
        try:
            b = get(results, bench_name)
            value = seconds(b, "real_time")
        except Missing as e:
            self.missing(name, f"< {limit:g} s", e)
            return
        self.value(name, f"{value:.3f} s (wall)", f"< {limit:g} s", value < limit)

    def time(self, name, bench_name, limit, results):
        """The time of one benchmark iteration, under `limit` seconds."""
        try:
            b = get(results, bench_name)
            values = {c: seconds(b, c) for c in ("cpu_time", "real_time")}
        except Missing as e:
            self.missing(name, f"< {limit:g} s", e)
            return
        label = b.get("label", "")
        if label:
            name = f"{name} ({label})"
        self.add(name, values, lambda v: f"{v:.3f} s", f"< {limit:g} s", lambda v: v < limit)

    def value(self, name, shown, target, ok):
        """A figure that has no wall/CPU split (memory, throughput)."""
        verdict = "" if ok is None else ("pass" if ok else "FAIL")
        if ok is False:
            self.failed += 1
        self.rows.append((name, shown, "", target, verdict))

    def add(self, name, values, fmt, target, ok):
        judged = values[self.judge_clock]
        other = values["real_time" if self.judge_clock == "cpu_time" else "cpu_time"]
        if ok is None:
            self.rows.append((name, fmt(judged), fmt(other), target, ""))
            return
        passed = ok(judged)
        if not passed:
            self.failed += 1
        self.rows.append((name, fmt(judged), fmt(other), target, "pass" if passed else "FAIL"))

    def missing(self, name, target, error):
        self.failed += 1
        self.rows.append((name, "-", "", target, f"FAIL ({error})"))

    def print(self):
        judged, other = ("cpu", "wall") if self.judge_clock == "cpu_time" else ("wall", "cpu")
        header = ("Figure", judged, other, "Target", "Result")
        cells = [header] + [r for r in self.rows if len(r) > 1]
        widths = [max(len(r[i]) for r in cells) for i in range(len(header))]

        def line(r):
            return "  ".join(r[i].ljust(widths[i]) if i == 0 else r[i].rjust(widths[i]) for i in range(4)) + "  " + r[4]

        print(line(header))
        for r in self.rows:
            print(r[0] if len(r) == 1 else line(r))


def parse_args(argv):
    parser = argparse.ArgumentParser(description=__doc__.strip().splitlines()[0],
                                     epilog="\n".join(__doc__.strip().splitlines()[2:]),
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("results_dir", metavar="RESULTS_DIR", help="folder of the run's benchmark JSON files")
    parser.add_argument("--wall", action="store_true", help="judge on wall time instead of CPU time")
    return parser.parse_args(argv)


def main(argv):
    args = parse_args(argv)
    table = Table("real_time" if args.wall else "cpu_time")

    def results(name):
        path = os.path.join(args.results_dir, name + ".json")
        return load_results(path) if os.path.exists(path) else {}

    load, translate, views, export_peak, check, check_peak, find, ui, headless, flow, check_missions = (
        results(n) for n in ("load_bench", "translate_bench", "views_bench", "export_peak_bench", "check_bench",
                             "check_peak_bench", "find_bench", "ui_bench", "headless_bench", "flow_bench",
                             "check_missions_bench"))

    table.heading("Loading (issue 2)")
    table.ratio("  LoadFile / read+split lines, 100 MB", "BM_LoadFile/100", "BM_ReadAndSplitLines/100", 2, load)
    table.ratio("  LoadFile 100 MB / 10 MB", "BM_LoadFile/100", "BM_LoadFile/10", 12, load)
    table.ratio("  read+split lines 100 MB / 10 MB (baseline)", "BM_ReadAndSplitLines/100",
                "BM_ReadAndSplitLines/10", None, load)

    table.heading("Formulas (issue 3)")
    try:
        mbps = get(translate, "BM_EventFormulas")["bytes_per_second"] / 1e6
        table.value("  translation of event formulas", f"{mbps:.1f} MB/s", "reported", None)
    except (Missing, KeyError) as e:
        table.missing("  translation of event formulas", "reported", e)
    for name, small, large in (
        ("ship-vanish 50,000 / 5,000 ships", "BM_ShipVanish/5000", "BM_ShipVanish/50000"),
        ("send-message-list 10,000 / 1,000 groups", "BM_SendMessageList/1000", "BM_SendMessageList/10000"),
        ("one formula 100,000 / 10,000 lines", "BM_FormulaLines/10000", "BM_FormulaLines/100000"),
        ("and/or with not, 1000 / 100 levels", "BM_AndOrNotNesting/100", "BM_AndOrNotNesting/1000"),
    ):
        table.ratio("  " + name, large, small, 12, translate)
    table.ratio("  FreeSpace Open / original operators, 100 MB mix", "BM_OperatorMix/1", "BM_OperatorMix/0", 1.5,
                translate)
    # Plain nesting indents every line by its depth, so its output grows as
    # the square of the depth: judged per character written.
    table.ratio_per_counter("  and/or nesting 1000 / 100 deep, per output char", "BM_AndOrNesting/1000",
                            "BM_AndOrNesting/100", "output_chars", 1.5, translate)

    table.heading("Views and export (issue 4)")
    table.ratio("  all fillers / LoadFile, 100 MB", "BM_AllFillers/100", "BM_LoadFile/100", 1, views)
    table.ratio("  fillers after the eight / LoadFile, 100 MB with briefings", "BM_LaterFillers",
                "BM_LoadBriefings", 0.5, views)
    table.ratio("  whole --export json / LoadFile, 100 MB", "BM_ExportJson/100", "BM_LoadFile/100", 4, views)
    table.counter("  --export json peak memory / file, 100 MB", "BM_ExportPeakMemory/100", "peak_per_file",
                  lambda v: f"{v:.2f}x", "<= 4x", lambda v: v <= 4, export_peak)
    # A damaged mission's JSON stays proportional to the file: no larger
    # against its file than the sound mission's, at either size.
    table.counter("  --export json / file, sound mission, 100 MB", "BM_ExportJson/100", "json_per_file",
                  lambda v: f"{v:.2f}x", "reference", None, views)
    try:
        sound = get(views, "BM_ExportJson/100").get("json_per_file")
    except Missing:
        sound = None
    for size in (10, 100):
        table.counter(f"  --export json / file, damaged mission, {size} MB", f"BM_ExportJsonDamaged/{size}",
                      "json_per_file", lambda v: f"{v:.2f}x", "<= 1.5x sound",
                      lambda v: sound is not None and v <= 1.5 * sound, views)

    table.heading("Mission check (issue 17)")
    table.ratio("  load + check / LoadFile, 100 MB with references", "BM_LoadAndCheck/100", "BM_LoadFile/100", 2,
                check)
    table.counter("  --check peak memory / file, 100 MB", "BM_CheckPeakMemory/100", "peak_per_file",
                  lambda v: f"{v:.2f}x", "<= 4x", lambda v: v <= 4, check_peak)
    # The 139 real missions of ../shared/missions, one after the other as one
    # --check run reads them. Before the rule ids and the XSTR, argument and
    # message-list lints the figure was 1.13x; the whole may take a fifth
    # longer at most.
    table.ratio("  load + check / load, the real missions", "BM_RealMissionsCheck", "BM_RealMissionsLoad", 1.36,
                check)
    table.ratio("  --check of the real missions / cat of them (program)", "BM_CheckMissions", "BM_CatMissions", None,
                check_missions)

    table.heading("Find and references (issue 15)")
    for arg, mission in (("0", "100 MB"), ("1", "100 MB with references")):
        table.ratio(f"  reference index / LoadFile, {mission}", f"BM_ReferenceIndex/{arg}", f"BM_LoadFile/{arg}", 0.5,
                    find)
        table.time(f"  Events searched for a ship, {mission}", f"BM_FindEvents/{arg}", 0.1, find)
        table.time(f"  the same, search prepared first, {mission}", f"BM_FindEventsFirst/{arg}", 0.1, find)

    table.heading("Headless program, whole process against cat of the mission (issue 24)")
    table.wall_ratio("  --export text, 02 Rescue Force.fs2", "BM_Headless/export_text", "BM_Cat/export_text", 2.5,
                     headless)
    table.wall_ratio("  --version", "BM_Headless/version", "BM_Cat/version", 2, headless)

    table.heading("Event flow")
    table.difference("  --export dot beyond loading, 02 Rescue Force.fs2", "BM_RescueDot", "BM_RescueLoad", 0.02,
                     flow)
    # Graphviz runs on the benchmark's thread here, so CPU time counts it.
    table.time("  layout of the whole mission", "BM_RescueLayout", 0.3, flow)
    table.time("  layout", "BM_SyntheticLayout/300/600", 1, flow)
    # In the window the layout runs on its own thread: wall time.
    table.wall_time("  neighbourhood of an event named by 1,000 others, 100 MB", "BM_FlowNeighbourhood/0", 0.5, ui)
    table.wall_time("  neighbourhood of an ordinary event, 100 MB", "BM_FlowNeighbourhood/1", 0.2, ui)
    for arg in ("0", "1"):
        table.counter(f"  longest event-loop block meanwhile, /{arg}", f"BM_FlowNeighbourhood/{arg}",
                      "longest_block_ms", lambda v: f"{v:.0f} ms", "<= 100 ms", lambda v: v <= 100, ui)

    table.heading("Window (issue 6, offscreen)")
    # Read in a worker thread, the load is judged on wall time whatever the
    # clock: the window's own thread hardly works meanwhile. Before that move
    # the figure was 0.97x; it may grow by a fifth at most.
    table.wall_ratio("  load to General view / core load, 100 MB", "BM_LoadToGeneral", "BM_CoreLoad", 1.16, ui)
    table.counter("  longest event-loop block while a 100 MB mission loads", "BM_LoadToGeneral", "longest_block_ms",
                  lambda v: f"{v:.0f} ms", "<= 100 ms", lambda v: v <= 100, ui)
    table.time("  switch to largest view + row 1", "BM_SwitchToLargest", 0.5, ui)
    # "Without a visible pause": a tenth of a second still feels instant.
    table.time("  collapse tree + select node", "BM_CollapseAndNode", 0.1, ui)
    table.time("  find bar: Events filtered for a ship", "BM_FindShipInEvents", 0.1, ui)
    table.time("  link click to another event's row", "BM_LinkClick/0", 0.05, ui)
    # Into the largest view the click also switches views, and a sorted list
    # is shown in its order: the same limit holds.
    table.time("  link click to a ship's row in the largest view", "BM_LinkClick/1", 0.05, ui)
    table.time("  the same, lists sorted by their first column", "BM_LinkClick/2", 0.05, ui)
    for mode, title in ((9, "Variables"), (10, "Briefing"), (11, "Command Briefing"), (12, "Debriefing"),
                        (13, "Summary")):
        table.time(f"  switch to {title}, 100 MB with briefings", f"BM_SwitchToLaterView/{mode}", 0.05, ui)
    table.counter("  window peak memory / file, 100 MB", "BM_LoadToGeneral", "peak_per_file",
                  lambda v: f"{v:.2f}x", "<= 6x", lambda v: v <= 6, ui)

    table.print()
    print(f"{table.failed} figure(s) off target" if table.failed else "All figures on target.")
    return 1 if table.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
