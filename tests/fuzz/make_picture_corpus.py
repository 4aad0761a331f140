#!/usr/bin/env python3
"""Writes the seed corpus of picture_fit_fuzz: pictures of the BMP, JPEG and packed seeds behind
the four control bytes that choose the road, the format, the size code, interpolation, the
background colour and the screen (see picture_fit_fuzz.cpp).

Run once from the repository root; the files are checked in under tests/fuzz/corpus/picture/.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "picture")

# (road, seed file, size code and interpolation, screen row)
SEEDS = [
    (0, "dib/8bit-full-table-1078.bmp", 0x81, 0),
    (0, "dib/24bit.bmp", 0x03, 5),
    (0, "dib/1bit.bmp", 0x80, 4),
    (0, "jpeg/baseline420-16x16.jpg", 0x01, 0),
    (0, "jpeg/grey-15x6.jpg", 0x86, 2),
    (1, "dib/4bit.bmp", 0, 1),
    (1, "jpeg/progressive-17x11.jpg", 0, 3),
    (2, "dib/topdown.bmp", 0, 6),
    (2, "jpeg/baseline444-9x9.jpg", 0, 7),
    (3, "dib/rle8.bmp", 0, 0),
    (3, "jpeg/arithmetic-12x10.jpg", 0, 0),
    (4, "dib/8bit-4colours.bmp", 0, 0),
    (4, "jpeg/restart-24x24.jpg", 0, 0),
    (0, "packed/palette420-21x18-q75", 0x81, 0),
    (0, "packed/rgb420-24x20-q75", 0x02, 6),
    (4, "packed/lzw-23x19", 0, 0),
]

# Inputs the fuzzer found, kept as seeds: (file name, control bytes, file).
FOUND = [
    # A file that does not load becomes the blank 400 x 300 picture, fitted into a 1 x 1 cell:
    # the fit once truncated its height to no rows.
    ("road2-unreadable-into-1x1-cell", bytes([0x82, 0, 31, 4]), b"not a picture"),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    for road, seed, size_code, screen in SEEDS:
        with open(os.path.join(HERE, "corpus", seed), "rb") as f:
            picture = f.read()
        kind = 0x80 if seed.endswith(".jpg") else 0x40 if seed.startswith("packed/") else 0
        control = bytes([road | kind, size_code, 31, screen])
        name = "road%d-%s" % (road, os.path.basename(seed).replace(".", "-"))
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(control + picture)
    for name, control, picture in FOUND:
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(control + picture)


if __name__ == "__main__":
    main()
