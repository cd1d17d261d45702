#!/usr/bin/env python3
"""Draws crystal drawings of the shipped "kalvor.lf" onto one sheet (PNG,
drawn by ImageMagick from Magick Vector Graphics), read with a parser of its own, so that people can look
at what the program will show.

    crystal_sheet.py REFDATA OUT.png Quarz Pyrit ...

Each named mineral (German name) gets its drawings side by side: visible edges
solid, hidden edges dashed, its name and the note of the first drawing below.
"""
import struct
import subprocess
import sys
import tempfile
import os


def read_names(folder):
    mi = open(os.path.join(folder, "kalvor.mi"), "rb").read()
    db = open(os.path.join(folder, "kalvor.db"), "rb").read()
    n = struct.unpack_from("<I", mi, 0)[0]
    names = {}
    for i in range(n):
        off = struct.unpack_from("<I", mi, 4 + 4 * i)[0]
        raw = db[off + 1:off + 41].split(b"\0")[0]
        names.setdefault(raw.decode("cp1252"), i)
    return names


def read_block(lf, number):
    off = struct.unpack_from("<I", lf, 4 + 4 * number)[0]
    if off == 0:
        return []
    f, g = struct.unpack_from("<HH", lf, off)
    entries = [struct.unpack_from("<HH", lf, off + 4 + 4 * i) for i in range(f)]
    src = off + 4 + 4 * f
    notes = [lf[src + 56 * i + 6:src + 56 * (i + 1)].split(b"\0")[0].decode("cp1252") for i in range(f)]
    vals = struct.unpack_from("<%dI" % g, lf, src + 56 * f)
    return [(vals[first:first + count], notes[i]) for i, (first, count) in enumerate(entries)]


def mvg_of_drawing(values, x0, y0, size):
    out = []
    scale = (size - 20) / 32767.0
    pen_hidden = False
    last = None
    for v in values:
        x = (v & 0x7FFF) * scale + x0 + 10
        y = ((v >> 16) & 0x7FFF) * scale + y0 + 10
        if v & 0x80000000:
            pen_hidden = bool(v & 0x8000)
        elif last is not None:
            style = "stroke-dasharray 4 4 stroke '#808080'" if pen_hidden else "stroke-dasharray none stroke black"
            out.append("push graphic-context %s stroke-width 1.6 line %.1f,%.1f %.1f,%.1f pop graphic-context"
                       % ((style,) + last + (x, y)))
        last = (x, y)
    return out


def main():
    folder, target, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    lf = open(os.path.join(folder, "kalvor.lf"), "rb").read()
    index = read_names(folder)
    cell, cols = 260, 4
    rows = (len(names) + cols - 1) // cols
    parts = []
    for k, name in enumerate(names):
        cx, cy = (k % cols) * cell * 2, (k // cols) * (cell + 40)
        drawings = read_block(lf, index[name]) if name in index else []
        for j, (values, _) in enumerate(drawings[:2]):
            parts += mvg_of_drawing(values, cx + j * cell, cy, cell)
        note = drawings[0][1] if drawings else "keine Zeichnung"
        parts.append("fill black stroke none font DejaVu-Sans-Bold font-size 17 text %d,%d '%s'"
                     % (cx + 10, cy + cell + 8, name))
        parts.append("fill black stroke none font DejaVu-Sans font-size 12 text %d,%d '%s'"
                     % (cx + 10, cy + cell + 26, note.replace("'", "")))
        parts.append("fill none")
    width, height = cols * cell * 2, rows * (cell + 40)
    mvg = "viewbox 0 0 %d %d\nfill white rectangle 0,0 %d,%d\nfill none\n%s\n" % (
        width, height, width, height, "\n".join(parts))
    with tempfile.NamedTemporaryFile("w", suffix=".mvg", delete=False, encoding="utf-8") as f:
        f.write(mvg)
    subprocess.run(["convert", "mvg:" + f.name, target], check=True)
    os.unlink(f.name)


if __name__ == "__main__":
    main()
