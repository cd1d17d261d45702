#!/usr/bin/env python3
"""Tests of the generators: what they emit and the faulty tables they refuse."""
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
GEN = ROOT / "tools" / "gen"


def run(script, *args):
    return subprocess.run([sys.executable, str(GEN / script), *map(str, args)],
                          capture_output=True, text=True)


class Scratch(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())

    def tearDown(self):
        shutil.rmtree(self.dir)

    def write(self, name, text):
        path = self.dir / name
        path.write_text(text, encoding="utf-8")
        return path


class StringsTest(Scratch):
    def gen(self, strings):
        helps = self.write("h.tsv", "id\ttext\n1100\tHilfe\n")
        return run("gen_strings.py", "--strings", self.write("s.tsv", strings), "--help-texts", helps,
                   "--out-cpp", self.dir / "t.cpp", "--out-ids", self.dir / "ids.h",
                   "--out-rc", self.dir / "s.rc")

    def test_names_become_constants_beside_their_ids(self):
        p = self.gen("id\tname\ttext\n10012\tkStrUnknown\tunbekannt\n10094\tkStrDeleteSpecimenCaption\tStufe löschen\n")
        self.assertEqual(p.returncode, 0, p.stderr)
        ids = (self.dir / "ids.h").read_text(encoding="utf-8")
        self.assertIn("inline constexpr int kStrUnknown = 10012;", ids)
        self.assertIn("inline constexpr int kStrDeleteSpecimenCaption = 10094;", ids)
        self.assertIn('{10094, "Stufe l\\366schen"}', (self.dir / "t.cpp").read_text())

    def test_faulty_tables_are_refused(self):
        for table in ["id\ttext\n10012\tunbekannt\n",                                   # no name column
                      "id\tname\ttext\n10012\tkStrA\ta\n10013\tkStrA\tb\n",             # name twice
                      "id\tname\ttext\n10012\tunknown\ta\n",                            # not kStr...
                      "id\tname\ttext\n10012\tkStrA\ta\n10012\tkStrB\tb\n",             # id twice
                      "id\tname\ttext\n10120\tkStrA\ta\n"]:                             # outside the table
            self.assertNotEqual(self.gen(table).returncode, 0, table)


class CommandsTest(Scratch):
    def test_macros_for_rc_and_constants_for_cxx(self):
        tsv = self.write("c.tsv", "id\tname\tmenu\n1020\tCMD_VIEW_MINERAL\tAnsicht / &Mineral\n1001\tCMD_QUIT\tx\n")
        p = run("gen_commands.py", "--commands", tsv, "--out", self.dir / "command_ids.h")
        self.assertEqual(p.returncode, 0, p.stderr)
        header = (self.dir / "command_ids.h").read_text(encoding="utf-8")
        self.assertIn("#define CMD_VIEW_MINERAL 1020\n", header)
        self.assertIn("inline constexpr int kCmdViewMineral = CMD_VIEW_MINERAL;", header)
        # The C++ part is hidden from the resource compiler.
        self.assertLess(header.index("#ifndef RC_INVOKED"), header.index("namespace"))
        self.assertLess(header.index("kCmdQuit,"), header.index("kCmdViewMineral,"))  # ascending

    def test_duplicates_are_refused(self):
        for rows in ["1001\tCMD_QUIT\tx\n1001\tCMD_INFO\ty\n", "1001\tCMD_QUIT\tx\n1002\tCMD_QUIT\ty\n"]:
            tsv = self.write("c.tsv", "id\tname\tmenu\n" + rows)
            self.assertNotEqual(run("gen_commands.py", "--commands", tsv, "--out", self.dir / "h").returncode, 0)


class ColoursTest(Scratch):
    def table(self):
        return (ROOT / "data" / "colour_table.tsv").read_text(encoding="utf-8")

    def test_docs_follow_the_table(self):
        table = self.write("t.tsv", self.table())
        docs = self.write("d.md", (ROOT / "docs" / "colours.md").read_text(encoding="utf-8"))
        self.assertEqual(run("gen_colours.py", "--table", table, "--docs", docs, "--check-docs").returncode, 0)
        # A mask changed in the table is a drift in the docs until they are written anew.
        changed = self.table().replace("\tazurblau\tblau\t001\t0F0\t01C\t", "\tazurblau\tblau\t001\t0F8\t01C\t")
        table.write_text(changed, encoding="utf-8")
        self.assertNotEqual(run("gen_colours.py", "--table", table, "--docs", docs, "--check-docs").returncode, 0)
        self.assertEqual(run("gen_colours.py", "--table", table, "--docs", docs, "--write-docs").returncode, 0)
        self.assertIn("| 6 | azurblau | blau | 001 | 0F8 | 01C | ja |", docs.read_text(encoding="utf-8"))
        self.assertEqual(run("gen_colours.py", "--table", table, "--docs", docs, "--check-docs").returncode, 0)

    def test_compiled_rows_are_windows_1252_in_order(self):
        p = run("gen_colours.py", "--table", ROOT / "data" / "colour_table.tsv", "--out-cpp", self.dir / "c.cpp")
        self.assertEqual(p.returncode, 0, p.stderr)
        cpp = (self.dir / "c.cpp").read_text(encoding="utf-8")
        self.assertIn('{"apfelgr\\374n", 0x004, 0x078, 0x038, true},  // 3 apfelgrün', cpp)
        self.assertEqual(cpp.count("},  // "), 427)

    def test_faulty_tables_are_refused(self):
        good = self.table()
        faults = [good.replace("\n3\tapfelgrün", "\n4\tapfelgrün"),                        # row out of order
                  good.replace("\tapfelgrün\tgrün\t004\t", "\tapfelgrün\tgrün\t4\t"),        # mask not 3 hex digits
                  good.replace("\tapfelgrün\tgrün\t004\t078\t038\tja", "\tapfelgrün\tgrün\t004\t078\t038\tyes"),
                  good.replace("\t100\t038\t038\tnein\tsame masks as \"grau\"",              # note not true
                               "\t100\t03C\t038\tnein\tsame masks as \"grau\"", 1)]
        for i, text in enumerate(faults):
            self.assertNotEqual(text, good, i)
            p = run("gen_colours.py", "--table", self.write("t.tsv", text), "--out-cpp", self.dir / "c.cpp")
            self.assertNotEqual(p.returncode, 0, i)


if __name__ == "__main__":
    unittest.main()
