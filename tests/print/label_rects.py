#!/usr/bin/env python3
"""Compares the label rectangles of two PDF files of the same labels.

Both files are rendered with pdftoppm at 300 dpi in gray; the straight
lines that draw the labels' rectangles (cut marks at the corners, frames)
are the runs of dark pixels at least MIN_RUN long in a row or a column.
Runs in neighbouring rows (columns) that overlap form one line. Every line
of the one file must have a partner in the other whose position (middle
of its thickness) and both ends lie within TOLERANCE pixels, page by page;
the pages themselves differ by at most TOLERANCE pixels in size.

    label_rects.py [--shift DX,DY] PRINTED.pdf REFERENCE.pdf

--shift moves the first file's lines by DX, DY pixels before comparing
(to see the comparison refuse a misplaced printout).
Exit status 0 when all lines agree, 1 when not, 2 on a rendering error.
"""

import re
import subprocess
import sys
import tempfile
from pathlib import Path

DPI = 300
DARK = 128  # gray levels below this are ink
MIN_RUN = 90  # pixels: 7.6 mm, longer than any letter, shorter than a cut mark
TOLERANCE = 1  # pixels

INK = bytes(1 if v < DARK else 0 for v in range(256))
RUN = re.compile(rb"\x01{%d,}" % MIN_RUN)


def read_pgm(path):
    """Width, height and the pixels (one byte each) of a binary PGM."""
    data = path.read_bytes()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos : pos + 1].isspace():
            pos += 1
        if data[pos : pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P5" or int(fields[3]) > 255:
        raise ValueError(f"{path}: not an 8-bit binary PGM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1 : pos + 1 + width * height]
    if len(pixels) != width * height:
        raise ValueError(f"{path}: truncated")
    return width, height, pixels


def lines_along(strips):
    """The lines in a sequence of pixel strips (rows or columns).

    Returns (first strip, last strip, start, end) for each line; end is
    exclusive. Runs in adjacent strips that overlap belong to one line.
    """
    finished = []
    open_lines = []  # [first, last, start, end]
    for index, strip in enumerate(strips):
        runs = [(m.start(), m.end()) for m in RUN.finditer(strip)]
        still_open = []
        for line in open_lines:
            joined = [r for r in runs if r[0] < line[3] and r[1] > line[2]]
            if joined:
                for r in joined:
                    runs.remove(r)
                line[1] = index
                line[2] = min([line[2]] + [r[0] for r in joined])
                line[3] = max([line[3]] + [r[1] for r in joined])
                still_open.append(line)
            else:
                finished.append(tuple(line))
        still_open.extend([index, index, r[0], r[1]] for r in runs)
        open_lines = still_open
    finished.extend(tuple(line) for line in open_lines)
    return finished


def page_lines(path):
    """Horizontal and vertical lines of one rendered page, each as
    (kind, middle doubled, start, end) so that the middle stays an integer."""
    width, height, pixels = read_pgm(path)
    ink = pixels.translate(INK)
    rows = (ink[y * width : (y + 1) * width] for y in range(height))
    columns = (ink[x::width] for x in range(width))
    result = [("horizontal", first + last, start, end) for first, last, start, end in lines_along(rows)]
    result += [("vertical", first + last, start, end) for first, last, start, end in lines_along(columns)]
    return (width, height), result


def render(pdf, folder, name):
    prefix = Path(folder) / name
    subprocess.run(["pdftoppm", "-r", str(DPI), "-gray", str(pdf), str(prefix)], check=True)
    pages = sorted(Path(folder).glob(name + "*.pgm"))
    return [page_lines(p) for p in pages]


def shifted(line, dx, dy):
    kind, middle2, start, end = line
    if kind == "horizontal":
        return (kind, middle2 + 2 * dy, start + dx, end + dx)
    return (kind, middle2 + 2 * dx, start + dy, end + dy)


def partner(line, others):
    kind, middle2, start, end = line
    for other in others:
        if (
            other[0] == kind
            and abs(other[1] - middle2) <= 2 * TOLERANCE
            and abs(other[2] - start) <= TOLERANCE
            and abs(other[3] - end) <= TOLERANCE
        ):
            return other
    return None


def describe(line):
    kind, middle2, start, end = line
    return f"{kind} at {middle2 / 2:g} from {start} to {end - 1}"


def compare(printed, reference):
    """Human-readable differences; empty when the rectangles agree."""
    problems = []
    if len(printed) != len(reference):
        problems.append(f"{len(printed)} pages printed, {len(reference)} in the reference")
    for number, ((size_a, lines_a), (size_b, lines_b)) in enumerate(zip(printed, reference), 1):
        # Paper sizes in whole points (a PPD's 595 x 842) and in exact
        # millimetres (cairo's A4) round to pages a pixel apart.
        if abs(size_a[0] - size_b[0]) > TOLERANCE or abs(size_a[1] - size_b[1]) > TOLERANCE:
            problems.append(f"page {number}: {size_a} pixels printed, {size_b} in the reference")
        if not lines_b:
            problems.append(f"page {number}: no lines in the reference")
        for line in lines_a:
            if partner(line, lines_b) is None:
                problems.append(f"page {number}: printed {describe(line)}, not in the reference")
        for line in lines_b:
            if partner(line, lines_a) is None:
                problems.append(f"page {number}: reference {describe(line)}, not printed")
    return problems


def main(argv):
    dx = dy = 0
    if len(argv) >= 2 and argv[0] == "--shift":
        dx, dy = (int(v) for v in argv[1].split(","))
        argv = argv[2:]
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    with tempfile.TemporaryDirectory() as folder:
        try:
            printed = render(argv[0], folder, "printed")
            reference = render(argv[1], folder, "reference")
        except (subprocess.CalledProcessError, ValueError, OSError) as error:
            print(f"label_rects: {error}", file=sys.stderr)
            return 2
    printed = [(size, [shifted(line, dx, dy) for line in lines]) for size, lines in printed]
    problems = compare(printed, reference)
    count = sum(len(lines) for _, lines in reference)
    for problem in problems[:12]:
        print(problem)
    if len(problems) > 12:
        print(f"... {len(problems) - 12} more")
    print(f"label_rects: {count} lines in the reference, {len(problems)} differences")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
