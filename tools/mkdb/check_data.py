#!/usr/bin/env python3
"""Consistency checks over the reference-data tables in data/.

kalvor-mkdb compiles these tables into the shipped reference files; this script
catches the mistakes that would otherwise surface as a wrong byte, a dangling
reference or a silently dropped value: column counts, Windows-1252 names that
fit their 40-byte fields, alias targets and "@" references that resolve, colour
and property words that map onto the fixed vocabularies, hardness and density
ranges, formulas within 150 bytes, and systematics titles for every Lapis/Strunz
class and subclass the data use.

Usage: check_data.py [DATA_DIR] [--quiet]
Exit status 0 when every check passes, 1 otherwise.
"""

import math
import re
import sys
import unicodedata
from pathlib import Path

NAME_FIELD_BYTES = 39      # 40-byte fields, NUL-terminated
FORMULA_BYTES = 150        # 151-byte field, NUL-terminated
SY_TEXT_CHARS = 255

LUSTRE = ["perl", "seiden", "glas", "fett", "harz", "diamant", "metall", "wachs",
          "matt", "samt", "opal", "halbmetall"]
CLEAVAGE = ["keine", "unvollkommen", "gut", "vollkommen", "sehr vollkommen"]
FRACTURE = ["eben", "uneben", "muschlig", "hakig", "spröde", "splittrig", "mild",
            "fasrig", "blättrig", "verformbar", "erdig", "körnig"]
TRANSPARENCY = ["durchsichtig", "halbdurchsichtig", "durchscheinend", "undurchsichtig"]
SYSTEMS = ["kubisch", "tetragonal", "rhombisch", "monoklin", "triklin", "hexagonal",
           "trigonal", "amorph"]
CLASS_SYMBOLS = ["1", "2", "3", "4", "6", "2/m", "\\6", "4/m", "6/m", "m", "mm", "3m",
                 "4mm", "6mm", "mmm", "\\62m", "4/mmm", "6/mmm", "222", "32", "422",
                 "622", "\\1", "\\3", "\\4", "\\42m", "\\3m", "23", "m3", "43", "\\43m",
                 "m3m"]
# String-table id of each vocabulary word; the words must read exactly as there.
WORD_STRING_IDS = {"keine": 10015, "unvollkommen": 10016, "gut": 10019, "vollkommen": 10021,
                   "sehr vollkommen": 10023, "uneben": 10024, "eben": 10025, "muschlig": 10026,
                   "verformbar": 10028, "hakig": 10030, "erdig": 10031, "spröde": 10032,
                   "splittrig": 10033, "mild": 10034, "fasrig": 10036, "blättrig": 10037,
                   "körnig": 10038, "halbmetall": 10039, "perl": 10040, "seiden": 10041,
                   "glas": 10042, "opal": 10043, "fett": 10044, "harz": 10045, "diamant": 10046,
                   "metall": 10047, "wachs": 10048, "matt": 10049, "samt": 10050,
                   "kubisch": 10066, "tetragonal": 10067, "rhombisch": 10068, "monoklin": 10069,
                   "triklin": 10070, "hexagonal": 10071, "trigonal": 10072, "amorph": 10073}
# Bit of each German word in its record field.
WORD_BITS = {
    "lustre": {"perl": 0, "seiden": 1, "glas": 2, "fett": 3, "harz": 4, "diamant": 5,
               "metall": 6, "wachs": 7, "matt": 8, "samt": 9, "opal": 10, "halbmetall": 11},
    "cleavage": {w: i for i, w in enumerate(CLEAVAGE)},
    "fracture": {"eben": 0, "uneben": 1, "muschlig": 2, "hakig": 3, "splittrig": 5,
                 "fasrig": 7, "blättrig": 8, "erdig": 10, "körnig": 11},
    "tenacity": {"spröde": 4, "mild": 6, "verformbar": 9},
    "transparency": {"durchsichtig": 0, "halbdurchsichtig": 1, "durchscheinend": 2,
                     "undurchsichtig": 3},
    "crystal_system": {w: i for i, w in enumerate(SYSTEMS)},
}
IMA_FLAGS = {"0x01": "IMA-Anerkannt", "0x02": "nicht IMA-Anerk.", "0x08": "Diskreditiert",
             "0x10": ""}
ROMAN = ["I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"]
CURATED_FIELDS = {"hardness", "density", "colours", "streak", "lustre", "cleavage",
                  "crystal_systems", "fracture", "transparency", "cell", "omit",
                  "point_group", "formula", "strunz8"}
# Class bits of each crystal system (the seven rows of the crystal-data table).
SYSTEM_CLASS_MASKS = {"kubisch": 0xF8000000, "tetragonal": 0x03111088, "rhombisch": 0x00044400,
                      "monoklin": 0x00000222, "triklin": 0x00400001, "hexagonal": 0x0022A150,
                      "trigonal": 0x04880804}
CELL_KEYS = ["a", "b", "c", "alpha", "beta", "gamma", "z"]
# Where the merged table has the German words of each vocabulary in English.
PROPERTY_COLUMNS = {"lustre": ["lustre"], "cleavage": ["cleavage_terms"],
                    "fracture": ["fracture_terms"], "tenacity": ["tenacity_terms"],
                    "transparency": ["transparency_terms"],
                    "crystal_system": ["crystal_systems"], "point_group": ["point_group"]}


class Report:
    """Collects errors (which fail the check) and the figures of the summary."""

    def __init__(self):
        self.errors = []
        self.figures = []

    def error(self, where, message):
        self.errors.append(f"{where}: {message}")

    def figure(self, label, value):
        self.figures.append((label, value))


def read_tsv(path, report, columns=None):
    """Reads a TAB-separated file with a header line; returns (header, rows as dicts).

    A row with a different number of fields than the header is an error and is
    left out of the result so that later checks do not trip over it.
    """
    lines = path.read_text(encoding="utf-8").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    comments = 0
    while comments < len(lines) and lines[comments].startswith("#"):
        comments += 1  # leading comment lines describe the table
    lines = lines[comments:]
    if not lines:
        report.error(path.name, "empty file")
        return [], []
    header = lines[0].split("\t")
    if columns is not None and header != columns:
        report.error(path.name, f"header {header} differs from the expected {columns}")
    rows = []
    for number, line in enumerate(lines[1:], start=2):
        fields = line.split("\t")
        if len(fields) != len(header):
            report.error(f"{path.name}:{number}",
                         f"{len(fields)} fields instead of {len(header)}")
            continue
        row = dict(zip(header, fields))
        row["_line"] = number
        rows.append(row)
    return header, rows


def cp1252_length(text):
    """Byte length of the text in Windows-1252, or None when it cannot be encoded."""
    try:
        return len(text.encode("cp1252"))
    except UnicodeEncodeError:
        return None


def english_name_of(german):
    """The English form the program derives when no explicit English name is stored."""
    hyphen = german.find("-")
    if hyphen < 0:
        return german + "e"
    return german[:hyphen] + "e" + german[hyphen:]


def parse_range(text):
    """'6-6.5' or '2.65' -> (min, max) as floats, or None when malformed."""
    match = re.fullmatch(r"(\d+(?:\.\d+)?)(?:-(\d+(?:\.\d+)?))?", text)
    if not match:
        return None
    low = float(match.group(1))
    high = float(match.group(2)) if match.group(2) else low
    return low, high


def check_hardness(where, low, high, report):
    for value in (low, high):
        if not 1 <= value <= 10:
            report.error(where, f"hardness {value:g} outside 1 to 10")
        if not math.isclose(value * 2, round(value * 2)):
            report.error(where, f"hardness {value:g} is not a half step")
    if low > high:
        report.error(where, f"hardness minimum {low:g} above maximum {high:g}")


def check_density(where, low, high, report):
    for value in (low, high):
        if not 0.5 <= value <= 23:
            report.error(where, f"density {value:g} outside 0.5 to 23")
    if low > high:
        report.error(where, f"density minimum {low:g} above maximum {high:g}")


def collation_key(name):
    """The German collation form: umlauts and ß spelled out, accents dropped, case ignored."""
    folded = name.lower()
    for umlaut, spelled in (("ä", "ae"), ("ö", "oe"), ("ü", "ue"), ("ß", "ss")):
        folded = folded.replace(umlaut, spelled)
    folded = unicodedata.normalize("NFD", folded)
    return "".join(c for c in folded if not unicodedata.combining(c))


def references(text):
    """The texts between pairs of '@'."""
    return re.findall(r"@([^@]*)@", text)


def parse_strunz(key):
    """The Lapis/Strunz parse of a systematics key: (class, letter, number, range end)."""
    text = key if "/" in key else key + "/"
    cls = 0
    for index, roman in enumerate(ROMAN):
        if text.upper().startswith(roman + "/"):
            cls = index + 1
    if cls == 0:
        return (0, 0, 0, 0)
    after = text[text.index("/") + 1:]
    letter = after[0].upper() if after else ""
    if "-" in after:
        after, range_text = after.split("-", 1)
        range_end = int(re.match(r"\d*", range_text).group(0) or 0)
    else:
        range_end = 0
    digits = re.match(r"\d*", after[2:]).group(0)
    return (cls, letter, int(digits) if digits else 0, range_end)


class DataSet:
    """All tables of data/, loaded once and cross-checked."""

    def __init__(self, data_dir, report):
        self.dir = Path(data_dir)
        self.report = report

    def load(self):
        r = self.report
        d = self.dir
        colour_rows = read_tsv(d / "colour_table.tsv", r,
                               ["row", "name", "family", "hue", "intensity", "shade",
                                "in_list", "note"])[1]
        self.colour_names = [row["name"] for row in colour_rows]
        self.minerals_header, self.minerals = read_tsv(d / "minerals.tsv", r)
        self.curated = read_tsv(d / "curated.tsv", r,
                                ["english_name", "field", "value", "reason"])[1]
        self.names = read_tsv(d / "german_names.tsv", r,
                              ["english_name", "german_name", "english_flag",
                               "english_name_cp1252", "basis", "note"])[1]
        self.aliases = read_tsv(d / "aliases.tsv", r,
                                ["alias", "target", "kind", "text", "note"])[1]
        self.colour_words = read_tsv(d / "colour_words.tsv", r,
                                     ["source_phrase", "count", "used_in",
                                      "colour_table_names", "method", "note"])[1]
        self.property_words = read_tsv(d / "property_words.tsv", r,
                                       ["field", "source_word", "german", "bit", "note"])[1]
        self.glossary = read_tsv(d / "glossary.tsv", r, ["term", "text"])[1]
        self.systematics = read_tsv(d / "systematics.tsv", r, ["section", "key", "title"])[1]
        self.formula_chars = {row["character"]: row["replacement"] for row in read_tsv(
            d / "formula_characters.tsv", r, ["character", "replacement"])[1]}
        self.by_english = {row["english_name"]: row for row in self.minerals}
        self.collection_species = [
            line.strip() for line in (d / "collection_species.txt").read_text(
                encoding="utf-8").splitlines()
            if line.strip() and not line.startswith("#")]

    # -- the colour table -------------------------------------------------------
    def check_colour_table(self):
        if len(self.colour_names) != 427:
            self.report.error("colour_table.tsv",
                              f"{len(self.colour_names)} rows instead of 427")
        for index, name in enumerate(self.colour_names, start=1):
            if cp1252_length(name) is None:
                self.report.error(f"colour_table.tsv row {index}", "not Windows-1252")

    def check_vocabulary_strings(self):
        """The vocabulary words against the program's string table, when it is there."""
        strings_path = self.dir.parent / "resources" / "strings.tsv"
        if not strings_path.exists():
            return
        strings = {int(row["id"]): row["text"]
                   for row in read_tsv(strings_path, self.report, ["id", "name", "text"])[1]}
        for word, string_id in WORD_STRING_IDS.items():
            if strings.get(string_id) != word:
                self.report.error("strings.tsv", f"string {string_id} is "
                                  f"{strings.get(string_id)!r}, the data use {word!r}")

    # -- minerals and the curated overlay ----------------------------------------
    def check_minerals(self):
        r = self.report
        seen = set()
        for row in self.minerals:
            name = row["english_name"]
            where = f"minerals.tsv:{row['_line']} {name}"
            if not name:
                r.error(where, "empty English name")
            if name in seen:
                r.error(where, "English name occurs twice")
            seen.add(name)
            formula = self.overlay.get((name, "formula"), row["formula"])
            for char, stand_in in self.formula_chars.items():
                formula = formula.replace(char, stand_in)
            length = cp1252_length(formula)
            if length is None:
                r.error(where, f"formula not Windows-1252 after mapping: {formula}")
            elif length > FORMULA_BYTES:
                r.error(where, f"formula has {length} bytes, more than {FORMULA_BYTES}")
            if formula.count("{") != formula.count("}"):
                r.error(where, f"unbalanced braces in formula {formula}")

    def point_group_words(self):
        return {row["source_word"]: int(row["bit"]) for row in self.property_words
                if row["field"] == "point_group" and row["bit"].isdigit()}

    def check_curated(self):
        r = self.report
        colours = set(self.colour_names)
        vocab = {"lustre": LUSTRE, "cleavage": CLEAVAGE, "crystal_systems": SYSTEMS,
                 "fracture": FRACTURE, "transparency": TRANSPARENCY}
        seen = set()
        self.overlay = {}
        for row in self.curated:
            where = f"curated.tsv:{row['_line']} {row['english_name']} {row['field']}"
            name, field, value = row["english_name"], row["field"], row["value"]
            if name not in self.by_english:
                r.error(where, "no such mineral in minerals.tsv")
            if field not in CURATED_FIELDS:
                r.error(where, "unknown field")
                continue
            if (name, field) in seen:
                r.error(where, "field curated twice")
            seen.add((name, field))
            if not row["reason"].strip():
                r.error(where, "curated value without a reason")
            self.overlay[(name, field)] = value
            if field in ("hardness", "density"):
                parsed = parse_range(value)
                if parsed is None:
                    r.error(where, f"malformed range {value!r}")
                elif field == "hardness":
                    check_hardness(where, *parsed, r)
                else:
                    check_density(where, *parsed, r)
            elif field in ("colours", "streak"):
                items = value.split("; ")
                for item in items:
                    if item not in colours:
                        r.error(where, f"{item!r} is not a row of the colour table")
                limit = 20 if field == "colours" else 4
                if len(items) > limit:
                    r.error(where, f"{len(items)} colours, the record holds {limit}")
            elif field == "formula":
                if not value:
                    r.error(where, "empty formula")
            elif field == "point_group":
                if value != "none" and value not in self.point_group_words():
                    r.error(where, f"{value!r} is not a point group of property_words.tsv")
            elif field == "strunz8":
                if not re.fullmatch(r"(I|II|III|IV|V|VI|VII|VIII|IX)/[A-Z]\.\d\d(-\d\d)?", value):
                    r.error(where, f"{value!r} is no Lapis/Strunz number such as VIII/D.07-10")
            elif field == "omit":
                if not value:
                    r.error(where, "omit needs the name of the row that stays")
            elif field == "cell":
                if value != "none":
                    for part in value.split("; "):
                        key, _, number = part.partition("=")
                        if key not in CELL_KEYS or parse_range(number) is None:
                            r.error(where, f"malformed cell value {part!r}")
            else:
                for item in value.split("; "):
                    if item not in vocab[field]:
                        r.error(where, f"{item!r} is not a word of the {field} vocabulary")

    def final_value(self, row, field):
        """The value mkdb stores: the curated one when present, else the source's."""
        curated = self.overlay.get((row["english_name"], field))
        if curated is not None:
            return curated
        if field == "hardness":
            return row["hardness_min"] and (row["hardness_min"] + "-" + row["hardness_max"])
        if field == "density":
            return row["density_min"] and (row["density_min"] + "-" + row["density_max"])
        if field == "cleavage":
            return row["cleavage_terms"]
        return row[field]

    def check_final_values(self):
        r = self.report
        for row in self.minerals:
            where = f"minerals.tsv:{row['_line']} {row['english_name']}"
            if (row["english_name"], "hardness") not in self.overlay and row["hardness_min"]:
                parsed = parse_range(row["hardness_min"] + "-" + row["hardness_max"])
                if parsed is None:
                    r.error(where, "malformed hardness")
                else:
                    check_hardness(where, *parsed, r)
            if (row["english_name"], "density") not in self.overlay and row["density_min"]:
                parsed = parse_range(row["density_min"] + "-" + row["density_max"])
                if parsed is None:
                    r.error(where, "malformed density")
                else:
                    check_density(where, *parsed, r)

    def check_class_fits_system(self):
        """The crystal class must belong to one of the mineral's crystal systems."""
        classes = self.point_group_words()
        systems = {row["source_word"]: row["german"] for row in self.property_words
                   if row["field"] == "crystal_system"}
        for row in self.minerals:
            point_group = self.final_value(row, "point_group")
            if not point_group or point_group == "none" or point_group not in classes:
                continue
            curated = (row["english_name"], "crystal_systems") in self.overlay
            words = self.final_value(row, "crystal_systems").split("; ")
            german = words if curated else [systems.get(w, "") for w in words]
            bit = 1 << classes[point_group]
            if not any(SYSTEM_CLASS_MASKS.get(w, 0) & bit for w in german):
                self.report.error(f"minerals.tsv:{row['_line']} {row['english_name']}",
                                  f"point group {point_group} does not belong to the "
                                  f"crystal system {', '.join(w for w in german if w)}")

    # -- word mappings -------------------------------------------------------------
    def check_colour_words(self):
        r = self.report
        colours = set(self.colour_names)
        mapped = {}
        unmapped = []
        for row in self.colour_words:
            where = f"colour_words.tsv:{row['_line']} {row['source_phrase']!r}"
            phrase = row["source_phrase"]
            if phrase != phrase.lower():
                r.error(where, "source phrases are kept in lower case")
            if phrase in mapped:
                r.error(where, "phrase listed twice")
            names = [n for n in row["colour_table_names"].split(",") if n]
            if row["method"] == "unmapped":
                if names:
                    r.error(where, "unmapped phrase with colour names")
                if not row["note"].strip():
                    r.error(where, "unmapped phrase without a reason")
                unmapped.append(phrase)
            elif not names:
                r.error(where, "mapped phrase without colour names")
            for name in names:
                if name not in colours:
                    r.error(where, f"{name!r} is not a row of the colour table")
            mapped[phrase] = names
        missing = set()
        for row in self.minerals:
            for column in ("colours", "streak"):
                if (row["english_name"], column) in self.overlay:
                    continue
                for phrase in row[column].split("; "):
                    phrase = phrase.strip().lower()
                    if phrase and phrase not in mapped:
                        missing.add(phrase)
        for phrase in sorted(missing):
            r.error("colour_words.tsv", f"source phrase {phrase!r} is neither mapped nor listed")
        self.unmapped_colours = unmapped
        self.colour_map = mapped

    def check_property_words(self):
        r = self.report
        table = {}
        self.unmapped_properties = []
        for row in self.property_words:
            field, word, german, bit = row["field"], row["source_word"], row["german"], row["bit"]
            where = f"property_words.tsv:{row['_line']} {field} {word!r}"
            if (field, word) in table:
                r.error(where, "listed twice")
            table[(field, word)] = row
            if not german and not bit:
                if not row["note"].startswith("unmapped"):
                    r.error(where, "unmapped word without the reason 'unmapped: ...'")
                self.unmapped_properties.append(f"{field}: {word}")
                continue
            if field in WORD_BITS:
                expected = WORD_BITS[field].get(german)
                if expected is None:
                    r.error(where, f"{german!r} is not a word of the {field} vocabulary")
                elif str(expected) != bit:
                    r.error(where, f"{german!r} is bit {expected}, not {bit}")
            elif field == "formula":
                if not value:
                    r.error(where, "empty formula")
            elif field == "point_group":
                if not bit.isdigit() or not 0 <= int(bit) < 32:
                    r.error(where, f"class bit {bit!r} outside 0 to 31")
                elif CLASS_SYMBOLS[int(bit)] != german:
                    r.error(where, f"class bit {bit} has the symbol {CLASS_SYMBOLS[int(bit)]!r}")
            elif field == "ima_status":
                if IMA_FLAGS.get(bit) != german:
                    r.error(where, f"flag {bit} does not mean {german!r}")
            else:
                r.error(where, "unknown field")
        ima_words = [w for (f, w) in table if f == "ima_status"]
        for row in self.minerals:
            where = f"minerals.tsv:{row['_line']} {row['english_name']}"
            for field, columns in PROPERTY_COLUMNS.items():
                for column in columns:
                    for word in row[column].split("; "):
                        if word and (field, word) not in table:
                            r.error(where, f"{column} word {word!r} not in property_words.tsv")
            status = row["ima_status"]
            if not any(status.startswith(w) for w in ima_words):
                r.error(where, f"IMA status {status!r} not in property_words.tsv")

    # -- names ----------------------------------------------------------------------
    def check_names(self):
        r = self.report
        self.german = {}
        english_rows = {row["english_name"] for row in self.minerals}
        listed = set()
        for row in self.names:
            where = f"german_names.tsv:{row['_line']} {row['english_name']}"
            english, german = row["english_name"], row["german_name"]
            listed.add(english)
            if english not in english_rows:
                r.error(where, "no such mineral in minerals.tsv")
            length = cp1252_length(german)
            if not german:
                r.error(where, "empty German name")
            elif length is None:
                r.error(where, f"German name {german!r} is not Windows-1252")
            elif length > NAME_FIELD_BYTES:
                r.error(where, f"German name {german!r} has {length} bytes")
            if german in self.german:
                r.error(where, f"German name {german!r} also used for "
                               f"{self.german[german]}")
            self.german[german] = english
            stored = row["english_name_cp1252"]
            length = cp1252_length(stored)
            if length is None or length > NAME_FIELD_BYTES:
                r.error(where, f"English name {stored!r} is not Windows-1252 within 39 bytes")
            if stored != english and "transliterated" not in row["note"]:
                r.error(where, f"English name {stored!r} differs from {english!r} "
                               "without a transliteration note")
            needs_flag = english_name_of(german) != stored
            if row["english_flag"] not in ("yes", "no"):
                r.error(where, "english_flag is neither yes nor no")
            elif needs_flag != (row["english_flag"] == "yes"):
                r.error(where, f"derived English name {english_name_of(german)!r}, stored "
                               f"{stored!r}: flag must be {'yes' if needs_flag else 'no'}")
        omitted = {n for (n, f) in self.overlay if f == "omit"}
        for name in sorted(listed & omitted):
            r.error("german_names.tsv", f"{name} is omitted but has a German name")
        for name in sorted(english_rows - listed - omitted):
            r.error("german_names.tsv", f"no German name for {name}")

    def check_aliases(self):
        r = self.report
        seen = set()
        for row in self.aliases:
            where = f"aliases.tsv:{row['_line']} {row['alias']}"
            alias, target, kind, text = row["alias"], row["target"], row["kind"], row["text"]
            length = cp1252_length(alias)
            if length is None or length > NAME_FIELD_BYTES:
                r.error(where, "alias is not Windows-1252 within 39 bytes")
            if alias in seen:
                r.error(where, "alias listed twice")
            seen.add(alias)
            if alias in self.german:
                r.error(where, "alias equals the name of a full mineral")
            if target not in self.german:
                r.error(where, f"target {target!r} is not the German name of a mineral")
            if cp1252_length(text) is None:
                r.error(where, "text is not Windows-1252")
            if kind == "name":
                if text != target or " " in text:
                    r.error(where, "a name alias carries exactly the target name, without blanks")
            elif kind == "sentence":
                if text.count("@") % 2:
                    r.error(where, "odd number of '@'")
                refs = references(text)
                if not refs or refs[0] != target:
                    r.error(where, f"the first reference must be the target {target!r}")
                for ref in refs:
                    if ref not in self.german:
                        r.error(where, f"reference @{ref}@ is not a mineral name")
            else:
                r.error(where, f"unknown kind {kind!r}")
        self.alias_count = len(seen)
        keys = {}
        for name in list(self.german) + [row["alias"] for row in self.aliases]:
            key = collation_key(name)
            if key in keys:
                r.error("aliases.tsv", f"{name!r} sorts as the same name as {keys[key]!r}")
            else:
                keys[key] = name

    # -- glossary and systematics ------------------------------------------------------
    def check_glossary(self):
        r = self.report
        terms = {}
        for row in self.glossary:
            term = row["term"]
            if term in terms:
                r.error(f"glossary.tsv:{row['_line']}", f"term {term!r} listed twice")
            terms[term] = row
        for row in self.glossary:
            where = f"glossary.tsv:{row['_line']} {row['term']}"
            entry = "#" + row["term"] + "#~" + row["text"]
            length = cp1252_length(entry)
            if length is None:
                r.error(where, "not Windows-1252")
            elif length > 65535:
                r.error(where, "entry longer than a u16 length")
            if "#" in row["term"]:
                r.error(where, "term contains '#'")
            if row["text"].count("@") % 2:
                r.error(where, "odd number of '@'")
            if row["text"].count("$") % 2:
                r.error(where, "odd number of '$'")
            for ref in references(row["text"]):
                if ref not in terms:
                    r.error(where, f"reference @{ref}@ is not a glossary term")

    def check_systematics(self):
        r = self.report
        titled = set()
        previous = (0, "", 0, 0)
        hey_seen = False
        for row in self.systematics:
            where = f"systematics.tsv:{row['_line']}"
            section, key, text = row["section"], row["key"], row["title"]
            if not text or len(text) > SY_TEXT_CHARS or cp1252_length(text) is None:
                r.error(where, "title empty, longer than 255 characters or not Windows-1252")
            if section == "hey":
                hey_seen = True
                if not re.fullmatch(r"[1-9]\d{0,2}(\.\d{1,3}){0,2}", key):
                    r.error(where, f"Hey key {key!r} malformed")
                continue
            if section != "strunz":
                r.error(where, f"section {section!r} is neither strunz nor hey")
                continue
            if hey_seen:
                r.error(where, "Lapis/Strunz line after the Hey section")
            parsed = parse_strunz(key)
            if parsed[0] == 0:
                r.error(where, f"key {key!r} is not a Lapis/Strunz number")
                continue
            order = (parsed[0], parsed[1] or "", parsed[2], parsed[3])
            if order < previous:
                r.error(where, f"key {key!r} out of order")
            previous = order
            titled.add((parsed[0], parsed[1] or "", parsed[2]))
        used_classes, used_subclasses = set(), set()
        for row in self.minerals:
            value = row["strunz8"]
            if not value:
                continue
            parsed = parse_strunz(value)
            if parsed[0] == 0 or not re.fullmatch(
                    r"(I|II|III|IV|V|VI|VII|VIII|IX)/[A-Z](\.\d+(-\d+)?)?", value):
                r.error(f"minerals.tsv:{row['_line']}", f"Strunz number {value!r} malformed")
                continue
            used_classes.add(parsed[0])
            used_subclasses.add((parsed[0], parsed[1]))
        for cls in sorted(used_classes):
            if (cls, "", 0) not in titled:
                r.error("systematics.tsv", f"class {ROMAN[cls - 1]} has no title")
        for cls, letter in sorted(used_subclasses):
            if (cls, letter, 0) not in titled:
                r.error("systematics.tsv", f"subclass {ROMAN[cls - 1]}/{letter} has no title")
        self.subclass_titles = sum(1 for t in titled if t[1] and t[2] == 0)
        self.group_titles = sum(1 for t in titled if t[2])

    # -- coverage ------------------------------------------------------------------------
    def check_collection_species(self):
        r = self.report
        fields = ["hardness", "density", "colours", "streak", "lustre", "cleavage",
                  "crystal_systems"]
        for name in self.collection_species:
            row = self.by_english.get(name)
            if row is None:
                r.error("collection_species.txt", f"{name} is not in minerals.tsv")
                continue
            missing = [f for f in fields if not self.final_value(row, f)]
            if missing:
                r.error("collection_species.txt", f"{name} lacks {', '.join(missing)}")

    def figures(self):
        r = self.report
        complete = 0
        kept = [row for row in self.minerals
                if (row["english_name"], "omit") not in self.overlay]
        for row in kept:
            if all(self.final_value(row, f) for f in
                   ("hardness", "density", "colours", "streak", "lustre")):
                complete += 1
        r.figure("full minerals", len(kept))
        r.figure("with hardness, density, colour, streak and lustre", complete)
        r.figure("curated values", len(self.curated))
        r.figure("German names reviewed", sum(1 for n in self.names if n["basis"] != "rule"))
        r.figure("explicit English names (flag 0x40)",
                 sum(1 for n in self.names if n["english_flag"] == "yes"))
        r.figure("aliases", self.alias_count)
        r.figure("glossary entries", len(self.glossary))
        r.figure("subclass titles", self.subclass_titles)
        r.figure("group titles", self.group_titles)
        r.figure("colour phrases", len(self.colour_words))
        r.figure("unmapped colour phrases", ", ".join(self.unmapped_colours) or "none")
        r.figure("unmapped property words", ", ".join(self.unmapped_properties) or "none")

    def run(self):
        self.load()
        self.check_colour_table()
        self.check_vocabulary_strings()
        self.check_curated()
        self.check_minerals()
        self.check_final_values()
        self.check_class_fits_system()
        self.check_colour_words()
        self.check_property_words()
        self.check_names()
        self.check_aliases()
        self.check_glossary()
        self.check_systematics()
        self.check_collection_species()
        self.figures()


def main(argv):
    quiet = "--quiet" in argv
    args = [a for a in argv[1:] if a != "--quiet"]
    data_dir = args[0] if args else str(Path(__file__).resolve().parents[2] / "data")
    report = Report()
    try:
        DataSet(data_dir, report).run()
    except (OSError, KeyError) as failure:
        report.error(data_dir, f"cannot read the tables: {failure!r}")
    for message in report.errors:
        print("error: " + message)
    if not quiet:
        for label, value in report.figures:
            print(f"{label}: {value}")
    print(f"{len(report.errors)} error(s)")
    return 1 if report.errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
