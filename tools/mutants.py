#!/usr/bin/python3
"""Mutation run over the core and the page interface against the unit tests.

Each mutant is one small change to one line of core/ (its .cpp and .h files),
web/PageInterface.cpp or web/CodePage1252.cpp: an arithmetic or bitwise
operator swapped, a comparison loosened or tightened, an integer or decimal
literal moved by one, a `!` removed, `&&` and `||` swapped, `true` and `false`
swapped. Comments, strings, characters and preprocessor lines are never
changed. From each file a fixed number of mutants is drawn (MUTANTS_PER_FILE,
from a generator seeded by MUTANTS_SEED and the file's name), so that a long
file does not crowd out the short ones and one file's draw does not depend on
another's.

The sources are copied into build/mutants/src and mutated there, one mutant
at a time, so the working tree is never touched, even when the run is
interrupted. build/mutants/build is a Release build of that copy (with the
project's own floating-point options) of brawlwise_core_tests and
brawlwise_allocation_test. A mutant that does not compile does not count; one
that makes a test fail, crash or run past the time limit is killed.

A mutant is named by its file, the text of its line and its change (with the
change's place among equal tokens of the line), never by its line number
alone, so that tests/equivalent-mutants.txt, the mutants that cannot change
any observable result, survives unrelated edits. Those are left out of the
score. The run fails when any other mutant survives.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COPIED = ["core", "web", "tests", "cmake", "CMakeLists.txt"]
EQUIVALENT_LIST = os.path.join("tests", "equivalent-mutants.txt")
TEST_PROGRAMS = ["tests/brawlwise_core_tests", "tests/brawlwise_allocation_test"]
DEFAULT_SEED = 33
DEFAULT_PER_FILE = 10

# Given to CMake for the mutants' build: the test programs themselves, the
# oracle and not the code under test, are compiled unoptimised with GoogleTest
# precompiled, as a mutant of a header recompiles every one of them; the core
# and the page interface keep the Release level and the project's options.
QUICK_TESTS = """function(brawlwise_mutants_quick_tests)
  target_precompile_headers(brawlwise_core_tests PRIVATE <gtest/gtest.h>)
  target_precompile_headers(brawlwise_allocation_test REUSE_FROM brawlwise_core_tests)
  target_compile_options(brawlwise_core_tests PRIVATE -O0)
  target_compile_options(brawlwise_allocation_test PRIVATE -O0)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL brawlwise_mutants_quick_tests)
"""


def mutated_files():
    files = sorted("core/" + name for name in os.listdir(os.path.join(ROOT, "core")) if name.endswith((".cpp", ".h")))
    return files + ["web/PageInterface.cpp", "web/CodePage1252.cpp"]


def masked_lines(text):
    """Each line with comments, strings and character literals blanked out
    (the same length as the line, so that columns match), or None for a line
    that is never mutated (preprocessor lines, static assertions)."""
    result = []
    in_comment = False
    for line in text.split("\n"):
        out = []
        i = 0
        while i < len(line):
            if in_comment:
                end = line.find("*/", i)
                stop = len(line) if end < 0 else end + 2
                out.append(" " * (stop - i))
                in_comment = end < 0
                i = stop
            elif line.startswith("//", i):
                out.append(" " * (len(line) - i))
                i = len(line)
            elif line.startswith("/*", i):
                in_comment = True
                out.append("  ")
                i += 2
            elif line[i] in "\"'":
                j = i + 1
                while j < len(line) and line[j] != line[i]:
                    j += 2 if line[j] == "\\" else 1
                out.append(" " * (min(j + 1, len(line)) - i))
                i = j + 1
            else:
                out.append(line[i])
                i += 1
        masked = "".join(out)
        stripped = masked.strip()
        skipped = stripped.startswith("#") or "static_assert" in masked
        result.append(None if skipped else masked)
    return result


# Binary operators, which clang-format always writes between blanks; the
# blanks tell them from unary signs, pointers, references and templates.
BINARY = {
    "+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "%": ["/"],
    "&": ["|"], "|": ["&"], "^": ["&"], "<<": [">>"], ">>": ["<<"],
    "+=": ["-="], "-=": ["+="], "*=": ["/="], "/=": ["*="],
    "<": ["<="], "<=": ["<", "=="], ">": [">="], ">=": [">", "=="], "==": ["!="], "!=": ["=="],
    "&&": ["||"], "||": ["&&"],
}
BINARY_PATTERN = re.compile(r"(?<= )(\+=|-=|\*=|/=|<<|>>|<=|>=|==|!=|&&|\|\||[-+*/%&|^<>])(?= )")
NOT_PATTERN = re.compile(r"!(?!=)")
BOOL_PATTERN = re.compile(r"\b(true|false)\b")
NUMBER_PATTERN = re.compile(
    r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+\.\d*(?:[eE][+-]?\d+)?|\.\d+(?:[eE][+-]?\d+)?|\d+(?:[eE][+-]?\d+)?)"
    r"([uUlLfF]*)(?![\w.])")


def literal_changes(literal):
    if literal.lower().startswith("0x"):
        value = int(literal, 16)
        digits = len(literal) - 2
        upper = any(c in "ABCDEF" for c in literal[2:])
        form = lambda v: "0x" + format(v, ("X" if upper else "x")).zfill(digits)
        return [form(value + 1)] + ([form(value - 1)] if value > 0 else [])
    if re.fullmatch(r"\d+", literal):
        value = int(literal)
        if literal.startswith("0") and value != 0:
            return []  # octal, never written here
        return [str(value + 1)] + ([str(value - 1)] if value > 0 else [])
    value = float(literal)
    changes = [repr(value + 1.0)]
    if value >= 1.0:
        changes.append(repr(value - 1.0))
    return changes


class Mutant:
    def __init__(self, path, number, line, start, end, original, replacement, occurrence, twin):
        self.path = path
        self.number = number  # 1-based, for people
        self.line = line
        self.start = start
        self.end = end
        self.original = original
        self.replacement = replacement
        self.occurrence = occurrence  # among the same original token on the line, 1-based
        self.twin = twin  # among the file's lines of the same text, 1-based

    def key(self):
        return (self.path, self.line.strip(), self.change())

    def change(self):
        place = f" #{self.occurrence}" if self.occurrence > 1 else ""
        twin = f" (line of this text {self.twin})" if self.twin > 1 else ""
        return f"{self.original} -> {self.replacement}{place}{twin}"

    def mutated_line(self):
        return self.line[: self.start] + self.replacement + self.line[self.end:]

    def describe(self):
        return f"{self.path}:{self.number}: {self.change()}    {self.line.strip()}"

    def list_entry(self):
        return f"{self.path}\t{self.change()}\t{self.line.strip()}\t"


def mutants_of(path, text):
    lines = text.split("\n")
    found = []
    twins = {}
    for index, masked in enumerate(masked_lines(text)):
        if masked is None or not masked.strip():
            continue
        line = lines[index]
        spots = []
        for match in BINARY_PATTERN.finditer(masked):
            token = match.group(1)
            if token == "<" and masked[: match.start()].rstrip().endswith("template"):
                continue
            for replacement in BINARY[token]:
                spots.append((match.start(1), match.end(1), token, replacement))
        for match in NOT_PATTERN.finditer(masked):
            spots.append((match.start(), match.end(), "!", ""))
        for match in BOOL_PATTERN.finditer(masked):
            token = match.group(1)
            spots.append((match.start(), match.end(), token, "false" if token == "true" else "true"))
        for match in NUMBER_PATTERN.finditer(masked):
            for replacement in literal_changes(match.group(1)):
                spots.append((match.start(1), match.end(1), match.group(1), replacement))
        twins[line.strip()] = twins.get(line.strip(), 0) + 1
        seen = {}
        for start, end, original, replacement in sorted(spots):
            occurrence_key = (original, replacement)
            seen[occurrence_key] = seen.get(occurrence_key, 0) + 1
            found.append(Mutant(path, index + 1, line, start, end, original, replacement, seen[occurrence_key],
                                twins[line.strip()]))
    return found


def read_equivalents():
    """The listed equivalent mutants by key, each with its reason."""
    entries = {}
    with open(os.path.join(ROOT, EQUIVALENT_LIST), encoding="utf-8") as listed:
        for number, raw in enumerate(listed, 1):
            raw = raw.rstrip("\n")
            if not raw.strip() or raw.startswith("#"):
                continue
            fields = raw.split("\t")
            if len(fields) != 4 or not fields[3].strip():
                sys.exit(f"{EQUIVALENT_LIST}:{number}: want file, change, line text and reason, tab-separated")
            entries[(fields[0], fields[2].strip(), fields[1])] = fields[3].strip()
    return entries


def sync_copy(scratch):
    """Makes the scratch tree the working tree's copy, rewriting only files
    that differ, so that the build stays incremental."""
    wanted = set()
    for item in COPIED:
        source = os.path.join(ROOT, item)
        paths = [source] if os.path.isfile(source) else [
            os.path.join(folder, name) for folder, _, names in os.walk(source) for name in names]
        for path in paths:
            relative = os.path.relpath(path, ROOT)
            if "__pycache__" in relative or "node_modules" in relative:
                continue
            wanted.add(relative)
            target = os.path.join(scratch, relative)
            with open(path, "rb") as f:
                content = f.read()
            if os.path.exists(target):
                with open(target, "rb") as f:
                    if f.read() == content:
                        continue
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as f:
                f.write(content)
    for folder, _, names in os.walk(scratch):
        for name in names:
            relative = os.path.relpath(os.path.join(folder, name), scratch)
            if relative not in wanted:
                os.remove(os.path.join(scratch, relative))


def build(build_dir, log):
    result = subprocess.run(["cmake", "--build", build_dir, "-j", "1", "--target", "brawlwise_core_tests",
                             "brawlwise_allocation_test"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if log is not None:
        with open(log, "wb") as f:
            f.write(result.stdout)
    return result.returncode == 0


def run_tests(build_dir, timeout):
    """True when every test program passes within the time limit."""
    for program in TEST_PROGRAMS:
        process = subprocess.Popen([os.path.join(build_dir, program), "--gtest_fail_fast", "--gtest_brief=1"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            if process.wait(timeout=timeout) != 0:
                return False
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return False
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, default=int(os.environ.get("MUTANTS_SEED", DEFAULT_SEED)))
    parser.add_argument("--per-file", type=int, default=int(os.environ.get("MUTANTS_PER_FILE", DEFAULT_PER_FILE)),
                        help="mutants drawn from each file; 0 takes every one")
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "mutants"))
    parser.add_argument("--file", action="append", help="only this file (repeatable)")
    parser.add_argument("--list", action="store_true", help="print the mutants drawn and stop")
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)

    started = time.monotonic()
    equivalents = read_equivalents()
    files = [f for f in mutated_files() if not args.file or f in args.file]
    drawn = []
    candidates = {}
    for path in files:
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            text = f.read()
        every = mutants_of(path, text)
        for m in every:
            candidates[m.key()] = m
        count = len(every) if args.per_file <= 0 else min(args.per_file, len(every))
        chosen = random.Random(f"{args.seed}:{path}").sample(every, count)
        drawn.extend(sorted(chosen, key=lambda m: (m.number, m.start, m.replacement)))
    stale = [key for key in equivalents if key not in candidates and (not args.file or key[0] in args.file)]

    print(f"Mutants: seed {args.seed}, {args.per_file if args.per_file > 0 else 'every one'} a file, "
          f"{len(drawn)} drawn from {len(candidates)} in {len(files)} files")
    if args.list:
        for m in drawn:
            print(("  [equivalent] " if m.key() in equivalents else "  ") + m.describe())
        return 0

    scratch = os.path.join(args.build, "src")
    build_dir = os.path.join(args.build, "build")
    os.makedirs(scratch, exist_ok=True)
    sync_copy(scratch)
    quick = os.path.join(args.build, "quick-tests.cmake")
    with open(quick, "w", encoding="utf-8") as f:
        f.write(QUICK_TESTS)
    if not os.path.exists(os.path.join(build_dir, "build.ninja")):
        subprocess.run(["cmake", "-S", scratch, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                        "-DCMAKE_PROJECT_INCLUDE=" + quick], check=True, stdout=subprocess.DEVNULL)
    log = os.path.join(args.build, "unmutated-build.log")
    if not build(build_dir, log):
        sys.exit(f"The unmutated sources do not build: see {log}")
    baseline_start = time.monotonic()
    if not run_tests(build_dir, 600):
        sys.exit("The unit tests fail on the unmutated sources.")
    timeout = max(20.0, 10 * (time.monotonic() - baseline_start))

    killed, survived, uncompiled, equivalent_survived, equivalent_killed = [], [], [], [], []
    by_file = {}
    for path in files:
        mutants = [m for m in drawn if m.path == path]
        if not mutants:
            continue
        target = os.path.join(scratch, path)
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            original = f.read()
        tally = by_file.setdefault(path, [0, 0, 0, 0])
        try:
            for m in mutants:
                lines = original.split("\n")
                lines[m.number - 1] = m.mutated_line()
                with open(target, "w", encoding="utf-8") as f:
                    f.write("\n".join(lines))
                listed = m.key() in equivalents
                if not build(build_dir, None):
                    uncompiled.append(m)
                    tally[2] += 1
                elif run_tests(build_dir, timeout):
                    (equivalent_survived if listed else survived).append(m)
                    tally[3 if listed else 1] += 1
                    if not listed:
                        print("  survived: " + m.describe(), flush=True)
                else:
                    (equivalent_killed if listed else killed).append(m)
                    tally[0] += 1
        finally:
            with open(target, "w", encoding="utf-8") as f:
                f.write(original)
        print(f"{path}: {tally[0]} killed, {tally[1]} survived, {tally[3]} equivalent, {tally[2]} not compiled",
              flush=True)
    build(build_dir, None)  # leaves the build as the sources are

    counted = len(killed) + len(equivalent_killed) + len(survived)
    minutes, seconds = divmod(int(time.monotonic() - started), 60)
    print()
    print(f"Score: {len(killed) + len(equivalent_killed)} killed of {counted} "
          f"({100.0 * (len(killed) + len(equivalent_killed)) / max(counted, 1):.1f} %); "
          f"{len(drawn) - len(uncompiled)} compiled, less {len(equivalent_survived)} equivalent; "
          f"{len(uncompiled)} did not compile; seed {args.seed}; {minutes} min {seconds} s")
    for m in equivalent_killed:
        print(f"  listed as equivalent, yet killed (remove it from {EQUIVALENT_LIST}): {m.describe()}")
    for key in stale:
        print(f"  listed as equivalent, no longer a mutant of its file: {key[0]}: {key[2]}    {key[1]}")
    if survived:
        print(f"{len(survived)} survived (a line for {EQUIVALENT_LIST}, with a reason, only if it cannot "
              "change any observable result):")
        for m in survived:
            print("  " + m.describe())
            print("    " + m.list_entry() + "REASON")
        return 1
    print("No survivor outside the equivalent list.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
