#!/usr/bin/env python3
"""Finds string-table and command ids written as numbers in C++ sources.

Ids have names (kalvor::strings::kStr..., kalvor::commands::kCmd..., CMD_...)
generated from resources/strings.tsv and resources/commands.tsv; a number
such as 10012 or 1020 in the code drifts when a table changes. Comments and
string literals are not looked at, nor factors of a product (256 * 1024 is
a size, never an id); a line that must hold such a number for another reason
says so with "NOLINT(id-literal)".

  id_literals.py ROOT [FOLDER...]  check FOLDERS (or the ones given) below
                                   ROOT, exit 1 on a finding
  id_literals.py --self-test     show that planted ids are found
"""
import re
import sys
import tempfile
from pathlib import Path

# The folders whose code must use the names (tests may spell ids out: they
# check the names against the documented numbers).
FOLDERS = ["base", "platform", "render", "refdb", "crystal", "collection", "determination", "search", "pages",
           "labels", "views", "app", "win32", "controls", "shell", "tools"]
SUFFIXES = {".cpp", ".h"}
STRING_IDS = range(10000, 10120)
MARKER = "NOLINT(id-literal)"
NUMBER = re.compile(r"(?<![\w.'])(\d+)[uUlL]*(?![\w.'])")


def command_ids(root):
    ids = set()
    lines = (root / "resources" / "commands.tsv").read_text(encoding="utf-8").splitlines()
    for line in lines[1:]:
        if line:
            ids.add(int(line.split("\t")[0]))
    return ids


def code_only(text):
    """The text with comments and string/char literals blanked, lines kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + c if j - i >= 2 else c)
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def is_factor(line, start, end):
    before, after = line[:start].rstrip(), line[end:].lstrip()
    return before.endswith("*") or after.startswith("*")


def findings(root, folders, commands):
    found = []
    for folder in folders:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in SUFFIXES or not path.is_file():
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            raw_lines = text.split("\n")
            for lineno, line in enumerate(code_only(text).split("\n"), start=1):
                if MARKER in raw_lines[lineno - 1]:
                    continue
                for m in NUMBER.finditer(line):
                    if is_factor(line, m.start(), m.end()):
                        continue
                    value = int(m.group(1))
                    if value in STRING_IDS:
                        kind = "string id"
                    elif value in commands:
                        kind = "command id"
                    else:
                        continue
                    found.append(f"{path.relative_to(root)}:{lineno}: {kind} {value} as a number; "
                                 f"use its name from string_ids.h / command_ids.h")
    return found


def self_test():
    with tempfile.TemporaryDirectory() as tmp:
        root = Path(tmp)
        (root / "resources").mkdir()
        (root / "resources" / "commands.tsv").write_text("id\tname\tmenu\n1020\tCMD_VIEW_MINERAL\tx\n")
        (root / "refdb").mkdir()
        (root / "refdb" / "a.cpp").write_text(
            "int a = 10012;\n"                         # found
            "// 10013 in a comment\n"
            "const char* s = \"10014 // 1020\";\n"
            "run(v, 1020);\n"                          # found
            "int b = 10015u; int c = 100123;\n"        # 10015u found, 100123 not an id
            "int d = 1020;  // NOLINT(id-literal): not a command\n"
            "std::size_t f = 32u * 1020u * 1020u;\n"
            "/* 10016\n 1020 */ int e = 0x10017 + 1.1020;\n")
        got = [f.split(": ")[0] for f in findings(root, ["refdb"], command_ids(root))]
        want = ["refdb/a.cpp:1", "refdb/a.cpp:4", "refdb/a.cpp:5"]
        if got != want:
            print(f"self-test failed: found {got}, expected {want}")
            return 1
    print("self-test passed")
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    if len(sys.argv) < 2 or sys.argv[1].startswith("-"):
        print(__doc__)
        return 2
    root = Path(sys.argv[1])
    folders = sys.argv[2:] or FOLDERS
    found = findings(root, folders, command_ids(root))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} id(s) written as numbers in {', '.join(folders)}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
