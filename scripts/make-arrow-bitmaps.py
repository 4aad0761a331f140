#!/usr/bin/env python3
"""Writes the 12 x 12 faces of the wallpaper dialog's Previous and Next buttons (res/PrevImage.bmp,
res/NextImage.bmp): a black arrow head on the light grey of a button face. Run once; the bitmaps
are committed."""
import os
import struct

SIZE = 12
FACE = (192, 192, 192)
INK = (0, 0, 0)


def arrow_rows(pointing_right):
    rows = []  # top row first
    for y in range(SIZE):
        reach = 5 - abs(y - 5.5) + 0.5  # a triangle 6 pixels deep, rows 1..10
        row = []
        for x in range(SIZE):
            depth = (x - 3) if pointing_right else (8 - x)
            row.append(INK if 1 <= y <= 10 and 0 <= depth < reach else FACE)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    stride = (SIZE * 3 + 3) & ~3
    pixels = b""
    for row in reversed(rows):  # bottom row first
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        pixels += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(path, "wb") as out:
        out.write(file_header + header + pixels)


if __name__ == "__main__":
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    write_bmp(os.path.join(res, "PrevImage.bmp"), arrow_rows(False))
    write_bmp(os.path.join(res, "NextImage.bmp"), arrow_rows(True))
