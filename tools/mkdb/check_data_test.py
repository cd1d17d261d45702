#!/usr/bin/env python3
"""Tests of check_data.py: each case breaks one table in a scratch copy of data/
and expects the checker to name exactly that fault; the untouched copy passes."""

import shutil
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_data  # noqa: E402

DATA = Path(__file__).resolve().parents[2] / "data"


def run_checker(data_dir):
    report = check_data.Report()
    check_data.DataSet(data_dir, report).run()
    return report


class CheckDataTest(unittest.TestCase):
    def setUp(self):
        self.scratch = Path(tempfile.mkdtemp(prefix="kalvor-data-"))
        self.data = self.scratch / "data"
        shutil.copytree(DATA, self.data, ignore=shutil.ignore_patterns("sources"))

    def tearDown(self):
        shutil.rmtree(self.scratch)

    def replace(self, file_name, old, new, count=1):
        path = self.data / file_name
        text = path.read_text(encoding="utf-8")
        if old not in text:
            self.fail(f"test setup: {old!r} not in {file_name}")
        path.write_text(text.replace(old, new, count), encoding="utf-8")

    def append(self, file_name, line):
        with (self.data / file_name).open("a", encoding="utf-8") as out:
            out.write(line + "\n")

    def assertFault(self, fragment):
        errors = run_checker(self.data).errors
        self.assertTrue(any(fragment in e for e in errors),
                        f"no error containing {fragment!r}; got {errors[:5]}")

    def test_shipped_tables_pass(self):
        report = run_checker(self.data)
        self.assertEqual(report.errors, [])
        figures = dict(report.figures)
        self.assertGreaterEqual(figures["aliases"], 300)
        self.assertGreaterEqual(figures["glossary entries"], 150)

    def test_curated_values_outside_their_vocabularies(self):
        self.replace("curated.tsv", "Gold\tcolours\tgoldgelb-metallisch",
                     "Gold\tcolours\tgoldig-metallisch")
        self.assertFault("'goldig-metallisch' is not a row of the colour table")
        self.replace("curated.tsv", "Copper\thardness\t2.5-3", "Copper\thardness\t2.25-3")
        self.assertFault("is not a half step")
        self.replace("curated.tsv", "Gold\tdensity\t15.5-19.3", "Gold\tdensity\t15.5-25")
        self.assertFault("density 25 outside 0.5 to 23")
        self.replace("curated.tsv", "Gold\tlustre\tmetall", "Gold\tlustre\tmetallisch")
        self.assertFault("'metallisch' is not a word of the lustre vocabulary")
        self.replace("curated.tsv", "Gold\tstrunz8\tI/A.01", "Gold\tstrunz8\tI/A1")
        self.assertFault("'I/A1' is no Lapis/Strunz number")

    def test_curated_value_needs_a_reason_and_a_mineral(self):
        self.append("curated.tsv", "Gold\tstreak\tgelb\t ")
        self.assertFault("curated value without a reason")
        self.append("curated.tsv", "Goldx\tstreak\tgelb\tsource missing")
        self.assertFault("no such mineral in minerals.tsv")

    def test_alias_targets_and_references_resolve(self):
        self.replace("aliases.tsv", "Bleiglanz\tGalenit\tname\tGalenit",
                     "Bleiglanz\tGalenitt\tname\tGalenitt")
        self.assertFault("target 'Galenitt' is not the German name of a mineral")
        self.replace("aliases.tsv", "Amethyst\tQuarz\tsentence\tDie violette Varietät von @Quarz@.",
                     "Amethyst\tQuarz\tsentence\tDie violette Varietät von @Quartz@.")
        self.assertFault("the first reference must be the target 'Quarz'")
        self.append("aliases.tsv", "Quarz\tCalcit\tname\tCalcit\t")
        self.assertFault("alias equals the name of a full mineral")

    def test_no_two_names_collate_alike(self):
        self.append("aliases.tsv", "QUARZ\tQuarz\tname\tQuarz\t")
        self.assertFault("'QUARZ' sorts as the same name as 'Quarz'")

    def test_glossary_references_resolve(self):
        self.replace("glossary.tsv", "@Strichtafel@", "@Strichplatte@")
        self.assertFault("reference @Strichplatte@ is not a glossary term")

    def test_names_fit_windows_1252_fields(self):
        self.replace("german_names.tsv", "Quartz\tQuarz\tyes", "Quartz\t" + "Q" * 40 + "\tyes")
        self.assertFault("has 40 bytes")
        self.replace("german_names.tsv", "Uranophane-α\tUranophan-alpha",
                     "Uranophane-α\tUranophan-α")
        self.assertFault("is not Windows-1252")

    def test_english_flag_follows_the_derivation_rule(self):
        self.replace("german_names.tsv", "Quartz\tQuarz\tyes", "Quartz\tQuarz\tno")
        self.assertFault("flag must be yes")
        self.replace("german_names.tsv", "Calcite\tCalcit\tno", "Calcite\tCalcit\tyes")
        self.assertFault("flag must be no")

    def test_every_source_colour_phrase_is_listed(self):
        self.replace("colour_words.tsv", "\napple-green\t", "\napple-greeen\t")
        self.assertFault("source phrase 'apple-green' is neither mapped nor listed")

    def test_property_word_bits_match_the_vocabulary(self):
        self.replace("property_words.tsv", "lustre\tvitreous\tglas\t2", "lustre\tvitreous\tglas\t3")
        self.assertFault("'glas' is bit 2, not 3")
        self.replace("property_words.tsv", "point_group\tm-3m\tm3m\t31", "point_group\tm-3m\tm3m\t30")
        self.assertFault("class bit 30 has the symbol")

    def test_malformed_source_row_is_reported_not_dropped(self):
        self.replace("minerals.tsv", "\nAbelsonite\t", "\nAbelsonite\t\t")
        self.assertFault("fields instead of")

    def test_crystal_class_fits_the_crystal_system(self):
        self.replace("curated.tsv", "Abellaite\tcrystal_systems\thexagonal", "Abellaite\tcrystal_systems\ttrigonal")
        self.assertFault("point group 6mm does not belong to the crystal system trigonal")

    def test_formula_fits_its_field(self):
        self.replace("minerals.tsv", "\tNiC_{31}H_{32}N_4\t", "\tNiC_{31}H_{32}N_4" + "O" * 140 + "\t")
        self.assertFault("more than 150")

    def test_curated_formula_replaces_the_source_one(self):
        self.replace("curated.tsv", "Gelosaite\tformula\tBiMo^{6+}_{2-5x}", "Gelosaite\tformula\tBiMo^{6+}_{{2-5x}")
        self.assertFault("unbalanced braces in formula")

    def test_every_used_subclass_has_a_title(self):
        self.replace("systematics.tsv", "strunz\tVIII/J\tGerüstsilikate (Tektosilikate)\n", "")
        self.assertFault("subclass VIII/J has no title")

    def test_collection_species_are_complete(self):
        self.replace("curated.tsv", "\nGold\tstreak\tgoldgelb\tsource missing", "")
        self.assertFault("Gold lacks streak")


if __name__ == "__main__":
    unittest.main()
