#!/usr/bin/env python3
"""Checks the C++ sources against the root .clang-format.

  - Every tracked *.cpp/*.h must be formatted as a whole, except the files
    and folders listed in tools/check/format_exempt.txt (code from before the
    .clang-format; a file leaves the list when it has been formatted once).
  - On a branch, every line changed since the merge base with main
    (origin/main in a clone) must be formatted too, also in a listed file;
    a listed folder ("shell/") is left out of this as well.

  format.py ROOT [--clang-format PROGRAM]    exit 1 on an unformatted file or line
  format.py ROOT --list-unformatted          print the files that need clang-format
  format.py --self-test                      show on a scratch repository that it finds faults
"""
import argparse
import re
import subprocess
import sys
import tempfile
from pathlib import Path

SUFFIXES = (".cpp", ".h")


def git(root, *args, check=True):
    p = subprocess.run(["git", "-C", str(root), *args], capture_output=True, text=True)
    if check and p.returncode != 0:
        sys.exit(f"git {' '.join(args)}: {p.stderr.strip()}")
    return p


def tracked_sources(root):
    out = git(root, "ls-files", "-z", "--", "*.cpp", "*.h").stdout
    return sorted(f for f in out.split("\0") if f.endswith(SUFFIXES))


def read_exempt(root):
    files, folders = set(), []
    path = root / "tools" / "check" / "format_exempt.txt"
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        (folders.append(line) if line.endswith("/") else files.add(line))
    return files, folders


def merge_base(root):
    """The merge base with main, or None on main itself or without a main."""
    for ref in ("main", "origin/main"):
        if git(root, "rev-parse", "--verify", "-q", ref, check=False).returncode == 0:
            base = git(root, "merge-base", "HEAD", ref, check=False).stdout.strip()
            head = git(root, "rev-parse", "HEAD").stdout.strip()
            return base if base and base != head else None
    return None


def changed_lines(root, base):
    """{file: [(first, last), ...]} of the lines added since `base` (working tree)."""
    diff = git(root, "diff", "-U0", "--no-color", "--no-ext-diff", base, "--", "*.cpp", "*.h").stdout
    ranges, current = {}, None
    for line in diff.splitlines():
        if line.startswith("+++ "):
            current = line[6:] if line.startswith("+++ b/") else None
        elif line.startswith("@@") and current:
            m = re.match(r"@@ -\S+ \+(\d+)(?:,(\d+))? @@", line)
            first, count = int(m.group(1)), int(m.group(2) or "1")
            if count > 0:
                ranges.setdefault(current, []).append((first, first + count - 1))
    return ranges


def unformatted(clang_format, root, path, lines=None):
    cmd = [clang_format, "--dry-run", "-Werror", "--style=file"]
    cmd += [f"--lines={a}:{b}" for a, b in lines or []]
    p = subprocess.run(cmd + [path], cwd=root, capture_output=True, text=True)
    return p.returncode != 0, p.stderr


def self_test(clang_format):
    """A scratch repository: main with one formatted and one listed file, then a branch."""
    def run(root):
        p = subprocess.run([sys.executable, __file__, str(root), "--clang-format", clang_format],
                           capture_output=True, text=True)
        return p.returncode, p.stdout

    with tempfile.TemporaryDirectory() as tmp:
        root = Path(tmp)
        sh = lambda *a: subprocess.run(["git", "-C", tmp, *a], check=True, capture_output=True)
        sh("init", "-q", "-b", "main")
        sh("config", "user.email", "t@t")
        sh("config", "user.name", "t")
        (root / ".clang-format").write_text("BasedOnStyle: Google\nColumnLimit: 110\n")
        (root / "tools" / "check").mkdir(parents=True)
        (root / "tools" / "check" / "format_exempt.txt").write_text("# old\nold.cpp\nrewrite/\n")
        (root / "rewrite").mkdir()
        (root / "rewrite" / "w.cpp").write_text("int  w ;\n")
        (root / "good.cpp").write_text("int f() { return 1; }\n")
        (root / "old.cpp").write_text("int  a ;\nint  b ;\n")
        sh("add", ".")
        sh("commit", "-q", "-m", "base")
        results = [run(root)[0] == 0]                                  # main: all well
        (root / "good.cpp").write_text("int f() {return 1;}\n")
        results.append(run(root)[0] == 1)                              # a listed-out file broken
        (root / "good.cpp").write_text("int f() { return 1; }\n")
        sh("checkout", "-q", "-b", "work")
        (root / "old.cpp").write_text("int  a ;\nint  b ;\nint  c ;\n")
        sh("commit", "-q", "-am", "c")
        code, out = run(root)
        results.append(code == 1 and "old.cpp:3" in out and "old.cpp:1" not in out)  # the new line only
        (root / "old.cpp").write_text("int  a ;\nint  b ;\nint c;\n")
        results.append(run(root)[0] == 0)                              # changed line formatted
        (root / "old.cpp").write_text("int a;\nint b;\nint c;\n")
        code, out = run(root)
        results.append(code == 0 and "old.cpp is gone or formatted" in out)  # a note only
    if all(results):
        print("self-test passed")
        return 0
    print(f"self-test failed: {results}")
    return 1


def main():
    if sys.argv[1:2] == ["--self-test"]:
        return self_test(sys.argv[2] if len(sys.argv) > 2 else "clang-format")
    ap = argparse.ArgumentParser()
    ap.add_argument("root")
    ap.add_argument("--clang-format", default="clang-format")
    ap.add_argument("--list-unformatted", action="store_true")
    args = ap.parse_args()
    root = Path(args.root).resolve()
    try:
        subprocess.run([args.clang_format, "--version"], capture_output=True, check=True)
    except (OSError, subprocess.CalledProcessError):
        sys.exit(f"{args.clang_format} not found (Debian package clang-format)")

    sources = tracked_sources(root)
    if args.list_unformatted:
        for f in sources:
            if unformatted(args.clang_format, root, f)[0]:
                print(f)
        return 0

    exempt_files, exempt_folders = read_exempt(root)
    in_exempt_folder = lambda f: any(f.startswith(d) for d in exempt_folders)
    problems, stale = [], sorted(f for f in exempt_files if f not in sources)
    for f in sources:
        if in_exempt_folder(f):
            continue
        bad, message = unformatted(args.clang_format, root, f)
        if bad and f not in exempt_files:
            problems.append((f, "the file", message))
        elif not bad and f in exempt_files:
            stale.append(f)  # formatted by now: the list must say so
    base = merge_base(root)
    if base:
        for f, lines in sorted(changed_lines(root, base).items()):
            if f in exempt_files and not in_exempt_folder(f) and (root / f).exists():
                bad, message = unformatted(args.clang_format, root, f, lines)
                if bad:
                    problems.append((f, "lines changed since main", message))

    for f, what, message in problems:
        print(f"{f}: {what} not formatted as .clang-format says")
        print("\n".join(message.splitlines()[:12]))
    # A listed file that was renamed or formatted is no fault, only an untidy list.
    for f in stale:
        print(f"note: tools/check/format_exempt.txt: {f} is gone or formatted by now; remove its line")
    if problems:
        print(f"{len(problems)} unformatted; fix with: clang-format -i FILE "
              "(or git clang-format main for the changed lines only)")
        return 1
    print(f"formatted: {len(sources)} sources, changed lines " +
          (f"since {base[:10]}" if base else "not checked (no branch off main)"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
