#!/usr/bin/env python3
"""Checks the folder DAG of the sources: every `#include "folder/..."` must
point to a folder the including folder may use (RULES below, the same table
as "Include rules" in docs/developer.md), and no core folder may include a
platform header outside the platform implementations (platform/*_win.cpp for
Windows headers, platform/*_posix.cpp for POSIX headers).

  check_includes.py [ROOT]       check the tree at ROOT (default: the repository)
  check_includes.py --self-test  check the checker on small trees of its own

Exits with 1 and one line per fault ("file:line: ...") when a rule is broken.
"""

import os
import re
import sys
import tempfile

# Folder -> the folders its sources may include besides their own. A folder
# is the first path component, or the first two under tools/ and tests/.
CORE = ["base", "platform", "render", "refdb", "crystal", "collection", "determination",
        "search", "pages", "labels", "reports", "views", "app"]
RULES = {
    "base": [],
    "platform": ["base"],
    "render": ["base"],
    "refdb": ["base", "platform", "render", "resources"],
    "crystal": ["base", "refdb"],
    "collection": ["base", "platform", "render", "refdb", "resources"],
    "determination": ["base", "platform", "render", "refdb", "resources"],
    "search": ["base", "platform", "render", "refdb", "collection", "determination", "resources"],
    "pages": ["base", "platform", "render", "refdb", "collection", "determination", "resources"],
    "labels": ["base", "platform", "render", "refdb", "collection", "resources"],
    "reports": ["base", "platform", "render", "refdb", "crystal", "collection", "determination",
                "search", "pages", "labels", "resources"],
    "views": ["base", "platform", "render", "refdb", "crystal", "collection", "determination",
              "search", "pages", "labels", "resources"],
    "app": ["base", "platform", "render", "refdb", "crystal", "collection", "determination",
            "search", "pages", "labels", "views", "resources"],
    "resources": [],
    "win32": CORE + ["resources"],
    "controls": CORE + ["resources", "win32"],
    "shell": CORE + ["resources", "win32", "controls"],
    "tools/cli": CORE + ["resources"],
    "tools/mkdb": CORE + ["resources"],
    # Tests and benchmarks may use anything.
    "tests/unit": None,
    "tests/cli": None,
    "tests/gui": None,
    "tests/fuzz": None,
    "bench": None,
}

# Includes that break the rules today, each by (including file, included
# file). A back edge here is a debt: remove the include, then its line.
KNOWN_BACK_EDGES: set = set()

WINDOWS_HEADERS = {
    "windows.h", "windowsx.h", "winbase.h", "winuser.h", "wingdi.h", "winsock2.h",
    "ws2tcpip.h", "commctrl.h", "commdlg.h", "shellapi.h", "shlobj.h", "shlwapi.h",
    "winspool.h", "objbase.h", "ole2.h", "io.h", "direct.h", "process.h", "tchar.h",
}
POSIX_HEADERS = {
    "unistd.h", "fcntl.h", "dirent.h", "pthread.h", "dlfcn.h", "termios.h", "poll.h",
    "pwd.h", "grp.h", "spawn.h", "syslog.h", "cups/cups.h",
}

SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp", ".rc")
SKIPPED_TOP = {"build", "data", "docs", "scripts", "cmake", ".git"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(relpath):
    """The rule folder of a repository path, or None for a loose file."""
    parts = relpath.split("/")
    if len(parts) < 2:
        return None
    if parts[0] in ("tools", "tests") and len(parts) >= 3:
        return parts[0] + "/" + parts[1]
    return parts[0]


def is_platform_header(name):
    return name in WINDOWS_HEADERS or name in POSIX_HEADERS or name.startswith("sys/")


def platform_header_allowed(relpath, name):
    base = os.path.basename(relpath)
    if name in WINDOWS_HEADERS:
        return relpath.startswith("platform/") and base.endswith("_win.cpp")
    return relpath.startswith("platform/") and base.endswith("_posix.cpp")


def source_files(root):
    for top in sorted(os.listdir(root)):
        if top in SKIPPED_TOP or top.startswith("."):
            continue
        path = os.path.join(root, top)
        if not os.path.isdir(path):
            continue
        for dirpath, dirnames, filenames in os.walk(path):
            dirnames.sort()
            for name in sorted(filenames):
                if name.endswith(SOURCE_SUFFIXES):
                    full = os.path.join(dirpath, name)
                    yield os.path.relpath(full, root).replace(os.sep, "/")


def check_tree(root):
    """Returns the faults of the tree at `root`, one text each."""
    faults = []
    used_exceptions = set()
    known_folders = set(RULES)
    for relpath in source_files(root):
        folder = folder_of(relpath)
        if folder not in RULES:
            faults.append(f"{relpath}: folder '{folder}' has no include rules "
                          f"(add it to scripts/check_includes.py and docs/developer.md)")
            continue
        allowed = RULES[folder]
        with open(os.path.join(root, relpath), encoding="latin-1") as f:
            lines = f.read().split("\n")
        for number, line in enumerate(lines, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            quote, name = m.groups()
            if folder in CORE and is_platform_header(name) and \
                    not platform_header_allowed(relpath, name):
                faults.append(f"{relpath}:{number}: platform header <{name}> in the core "
                              f"(only platform/*_win.cpp or platform/*_posix.cpp)")
                continue
            if quote != '"' or "/" not in name or allowed is None:
                continue
            target = folder_of(name)
            if target == folder or target not in known_folders:
                continue
            if target in allowed:
                continue
            if (relpath, name) in KNOWN_BACK_EDGES:
                used_exceptions.add((relpath, name))
                continue
            faults.append(f"{relpath}:{number}: {folder}/ must not include {target}/ "
                          f"(\"{name}\"; {folder}/ may include: "
                          f"{', '.join(allowed) or 'nothing else'})")
    for relpath, name in sorted(KNOWN_BACK_EDGES - used_exceptions):
        if os.path.exists(os.path.join(root, relpath)):
            faults.append(f"{relpath}: no longer includes \"{name}\"; "
                          f"remove the pair from KNOWN_BACK_EDGES")
    return faults


def rules_form_a_dag():
    """The faults of RULES itself: a folder pair allowed both ways, or an unknown name."""
    faults = []
    for folder, allowed in RULES.items():
        for target in allowed or []:
            if target not in RULES:
                faults.append(f"RULES: {folder} names unknown folder {target}")
            elif RULES[target] is not None and folder in RULES[target]:
                faults.append(f"RULES: {folder} and {target} may include each other")
    # Depth-first search for longer cycles.
    state = {}

    def visit(folder, path):
        if state.get(folder) == "done":
            return
        if state.get(folder) == "open":
            faults.append("RULES: cycle " + " -> ".join(path + [folder]))
            return
        state[folder] = "open"
        for target in RULES.get(folder) or []:
            visit(target, path + [folder])
        state[folder] = "done"

    for folder in RULES:
        visit(folder, [])
    return faults


def documented_rules(root):
    """The table under "## Include rules" of docs/developer.md: folder -> set, or None."""
    path = os.path.join(root, "docs", "developer.md")
    if not os.path.exists(path):
        return None
    table = {}
    inside = False
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("## "):
                inside = line.strip() == "## Include rules"
                continue
            if not inside or not line.startswith("|"):
                continue
            cells = [c.strip().strip("`") for c in line.strip().strip("|").split("|")]
            if len(cells) < 2 or cells[0] in ("Folder", "") or set(cells[0]) <= set("-: "):
                continue
            folder = cells[0].rstrip("/")
            text = cells[1]
            if text.startswith("anything"):
                table[folder] = None
            elif text.startswith("nothing"):
                table[folder] = set()
            else:
                allowed = set()
                for token in text.split(","):
                    token = token.strip()
                    if token.startswith("the core"):
                        allowed.update(CORE)
                    else:
                        allowed.add(token.strip("`").rstrip("/"))
                table[folder] = allowed
    return table


def docs_match_rules(root):
    table = documented_rules(root)
    if table is None:
        return []
    faults = []
    for folder, allowed in RULES.items():
        want = None if allowed is None else set(allowed)
        if folder not in table:
            faults.append(f"docs/developer.md: \"Include rules\" lacks {folder}/")
        elif table[folder] != want:
            faults.append(f"docs/developer.md: \"Include rules\" row {folder}/ differs from "
                          f"scripts/check_includes.py ({', '.join(sorted(want or [])) or '-'})")
    for folder in table:
        if folder not in RULES:
            faults.append(f"docs/developer.md: \"Include rules\" names unknown folder {folder}/")
    return faults


def run(root):
    faults = rules_form_a_dag() + check_tree(root) + docs_match_rules(root)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


def write(root, relpath, text):
    path = os.path.join(root, relpath)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="latin-1") as f:
        f.write(text)


def self_test():
    """Builds small trees and checks that the checker passes and fails on them."""
    failures = []

    def expect(name, files, wanted):
        with tempfile.TemporaryDirectory() as root:
            for relpath, text in files.items():
                write(root, relpath, text)
            faults = check_tree(root)
        if wanted is None:
            if faults:
                failures.append(f"{name}: expected no fault, got {faults}")
        elif not any(all(part in fault for part in wanted) for fault in faults):
            failures.append(f"{name}: expected a fault with {wanted}, got {faults}")

    good = {
        "base/bytes.h": "#pragma once\n#include <cstdint>\n",
        "refdb/names.h": '#include "base/bytes.h"\n',
        "collection/collection.h": '#include "refdb/names.h"\n#include "collection/x.h"\n',
        "search/collection_search.h": '#include "collection/collection.h"\n',
        "app/startup.h": '#include "search/collection_search.h"\n',
        "platform/disk_space_win.cpp": "#include <windows.h>\n",
        "platform/disk_space_posix.cpp": "#include <sys/stat.h>\n#include <unistd.h>\n",
        "tests/unit/a_test.cpp": '#include "app/startup.h"\n#include "shell/x.h"\n',
        "shell/main.cpp": '#include <windows.h>\n#include "app/startup.h"\n',
    }
    expect("a tree that keeps the rules", good, None)
    expect("refdb including collection", dict(good, **{
        "refdb/startup.cpp": '// start\n#include <string>\n#include "collection/collection.h"\n'}),
        ["refdb/startup.cpp:3:", "refdb/ must not include collection/"])
    expect("collection including search", dict(good, **{
        "collection/collection.cpp": '  #  include "search/collection_search.h"\n'}),
        ["collection/collection.cpp:1:", "collection/ must not include search/"])
    expect("core including the application layer", dict(good, **{
        "views/list.h": '#include "app/startup.h"\n'}),
        ["views/list.h:1:", "views/ must not include app/"])
    expect("core including the Win32 shell", dict(good, **{
        "determination/x.h": '#include "shell/main_window.h"\n'}),
        ["determination/x.h:1:", "determination/ must not include shell/"])
    expect("windows.h in a core header", dict(good, **{
        "render/canvas.h": '#pragma once\n#include <windows.h>\n'}),
        ["render/canvas.h:2:", "<windows.h>"])
    expect("windows.h in a portable platform file", dict(good, **{
        "platform/settings.cpp": '#include <windows.h>\n'}),
        ["platform/settings.cpp:1:", "<windows.h>"])
    expect("a POSIX header in a Windows file", dict(good, **{
        "platform/file_win.cpp": '#include <unistd.h>\n'}),
        ["platform/file_win.cpp:1:", "<unistd.h>"])
    expect("sys/ header in the core", dict(good, **{
        "collection/store.cpp": '#include <sys/stat.h>\n'}),
        ["collection/store.cpp:1:", "<sys/stat.h>"])
    expect("a folder without rules", dict(good, **{"widgets/button.cpp": "\n"}),
           ["widgets/button.cpp", "no include rules"])
    expect("the CLI including mkdb", dict(good, **{
        "tools/cli/main.cpp": '#include "tools/mkdb/compile.h"\n'}),
        ["tools/cli/main.cpp:1:", "tools/cli/ must not include tools/mkdb/"])
    # A listed back edge whose include is gone must be reported, so the list shrinks.
    global KNOWN_BACK_EDGES
    kept = KNOWN_BACK_EDGES
    KNOWN_BACK_EDGES = {("controls/list_state.h", "shell/gdi_objects.h")}
    try:
        expect("a stale back edge", dict(good, **{"controls/list_state.h": "#pragma once\n"}),
               ["controls/list_state.h", "KNOWN_BACK_EDGES"])
    finally:
        KNOWN_BACK_EDGES = kept

    with tempfile.TemporaryDirectory() as root:
        rows = "".join(f"| `{folder}/` | "
                       f"{'anything' if allowed is None else ', '.join(allowed) or 'nothing'} |\n"
                       for folder, allowed in RULES.items())
        table = "## Include rules\n\n| Folder | May include |\n|---|---|\n" + rows
        write(root, "docs/developer.md", "# Notes\n\n" + table + "\n## Next\n| x | y |\n")
        if docs_match_rules(root):
            failures.append(f"a table equal to the rules: {docs_match_rules(root)}")
        write(root, "docs/developer.md", table.replace("| `refdb/` | base,", "| `refdb/` | base, collection,"))
        if not any("row refdb/ differs" in f for f in docs_match_rules(root)):
            failures.append("a documented edge the rules lack went unnoticed")
        write(root, "docs/developer.md", table.replace("| `app/` |", "| `apps/` |"))
        if not any("lacks app/" in f for f in docs_match_rules(root)):
            failures.append("a folder missing from the documented table went unnoticed")

    dag = rules_form_a_dag()
    if dag:
        failures.append(f"the rules themselves: {dag}")
    saved = RULES["base"]
    RULES["base"] = ["app"]
    if not any("cycle" in f or "each other" in f for f in rules_form_a_dag()):
        failures.append("a cycle in the rules went unnoticed")
    RULES["base"] = saved

    for failure in failures:
        print("self-test:", failure)
    if not failures:
        print("self-test: the checker passes good trees and names every broken rule")
    return 1 if failures else 0


def main(argv):
    if len(argv) > 1 and argv[1] == "--self-test":
        return self_test()
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    return run(root)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
