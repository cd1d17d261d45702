#!/usr/bin/env python3
"""Writes a six-entry mineral database into the current folder for the CLI
tests of the collection: kalvor.na, and kalvor.mi/kalvor.db with full
minerals without properties and one alias of Quarz."""
names = [(0, "Quarz"), (0, "Calcit"), (0, "Fluorit"), (0, "Baryt"), (255, "Bergkristall"),
         (0, "\u00c4schynit")]
with open("kalvor.na", "wb") as f:
    for alias, name in names:
        b = name.encode("cp1252")
        f.write(bytes([alias]) + b + b" " * (40 - len(b)))
# The mineral files the program needs beside it: the same entries, full
# minerals without properties (flag, 269-byte fixed part) and an alias of Quarz.
import struct
entries = []
for alias, name in names:
    b = name.encode("cp1252").ljust(40, b"\0")
    entries.append(bytes([0]) + b + struct.pack("<H", 5) + b"Quarz" if alias
                   else bytes([1]) + b + bytes(229))
with open("kalvor.mi", "wb") as f, open("kalvor.db", "wb") as db:
    f.write(struct.pack("<I", len(entries)))
    for e in entries:
        f.write(struct.pack("<I", db.tell()))
        db.write(e)
