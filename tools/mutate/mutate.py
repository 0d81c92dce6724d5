#!/usr/bin/env python3
"""Mutation testing of one source file: do the tests notice a plausible slip?

Generates mutants of SOURCE (one small change each: a comparison turned
around or loosened, a condition dropped or negated, a constant off by one,
an arithmetic or logical operator swapped, a statement or return value
removed), picks a sample of them with a fixed seed, and for each rebuilds the
project incrementally in BUILD_DIR and runs its tests. A mutant that does not
compile is left out; one that the tests pass is a survivor and is printed as
a diff. The source is always restored, also when the run is interrupted.

Usage: mutate.py SOURCE [--build-dir DIR] [--mutants N] [--seed S]
                 [--list] [--only K,L,...] [--timeout SECONDS]

--only tests the given numbers of the sample again (after the tests were
sharpened, say), the sample itself unchanged. --record FILE runs every test
on each mutant (no stop at the first failure) and appends one JSON line per
mutant naming the tests that failed: which tests kill what, to tell a test
that catches faults no other test catches from one that can go.
"""

import argparse
import collections
import difflib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

# Operators applied to a token of a code line: (name, pattern, replacement).
# Patterns are matched outside string and character literals and comments.
SWAPS = [
    # The sources are clang-formatted: binary operators stand between blanks,
    # which tells a comparison from a template's angle brackets.
    ("relational", r" < ", " <= "),
    ("relational", r" <= ", " < "),
    ("relational", r" > ", " >= "),
    ("relational", r" >= ", " > "),
    ("equality", r" == ", " != "),
    ("equality", r" != ", " == "),
    ("logical", r" && ", " || "),
    ("logical", r" \|\| ", " && "),
    ("arithmetic", r" \+ ", " - "),
    ("arithmetic", r" - ", " + "),
    ("arithmetic", r" \* ", " / "),
    ("arithmetic", r" \+= ", " -= "),
    ("arithmetic", r" -= ", " += "),
    ("increment", r"\+\+", "--"),
    ("boolean", r"\btrue\b", "false"),
    ("boolean", r"\bfalse\b", "true"),
    ("negation", r"!(?=[\w(])", ""),
    ("break", r"\bbreak;", "continue;"),
]
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
CONDITION = re.compile(r"\b(if|while) \(")
RETURN_VALUE = re.compile(r"^(\s*)return\s+(.+);\s*$")
STATEMENT = re.compile(r"^\s*[\w:.>\-\[\]()*&]+(\(|\s*[-+*/]?=\s).*;\s*$")
SKIP_LINE = re.compile(r"^\s*(#|//|static_assert|using |namespace |template)")


def code_spans(line):
    """The parts of `line` outside literals and // comments: (start, end)."""
    spans, start, i, quote = [], 0, 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote, start = None, i + 1
        elif c in "\"'":
            if i > start:
                spans.append((start, i))
            quote = c
        elif line.startswith("//", i):
            break
        i += 1
    end = i if not quote else start
    if end > start and not quote:
        spans.append((start, end))
    return spans


def condition_span(line):
    """(start, end) of the condition of an if or while on `line`, or None."""
    m = CONDITION.search(line)
    if not m:
        return None
    depth = 0
    for i in range(m.end() - 1, len(line)):
        depth += {"(": 1, ")": -1}.get(line[i], 0)
        if depth == 0:
            return (m.end(), i)
    return None  # the condition goes on over the next lines


def line_mutants(line):
    """Every mutant of one line: (operator, mutated line)."""
    if SKIP_LINE.match(line) or not line.strip():
        return []
    found = []
    for start, end in code_spans(line):
        part = line[start:end]
        for name, pattern, replacement in SWAPS:
            for m in re.finditer(pattern, part):
                a, b = start + m.start(), start + m.end()
                found.append((name, line[:a] + replacement + line[b:]))
        for m in INTEGER.finditer(part):
            value = int(m.group(1))
            a, b = start + m.start(), start + m.end()
            for other in {value + 1, max(value - 1, 0)} - {value}:
                found.append(("constant", line[:a] + str(other) + line[b:]))
    spans = code_spans(line)
    code_end = spans[-1][1] if spans else 0
    condition = condition_span(line[:code_end])
    if condition:
        a, b = condition
        for replacement in ("!(" + line[a:b] + ")", "true", "false"):
            found.append(("condition", line[:a] + replacement + line[b:]))
    m = RETURN_VALUE.match(line)
    if m and m.group(2) not in ("true", "false", "0", "nullptr"):
        value = m.group(2)
        if value.startswith("!"):
            found.append(("return", line.replace(value, value[1:], 1)))
    code = line[:code_end].rstrip()
    if STATEMENT.match(code) and not code.endswith("{"):
        indent = line[: len(line) - len(line.lstrip())]
        found.append(("statement", indent + ";\n"))
    return found


RAW_STRING = re.compile(r'R"([^()\\ ]{0,16})\(')


def all_mutants(lines):
    """Every mutant of a file: (line index, operator, mutated line).

    Lines of block comments and of raw string literals that span lines are
    passed over: their text is data, not code."""
    mutants, in_block_comment, raw_end = [], False, None
    for index, line in enumerate(lines):
        stripped = line.strip()
        if raw_end is not None:
            if raw_end in line:
                raw_end = None
            continue
        raw = RAW_STRING.search(line)
        if raw and ")" + raw.group(1) + '"' not in line[raw.end():]:
            raw_end = ")" + raw.group(1) + '"'
            continue
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        for name, mutated in line_mutants(line):
            if mutated != line:
                mutants.append((index, name, mutated))
    return mutants


def untracked(root):
    """Files in the source tree that git neither tracks nor ignores."""
    done = subprocess.run(["git", "ls-files", "--others", "--exclude-standard",
                           "-z"], cwd=root, capture_output=True)
    return set(done.stdout.decode("utf-8", "replace").split("\0")) - {""}


def remove_new_files(root, before):
    """Removes what a mutant wrote into the source tree (an output beside a
    test input, say), so that it cannot fail the tests of the next one."""
    for name in untracked(root) - before:
        try:
            os.remove(os.path.join(root, name))
        except OSError:
            pass


FAILED_TEST = re.compile(r"^\s*\d+ - (\S+) \(", re.MULTILINE)


def run(command, cwd, timeout):
    """(exit status, seconds, output); status None when it timed out.

    The command runs in a process group of its own, killed as a whole when
    it ends: a test that timed out leaves no program of a hung mutant behind
    (CTest stops only the test's own process, not what a test script
    started)."""
    started = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True,
                               errors="replace", start_new_session=True)
    output, status = "", None
    try:
        output, _ = process.communicate(timeout=timeout)
        status = process.returncode
    except subprocess.TimeoutExpired:
        pass
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    if status is None:
        process.communicate()  # reaps the killed command
    return status, time.monotonic() - started, output or ""


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("source")
    parser.add_argument("--build-dir", default="build-mutate")
    parser.add_argument("--mutants", type=int, default=60)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--timeout", type=int, default=60,
                        help="seconds one test may take (a hung mutant is "
                        "killed)")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--list", action="store_true",
                        help="print the sampled mutants and stop")
    parser.add_argument("--record", metavar="FILE",
                        help="run all tests per mutant, log the failing ones")
    parser.add_argument("--only", default="",
                        help="comma-separated numbers of the sample to test")
    return parser.parse_args()


def build_and_test_commands(root, args):
    """Configures the mutation build; returns its build and test commands,
    or None when the unmutated project does not build or pass its tests."""
    build = os.path.join(root, args.build_dir)
    # Unoptimised without debug information, and programs not relinked when
    # only the shared library changed: a mutant rebuilds in a few seconds.
    configure = ["cmake", "-S", root, "-B", build, "-DCMAKE_BUILD_TYPE=Debug",
                 "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DCMAKE_C_FLAGS_DEBUG=-O0",
                 "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON"]
    if shutil.which("ccache"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    subprocess.run(configure, check=True, stdout=subprocess.DEVNULL)
    build_cmd = ["cmake", "--build", build, "-j", str(args.jobs)]
    test_cmd = ["ctest", "--test-dir", build, "-j", str(args.jobs),
                "--timeout", str(args.timeout)]
    if not args.record:
        test_cmd.append("--stop-on-failure")
    for step, command in (("build", build_cmd), ("pass its tests", test_cmd)):
        done = subprocess.run(command, cwd=root, capture_output=True,
                              text=True, errors="replace")
        if done.returncode != 0:
            print(done.stdout[-3000:] + done.stderr[-3000:])
            print(f"the unmutated project does not {step}")
            return None
    return build_cmd, test_cmd


class MutantRun:
    """Writes each mutant of one source in place, builds, tests, and puts
    the source back however the run ends."""

    def __init__(self, root, source, lines, args, commands):
        self.root, self.source, self.lines, self.args = root, source, lines, \
            args
        self.build_cmd, self.test_cmd = commands
        self.backup = source + ".mutate-backup"
        shutil.copy2(source, self.backup)
        self.clean = untracked(root) | {os.path.relpath(self.backup, root)}
        self.counts = collections.Counter()

    def put_back(self):
        # A plain copy: the restored file must look newer than the mutant's
        # object, or the next build would keep the mutant. Once only (an
        # interrupt restores before the final clean-up runs).
        if os.path.exists(self.backup):
            shutil.copyfile(self.backup, self.source)
            os.remove(self.backup)

    def test(self, index, mutated, label):
        """The verdict on one mutant and the tests that failed on it."""
        changed = self.lines[:index] + [mutated] + self.lines[index + 1:]
        with open(self.source, "w", encoding="latin-1") as f:
            f.write("".join(changed))
        status, _, _ = run(self.build_cmd, self.root, 1800)
        if status != 0:
            self.counts["stillborn"] += 1
            return "does not compile", []
        status, seconds, output = run(self.test_cmd, self.root,
                                      self.args.timeout * 4)
        remove_new_files(self.root, self.clean)
        failed = FAILED_TEST.findall(output)
        if status != 0:
            self.counts["killed"] += 1
            return ("killed (timeout)" if status is None
                    else f"killed in {seconds:.0f} s"), failed
        self.counts["survived"] += 1
        context = slice(max(index - 2, 0), index + 3)
        sys.stdout.write("".join(difflib.unified_diff(
            self.lines[context], changed[context],
            f"{self.args.source}:{index + 1}", label)))
        return "SURVIVED", failed

    def record(self, number, index, name, mutated, verdict, failed):
        with open(self.args.record, "a", encoding="utf-8") as f:
            f.write(json.dumps({
                "source": os.path.relpath(self.source, self.root),
                "seed": self.args.seed, "number": number,
                "line": index + 1, "operator": name,
                "mutant": mutated.strip(), "verdict": verdict,
                "failed": failed}) + "\n")


def main():
    args = parse_args()
    root = os.path.dirname(os.path.dirname(os.path.dirname(
        os.path.abspath(__file__))))
    source = os.path.abspath(args.source)
    with open(source, encoding="latin-1") as f:
        lines = f.read().splitlines(keepends=True)
    candidates = all_mutants(lines)
    sample = sorted(random.Random(args.seed).sample(
        candidates, min(args.mutants, len(candidates))))
    name_of_source = os.path.relpath(source, root)
    print(f"{name_of_source}: {len(candidates)} mutants, "
          f"testing {len(sample)} (seed {args.seed})")
    if args.list:
        for number, (index, name, mutated) in enumerate(sample, 1):
            print(f"[{number}] line {index + 1} {name}: {mutated.strip()}")
        return 0
    only = {int(n) for n in args.only.split(",") if n.strip()}
    commands = build_and_test_commands(root, args)
    if commands is None:
        return 2
    mutants = MutantRun(root, source, lines, args, commands)

    def restore(*_):
        mutants.put_back()
        sys.exit(130)

    signal.signal(signal.SIGINT, restore)
    signal.signal(signal.SIGTERM, restore)
    try:
        for number, (index, name, mutated) in enumerate(sample, 1):
            if only and number not in only:
                continue
            verdict, failed = mutants.test(index, mutated, f"mutant {number}")
            print(f"[{number}/{len(sample)}] line {index + 1} {name}: "
                  f"{verdict}", flush=True)
            if args.record:
                mutants.record(number, index, name, mutated, verdict, failed)
    finally:
        mutants.put_back()
        run(commands[0], root, None)
    killed, survived = mutants.counts["killed"], mutants.counts["survived"]
    tested = killed + survived
    rate = 100.0 * killed / tested if tested else 100.0
    print(f"{name_of_source}: {killed} killed, {survived} survived, "
          f"{mutants.counts['stillborn']} did not compile: "
          f"kill rate {rate:.0f} %")
    return 0


if __name__ == "__main__":
    sys.exit(main())
