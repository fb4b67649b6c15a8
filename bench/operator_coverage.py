#!/usr/bin/env python3
"""Measures the FreeSpace Open translation on real missions against the
original one: how many Parsed code lines still read "#UnknownCommand", how
many formulas translate without one, and whether every formula that the
original translates cleanly comes out the same.

usage: bench/operator_coverage.py [--program PATH] [--show N] [MISSIONS_DIR]

MISSIONS_DIR defaults to ../shared/missions beside the project; every *.fs2
and *.fsm below it is exported twice with `torvk32 --export json` (PATH,
default build/app/torvk32), without and with --modern-operators. A formula
counts as cleanly translated when no line holds "#UnknownCommand" or
"<Error in formular". Clean formulas whose translation changes are sorted
by the structure that the original mangles without saying so:

  nested-when      a "when" or "every-time" among the actions of another
  compare-operator a "<" or ">" whose second operand is an operator
  compare-words    a "<" or ">" whose operands the original cannot read
                   otherwise (a plain first operand, more than two)
  operator-argument an operator where an original template takes a word
                   (the original reads its pieces as words or lines of
                   their own)
  message-delays   a send-message-list of several messages, whose delays
                   the game adds up
  variable         a variable, which reads Variable("Name") everywhere

Any other change is a regression: the script then exits 1. Targets: at most
0.5% of Parsed code lines "#UnknownCommand", at least 97% of formulas
without one.
"""

import argparse
import collections
import json
import os
import subprocess
import sys

UNKNOWN = "#UnknownCommand"
ERROR = "<Error in formular"


def missions(folder):
    found = []
    for root, _, files in os.walk(folder):
        found += [os.path.join(root, f) for f in files if f.lower().endswith((".fs2", ".fsm"))]
    return sorted(found)


def export(program, path, modern):
    args = [program] + (["--modern-operators"] if modern else []) + ["--export", "json", path]
    result = subprocess.run(args, capture_output=True, check=False)
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(args)}: exit {result.returncode}: {result.stderr.decode(errors='replace')}")
    return json.loads(result.stdout)["formulas"]


def tokens(text):
    """Brackets, quoted names and words of a formula."""
    i = 0
    while i < len(text):
        c = text[i]
        if c.isspace():
            i += 1
        elif c in "()":
            yield c
            i += 1
        elif c == '"':
            end = text.find('"', i + 1)
            end = len(text) if end < 0 else end + 1
            yield text[i:end]
            i = end
        else:
            j = i
            while j < len(text) and not text[j].isspace() and text[j] not in '()"':
                j += 1
            yield text[i:j]
            i = j


def parse(text):
    """The formula as nested lists (operator first), or None when its
    brackets do not nest."""
    stack = [[]]
    for tok in tokens(text):
        if tok == "(":
            stack.append([])
        elif tok == ")":
            if len(stack) < 2:
                return None
            node = stack.pop()
            stack[-1].append(node)
        else:
            stack[-1].append(tok)
    return stack[0] if len(stack) == 1 else None


STRUCTURAL = {"when", "not", "and", "or", "<", ">"}


def structures(tree):
    """The mangled structures found anywhere in a parsed formula."""
    found = set()

    def op(node):
        return node[0].lower() if node and isinstance(node[0], str) else None

    def walk(node, inside_when, top=False):
        if not isinstance(node, list):
            if node.lstrip('"').startswith("@"):
                found.add("variable")
            return
        name = op(node)
        # add-goal takes its goal as a bracketed argument, except where it
        # is a whole formula.
        if name and name not in STRUCTURAL and (name != "add-goal" or top) and \
                any(isinstance(child, list) for child in node[1:]):
            found.add("operator-argument")
        if name == "send-message-list" and len(node) > 5:
            found.add("message-delays")
        if name in ("when", "every-time") and inside_when:
            found.add("nested-when")
        if name in ("<", ">"):
            args = node[1:]
            if len(args) >= 2 and isinstance(args[1], list):
                found.add("compare-operator")
            elif len(args) != 2 or not isinstance(args[0], list):
                found.add("compare-words")
        for child in node[1:] if name else node:
            walk(child, inside_when or name in ("when", "every-time"))

    for node in tree:
        walk(node, False, True)
    return found


def main(argv):
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    parser = argparse.ArgumentParser(description=__doc__.strip().splitlines()[0],
                                     epilog="\n".join(__doc__.strip().splitlines()[2:]),
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("missions", nargs="?", default=os.path.join(root, "..", "shared", "missions"))
    parser.add_argument("--program", default=os.path.join(root, "build", "app", "torvk32"))
    parser.add_argument("--show", type=int, default=3, metavar="N", help="examples to print per kind of change")
    args = parser.parse_args(argv)
    files = missions(args.missions)
    if not files:
        print(f"operator_coverage: no missions in {args.missions}", file=sys.stderr)
        return 2

    lines = unknown_lines = formulas = unknown_formulas = 0
    clean = 0
    changed = collections.defaultdict(list)
    left = collections.Counter()
    for path in files:
        original = export(args.program, path, False)
        modern = export(args.program, path, True)
        if len(original) != len(modern):
            raise RuntimeError(f"{path}: the two exports list different formulas")
        for before, after in zip(original, modern):
            formulas += 1
            lines += len(after["parsed"])
            marked = [line for line in after["parsed"] if UNKNOWN in line]
            unknown_lines += len(marked)
            unknown_formulas += bool(marked)
            for line in marked:
                left[line.split(UNKNOWN, 1)[1].strip().split(" ")[0].split("(")[0]] += 1
            if any(UNKNOWN in line or ERROR in line for line in before["parsed"]):
                continue
            clean += 1
            if before["parsed"] == after["parsed"]:
                continue
            tree = parse("\n".join(before["sexp"]))
            kinds = structures(tree) if tree is not None else set()
            kind = "+".join(sorted(kinds)) or "regression"
            changed[kind].append((os.path.relpath(path, args.missions), before, after))

    print(f"missions: {len(files)}, formulas: {formulas}, Parsed code lines: {lines}")
    share = unknown_lines / lines if lines else 0
    print(f"lines with {UNKNOWN}: {unknown_lines} = {share:.3%} (target <= 0.5%)")
    whole = 1 - unknown_formulas / formulas if formulas else 1
    print(f"formulas without {UNKNOWN}: {formulas - unknown_formulas} = {whole:.2%} (target >= 97%)")
    print(f"formulas the original translates cleanly: {clean}; changed: {sum(len(v) for v in changed.values())}")
    for kind in sorted(changed):
        print(f"  {kind}: {len(changed[kind])}")
        for path, before, after in changed[kind][:args.show]:
            print(f"    {path} row {before['row']} [{before['tag']}]: {' '.join(before['sexp'])[:160]}")
    if left:
        print("operators still unknown: " + ", ".join(f"{name} ({n})" for name, n in left.most_common(12)))
    ok = share <= 0.005 and whole >= 0.97 and "regression" not in changed
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
