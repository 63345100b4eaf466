#!/usr/bin/env python3
"""Measures how many small faults the test suite catches.

Plants one small fault at a time in src/*.cpp (a comparison, arithmetic or logical
operator swapped, a boolean flipped, a whole number off by one, or a statement left
out), rebuilds the game and its tests in build-mutate/, runs the tests with the given
CTest labels under Xvfb (the quick ones first, the end-to-end ones only if those pass)
and counts the faults that make a test fail. A fault that
does not compile is passed over and the next one drawn, so every count is of faults
that build. The seed fixes which faults are drawn for a given source tree.

    scripts/mutate.py --seed 1 --count 60 --labels 'unit|e2e'

The faults go into a copy of the tracked files (build-mutate/tree), never into the
working tree, so a run that is killed leaves the sources as they were.
"""
import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TREE = os.path.join(ROOT, "build-mutate", "tree")     # the copy the faults go into
BUILD = os.path.join(ROOT, "build-mutate", "build")
XVFB = ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24"]
TEST_TIMEOUT = "60"  # seconds a test may run before a planted fault counts as a hang
END_TO_END = "e2e|install"  # labels of the slow tests that start the real game

# (pattern, replacement) pairs; each match of a pattern is one possible fault.
SWAPS = [
    (r"(?<![<>=!])<=", "<"), (r"(?<![<>=!-])<(?![<=])", "<="),
    (r"(?<![<>=!])>=", ">"), (r"(?<![<>=!-])>(?![>=])", ">="),
    (r"==", "!="), (r"!=", "=="),
    (r" \+ ", " - "), (r" - ", " + "), (r" \* ", " / "), (r" / ", " * "),
    (r"\+\+", "--"), (r"--", "++"),
    (r"&&", "||"), (r"\|\|", "&&"),
    (r"\btrue\b", "false"), (r"\bfalse\b", "true"),
]
NUMBER = re.compile(r"(?<![\w.])\d+(?![\w.])")
STATEMENT = re.compile(r"^\s*[a-z_][\w.\[\]>-]*\s*(\(.*\)|[-+*/|]?=.*);\s*$")


def blank_literals(line):
    """Returns the line with strings, characters and a trailing comment blanked out."""
    line = re.sub(r'"(\\.|[^"\\])*"|\'(\\.|[^\'\\])*\'', lambda m: " " * len(m.group()), line)
    cut = line.find("//")
    return line if cut < 0 else line[:cut] + " " * (len(line) - cut)


def faults_in(path):
    """Lists every fault that can be planted in one source file as (path, line, col, old, new)."""
    found = []
    in_comment = False
    with open(path) as f:
        lines = f.read().split("\n")
    for n, raw in enumerate(lines):
        text = blank_literals(raw)
        if in_comment or text.lstrip().startswith(("/*", "#", "*")):
            in_comment = (in_comment or "/*" in text) and "*/" not in text
            continue
        for pattern, new in SWAPS:
            for m in re.finditer(pattern, text):
                found.append((path, n, m.start(), m.group(), new))
        for m in NUMBER.finditer(text):
            found.append((path, n, m.start(), m.group(), str(int(m.group()) + 1)))
        if STATEMENT.match(text) and not text.lstrip().startswith("return"):
            found.append((path, n, 0, raw, ""))
    return found


def copy_tree():
    """Copies the tracked files of the working tree, as they are now, into TREE."""
    listing = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True, capture_output=True).stdout
    shutil.rmtree(TREE, ignore_errors=True)
    for name in filter(None, listing.decode().split("\0")):
        os.makedirs(os.path.dirname(os.path.join(TREE, name)), exist_ok=True)
        shutil.copy(os.path.join(ROOT, name), os.path.join(TREE, name))   # fresh times: all of it rebuilds


def run(cmd, cwd=TREE):
    """Runs a command quietly and returns whether it succeeded."""
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def build():
    """Builds the game, its tests and what the install tests install (not the benchmark);
    returns whether that worked."""
    jobs = str(os.cpu_count())
    return run(["cmake", "--build", BUILD, "-j", jobs, "--target", "quorbix"]) and \
        all(run(["cmake", "--build", os.path.join(BUILD, part), "-j", jobs]) for part in ("tests", "dist"))


def caught(labels):
    """Runs the tests: the quick ones first, the end-to-end ones only if those pass."""
    ctest = XVFB + ["ctest", "-L", labels, "--stop-on-failure", "--timeout", TEST_TIMEOUT, "-j", str(os.cpu_count())]
    return not run(ctest + ["-LE", END_TO_END], cwd=BUILD) or not run(ctest + ["-L", END_TO_END], cwd=BUILD)


def try_fault(fault, labels):
    """Plants one fault; returns None if it does not build, else whether the tests caught it."""
    path, n, col, old, new = fault
    with open(path) as f:
        original = f.read()
    lines = original.split("\n")
    lines[n] = lines[n][:col] + new + lines[n][col + len(old):]
    try:
        with open(path, "w") as f:
            f.write("\n".join(lines))
        if not build():
            return None
        return caught(labels)
    finally:
        with open(path, "w") as f:
            f.write(original)


def main():
    parser = argparse.ArgumentParser(description="Counts the planted faults the tests catch.")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--labels", default="unit|e2e")
    args = parser.parse_args()

    copy_tree()
    if not run(["cmake", "-S", TREE, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release", "-DQUORBIX_TESTS=ON",
                "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"]) or not build():
        sys.exit("the unchanged tree does not build")
    if caught(args.labels):
        failed = subprocess.run(XVFB + ["ctest", "--rerun-failed", "--output-on-failure"], cwd=BUILD,
                                capture_output=True, text=True).stdout
        sys.exit("the unchanged tree fails its tests:\n" + failed[-3000:])
    # Only the game's sources this build compiles: a fault in another platform's file would build unseen.
    with open(os.path.join(BUILD, "compile_commands.json")) as f:
        compiled = {os.path.realpath(entry["file"]) for entry in json.load(f)}
    src = os.path.join(TREE, "src")
    faults = [f for name in sorted(os.listdir(src)) if name.endswith(".cpp")
              and os.path.realpath(os.path.join(src, name)) in compiled
              for f in faults_in(os.path.join(src, name))]
    random.Random(args.seed).shuffle(faults)

    hits = tried = 0
    for fault in faults:
        if tried == args.count:
            break
        result = try_fault(fault, args.labels)
        if result is None:
            continue
        tried += 1
        hits += result
        path, n, _, old, new = fault
        print(f"{'caught' if result else 'MISSED'} {os.path.relpath(path, TREE)}:{n + 1} "
              f"{old.strip()!r} -> {new!r}", flush=True)
    print(f"seed {args.seed}: caught {hits} of {tried} ({100 * hits // max(tried, 1)} %)")


if __name__ == "__main__":
    main()
