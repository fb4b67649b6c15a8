#!/usr/bin/env python3
"""Runs the headless program of other builds on the same missions as the
native one and compares what they print, byte for byte: standard output,
standard error and exit status.

usage: compare.py NATIVE_COMMAND NAME=COMMAND... -- MISSION...

A command is split as a shell would ("/usr/lib/wine/wine64 torvk32.exe").
Each mission is exported (json, json with --modern-operators, text, dot),
read from standard input through a pipe, and all of them are checked in one
run (text, JSON, SARIF, and with the check's other options, the missions
listed on standard input); then come the answers to a missing file, a
folder, wrong usage and asking for the window. The SVG export of an event
flow with arrows needs Graphviz, which only the native build loads: the
others must refuse it and say why. Exits 1 when any run differs.
"""
import concurrent.futures
import os
import shlex
import subprocess
import sys


def run(command, args, stdin=None):
    done = subprocess.run(command + args, input=stdin, capture_output=True, timeout=300)
    return done.stdout, done.stderr, done.returncode


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


def describe(got, want):
    for part, g, w in zip(("stdout", "stderr"), got, want):
        if g != w:
            at = first_difference(g, w)
            return f"{part} differs at byte {at} ({len(g)} bytes, native {len(w)}): {g[at:at + 60]!r} / {w[at:at + 60]!r}"
    return f"exit status {got[2]}, native {want[2]}"


def main():
    argv = sys.argv[1:]
    if "--" not in argv or argv.index("--") < 2:
        sys.exit(__doc__)
    split = argv.index("--")
    native = shlex.split(argv[0])
    others = [(spec.split("=", 1)[0], shlex.split(spec.split("=", 1)[1])) for spec in argv[1:split]]
    missions = argv[split + 1:]

    calls = []  # (arguments, standard input)
    for mission in missions:
        for options in (["--export", "json"], ["--export", "json", "--modern-operators"], ["--export", "text"],
                        ["--export", "dot"]):
            calls.append((options + [mission], None))
    # Standard input through a pipe, in pieces larger than the first read.
    largest = max(missions, key=os.path.getsize)
    with open(largest, "rb") as f:
        piped = f.read()
    calls.append((["--export", "json", "-"], piped))
    calls.append((["--check", "-"], piped))
    calls.append((["--check"] + missions, None))
    calls.append((["--check", "--format", "json"] + missions, None))
    calls.append((["--check", "--format", "sarif"] + missions, None))
    listed = "".join(mission + "\n" for mission in missions).encode()
    calls.append((["--check", "--unused", "--errors-only", "--ignore", "unknown-name", "--format", "json",
                   "--files-from", "-"], listed))
    missing = os.path.join(os.path.dirname(largest), "no such mission.fs2")
    for args in (["--export", "json", missing], ["--export", "text", os.path.dirname(largest)],
                 ["--check", missing, missions[0]], ["--check", "--format", "sarif", missing, missions[0]],
                 ["--check", "--files-from", missing, missions[0]], ["--check", "--ignore", "no-such-rule", missions[0]],
                 ["--export", "xml", missions[0]], ["--bogus"],
                 [missions[0]], ["--version"], ["--help"]):
        calls.append((args, None))

    # The SVG export of the largest mission whose event flow has an arrow:
    # the native build draws it with Graphviz, the others cannot. A flow
    # without arrows is a grid that needs no Graphviz, and is drawn the same.
    def drawn_by_graphviz(mission):
        return run(native, ["--export", "dot", mission])[0].find(b" -> ") >= 0
    with_arrows = next((m for m in sorted(missions, key=os.path.getsize, reverse=True) if drawn_by_graphviz(m)), None)
    without_arrows = next((m for m in missions if not drawn_by_graphviz(m)), None)

    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        wanted = list(pool.map(lambda call: run(native, *call), calls))
        if without_arrows:
            calls.append((["--export", "svg", without_arrows], None))
            wanted.append(run(native, calls[-1][0]))
        if with_arrows:
            svg = ["--export", "svg", with_arrows]
            drawn = run(native, svg)
            if drawn[2] != 0 or not drawn[0].startswith(b"<?xml"):
                print(f"FAIL: native: torvk32 {' '.join(svg)}: {drawn[1].decode(errors='replace').strip()}")
                failed += 1
            calls.append((svg, None))
            wanted.append((b"", f"torvk32: cannot draw {with_arrows}: this build has no Graphviz (only the Linux build "
                           "loads it); --export dot writes the graph for Graphviz's own dot program (dot -Tsvg)\n"
                           .encode(), 1))
        for name, command in others:
            got = list(pool.map(lambda call: run(command, *call), calls))
            differing = [(call, g, w) for call, g, w in zip(calls, got, wanted) if g != w]
            for (args, stdin), g, w in differing:
                shown = " ".join(args) if len(args) < 6 else " ".join(args[:4]) + " ..."
                print(f"FAIL: {name}: torvk32 {shown}{' < pipe' if stdin else ''}: {describe(g, w)}")
            failed += len(differing)
            print(f"{name}: {len(calls) - len(differing)} of {len(calls)} runs as the native build "
                  f"({len(missions)} missions)")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
