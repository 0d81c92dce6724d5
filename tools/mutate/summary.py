#!/usr/bin/env python3
"""Kill rates per unit, and what each test kills, from a mutate.py record.

Reads the JSON lines `mutate.py --record FILE` appends (the last record of a
mutant counts, so a re-run after sharpening replaces the first verdict) and
the mutants set aside as equivalent (tools/mutate/equivalent.txt: one per
line, "source | mutated line | why"; the line's text, not its number, is the
key, so the list survives edits elsewhere in the file; "source:N" ties an
entry to line N, for a text as common as a deleted statement's ";").

Usage: summary.py RECORD [--tests] [--source SUBSTRING]
  Prints one row per source (killed, survived, equivalent, did not compile,
  kill rate over the non-equivalent mutants) and a row per unit (a unit is
  the sources named <Unit>.cpp and <Unit>_<concern>.cpp). --tests adds, per
  test, how many mutants it kills and how many only it kills: a test that
  kills nothing alone is a candidate for merging or removal.
"""

import argparse
import collections
import json
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
UNIT = re.compile(r"_(posix|win32|[a-z]+)$")


def load_equivalents(path):
    """{(source, mutated line text)} from the equivalents file."""
    found = set()
    if not os.path.exists(path):
        return found
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                # The mutated line may hold " | " itself: it is all between
                # the first field and the last.
                parts = line.split(" | ")
                found.add((parts[0].strip(), " | ".join(parts[1:-1]).strip()))
    return found


def load_records(path, source_filter):
    """The last record of each (source, seed, number)."""
    records = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            r = json.loads(line)
            if source_filter in r["source"]:
                records[(r["source"], r["seed"], r["number"])] = r
    return list(records.values())


def verdict(record, equivalents):
    if record["verdict"] == "does not compile":
        return "stillborn"
    if record["verdict"] == "SURVIVED":
        source, mutant = record["source"], record["mutant"]
        at_line = (f"{source}:{record.get('line')}", mutant)
        if (source, mutant) in equivalents or at_line in equivalents:
            return "equivalent"
        return "survived"
    return "killed"


def unit_of(source):
    stem = os.path.splitext(source)[0]
    return UNIT.sub("", stem)


def print_rates(records, equivalents):
    per_source = collections.defaultdict(collections.Counter)
    for r in records:
        per_source[r["source"]][verdict(r, equivalents)] += 1
    per_unit = collections.defaultdict(collections.Counter)
    for source, counts in per_source.items():
        per_unit[unit_of(source)].update(counts)
    header = f"{'':52} killed survived equiv. stillborn  rate"
    for title, table in (("source", per_source), ("unit", per_unit)):
        print(f"{title:52}{header[52:]}")
        for name in sorted(table):
            c = table[name]
            tested = c["killed"] + c["survived"]
            rate = f"{100 * c['killed'] / tested:5.0f} %" if tested else "   - "
            print(f"{name:52} {c['killed']:6} {c['survived']:8} "
                  f"{c['equivalent']:6} {c['stillborn']:9} {rate}")
        print()


def print_tests(records):
    kills = collections.Counter()
    alone = collections.defaultdict(list)
    for r in records:
        for test in r["failed"]:
            kills[test] += 1
        if len(r["failed"]) == 1:
            alone[r["failed"][0]].append(f"{r['source']}:{r['line']}")
    print(f"{'kills':>5} {'alone':>5} test")
    for test in sorted(kills):
        print(f"{kills[test]:5} {len(alone[test]):5} {test}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("record")
    parser.add_argument("--tests", action="store_true")
    parser.add_argument("--source", default="")
    parser.add_argument("--equivalents",
                        default=os.path.join(HERE, "equivalent.txt"))
    args = parser.parse_args()
    records = load_records(args.record, args.source)
    print_rates(records, load_equivalents(args.equivalents))
    if args.tests:
        print_tests(records)


if __name__ == "__main__":
    main()
