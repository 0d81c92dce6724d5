"""Tests of the mutant generator: what it changes and what it leaves alone."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mutate  # noqa: E402
import summary  # noqa: E402


def mutants(line):
    return [m for _, m in mutate.line_mutants(line + "\n")]


class LineMutants(unittest.TestCase):
    def test_operators_between_blanks_only(self):
        found = mutants("  if (a < b && c != d) x += 2;")
        for expected in ("a <= b", "a < b || c", "c == d", "x -= 2",
                         "x += 3", "x += 1", "if (!(a < b && c != d))",
                         "if (true)", "if (false)"):
            self.assertTrue(any(expected in m for m in found), expected)
        # Declarations are never deleted; template brackets never compared.
        self.assertEqual(mutants("  auto n = static_cast<int>(x);"), [])

    def test_literals_comments_and_directives_stay(self):
        self.assertEqual(mutants('  Write("a < b", \'<\');  // 1 + 2'),
                         ["  ;\n"])
        self.assertIn("  if (!(f(a) > 0)) g(1);\n", mutants("  if (f(a) > 0) g(1);"))
        self.assertEqual(mutants("#include <vector>"), [])
        self.assertEqual(mutants("// if (a < b) return 1;"), [])
        self.assertEqual(mutants('  s = "\\" < 3";'), ["  ;\n"])

    def test_block_comments_are_skipped(self):
        lines = ["/* a < b\n", "   c == d */\n", "x = a < b;\n"]
        self.assertEqual({i for i, _, _ in mutate.all_mutants(lines)}, {2})

    def test_raw_strings_over_lines_are_skipped(self):
        lines = ['  x = a < b;\n', '  return R"HELP(Usage: 1 < 2\n',
                 'text == 3\n', ')HELP";\n', '  y = c < d;\n']
        self.assertEqual({i for i, _, _ in mutate.all_mutants(lines)}, {0, 4})

    def test_constants_move_by_one_and_never_below_zero(self):
        found = mutants("  return 0;")
        self.assertIn("  return 1;\n", found)
        self.assertNotIn("  return -1;\n", found)
        self.assertIn("  n = 9;\n", mutants("  n = 10;"))
        self.assertEqual(mutants("  x = 1.5;"), ["  ;\n"])


class Summary(unittest.TestCase):
    def test_verdicts_units_and_the_last_record_of_a_mutant(self):
        import json
        import tempfile
        record = [
            {"source": "d/A_lines.cpp", "seed": 1, "number": 1,
             "mutant": "x = 1;", "verdict": "SURVIVED", "failed": []},
            {"source": "d/A_lines.cpp", "seed": 1, "number": 2,
             "mutant": "y = 1;", "verdict": "SURVIVED", "failed": []},
            {"source": "d/A_lines.cpp", "seed": 1, "number": 2,
             "mutant": "y = 1;", "verdict": "killed in 1 s", "failed": ["T"]},
        ]
        with tempfile.NamedTemporaryFile("w", suffix=".jsonl",
                                         delete=False) as f:
            f.write("".join(json.dumps(r) + "\n" for r in record))
        records = summary.load_records(f.name, "")
        os.remove(f.name)
        equivalents = {("d/A_lines.cpp", "x = 1;")}
        self.assertEqual(sorted(summary.verdict(r, equivalents)
                                for r in records), ["equivalent", "killed"])
        self.assertEqual(summary.unit_of("druvo/ksef/UVlqKoKs_lines.cpp"),
                         "druvo/ksef/UVlqKoKs")
        self.assertEqual(summary.unit_of("druvo/util/KUTIL.cpp"),
                         "druvo/util/KUTIL")


if __name__ == "__main__":
    unittest.main()
