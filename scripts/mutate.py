#!/usr/bin/env python3
"""How many realistic faults the native tests catch.

Applies one small fault at a time to the given source files (a comparison flipped, && and ||
swapped, a boolean or a number changed, a condition negated, a call dropped, two neighbouring
statements swapped), rebuilds the native tests in build/mutation, runs them, and counts the
mutants the tests kill. A mutant that does not compile is not counted. The files are always
put back as they were.

  scripts/mutate.py hotkeys/monitor.cpp shell/pages.cpp ...   [--limit N] [--list]

Prints every surviving mutant (file:line, what changed) and the total killed of total.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROOT = os.path.join(REPO, "build", "mutation", "src")
BUILD = os.path.join(REPO, "build", "mutation", "build")

SWAPS = [(" == ", " != "), (" != ", " == "), (" < ", " >= "), (" >= ", " < "), (" > ", " <= "),
         (" <= ", " > "), (" && ", " || "), (" || ", " && ")]
WORDS = [("true", "false"), ("false", "true")]


def code_spans(line):
    """The parts of a line outside string and character literals and a trailing comment."""
    spans, start, i, quote = [], 0, 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 2
                continue
            if c == quote:
                quote = None
                start = i + 1
        elif c in "\"'":
            spans.append((start, i))
            quote = c
        elif line.startswith("//", i):
            spans.append((start, i))
            return spans
        i += 1
    if not quote:
        spans.append((start, len(line)))
    return spans


def in_code(line, pos, length):
    return any(a <= pos and pos + length <= b for a, b in code_spans(line))


def is_statement(line):
    s = line.strip()
    return (s.endswith(";") and not s.startswith(("//", "return", "case", "#", "using", "constexpr",
                                                    "static_assert", "}", "const ", "std::", "auto "))
            and "(" in s and "=" not in s.split("(")[0])


def mutants(lines):
    """(line index, description, new lines) for each fault of the file."""
    for n, line in enumerate(lines):
        stripped = line.strip()
        if stripped.startswith(("//", "#")) or not stripped:
            continue
        for old, new in SWAPS:
            for m in re.finditer(re.escape(old), line):
                if in_code(line, m.start(), len(old)) and "template" not in line and "#include" not in line:
                    yield n, f"'{old.strip()}' -> '{new.strip()}'", line[:m.start()] + new + line[m.end():]
        for old, new in WORDS:
            for m in re.finditer(rf"\b{old}\b", line):
                if in_code(line, m.start(), len(old)):
                    yield n, f"{old} -> {new}", line[:m.start()] + new + line[m.end():]
        for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.])", line):
            if in_code(line, m.start(), len(m.group(1))) and "[" not in line[max(0, m.start() - 1):m.start()]:
                value = int(m.group(1))
                yield n, f"{value} -> {value + 1}", line[:m.start()] + str(value + 1) + line[m.end():]
        m = re.match(r"(\s*(?:\} else )?if \()(.*)(\)\s*\{?.*)$", line)
        if m and m.group(2).count("(") == m.group(2).count(")"):
            yield n, "condition negated", f"{m.group(1)}!({m.group(2)}){m.group(3)}"
        if is_statement(line):
            indent = line[: len(line) - len(line.lstrip())]
            yield n, "call dropped", indent + ";  // dropped"
    for n in range(len(lines) - 1):
        a, b = lines[n], lines[n + 1]
        if is_statement(a) and is_statement(b) and a.strip() != b.strip():
            yield n, "swapped with the next statement", (b, a)


def run(cmd, timeout):
    try:
        return subprocess.run(cmd, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("files", nargs="+")
    parser.add_argument("--limit", type=int, default=0, help="at most this many mutants per file")
    parser.add_argument("--list", action="store_true", help="list the mutants, run nothing")
    args = parser.parse_args()

    if not args.list:
        shutil.rmtree(ROOT, ignore_errors=True)
        shutil.copytree(REPO, ROOT, ignore=lambda folder, names: [n for n in names if folder == REPO
                                                                  and n in ("build", ".git")])
        subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                        "-DKEYVANE_BENCH=OFF"], check=True, stdout=subprocess.DEVNULL)
        if run(["cmake", "--build", BUILD, "--target", "keyvane_tests"], 1800) != 0:
            sys.exit("the unmutated tests do not build")
    tests = os.path.join(BUILD, "tests", "native", "keyvane_tests")
    if not args.list and run([tests, "--gtest_brief=1"], 300) != 0:
        sys.exit("the unmutated tests do not pass")

    total = killed = stillborn = 0
    survivors = []
    started = time.time()
    for path in args.files:
        full = os.path.join(ROOT if not args.list else REPO, path)
        with open(full, encoding="utf-8") as f:
            original = f.read()
        lines = original.split("\n")
        found = list(mutants(lines))
        if args.limit:
            step = max(1, len(found) // args.limit)
            found = found[::step][: args.limit]
        try:
            for n, what, change in found:
                mutated = list(lines)
                if isinstance(change, tuple):
                    mutated[n], mutated[n + 1] = change
                else:
                    mutated[n] = change
                where = f"{path}:{n + 1}: {what}"
                if args.list:
                    print(where, flush=True)
                    continue
                with open(full, "w", encoding="utf-8") as f:
                    f.write("\n".join(mutated))
                if run(["cmake", "--build", BUILD, "--target", "keyvane_tests"], 600) != 0:
                    stillborn += 1
                    continue
                total += 1
                if run([tests, "--gtest_brief=1"], 120) != 0:
                    killed += 1
                else:
                    survivors.append(where + "   | " + lines[n].strip())
                    print("survived:", survivors[-1], flush=True)
        finally:
            with open(full, "w", encoding="utf-8") as f:
                f.write(original)
    if args.list:
        return
    run(["cmake", "--build", BUILD, "--target", "keyvane_tests"], 1800)
    print(f"\n{killed} killed of {total} mutants ({stillborn} did not compile), "
          f"{len(survivors)} survived, in {time.time() - started:.0f} s")


if __name__ == "__main__":
    main()
