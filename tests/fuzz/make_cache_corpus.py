#!/usr/bin/env python3
"""Writes the seed corpus of quarter_cache_fuzz: small "imx4.dat" caches, sound and damaged.

A cache is a header of decimal numbers each closed by 'l' (the count, then each image's size)
followed by the images' BMP files back to back. The images are the 8-bit seeds of dib_load_fuzz.
Run once from the repository root; the files are checked in under tests/fuzz/corpus/cache/.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "cache")
DIB = os.path.join(HERE, "corpus", "dib")


def image(name):
    with open(os.path.join(DIB, name), "rb") as f:
        return f.read()


def cache(images, sizes=None, count=None):
    sizes = [len(i) for i in images] if sizes is None else sizes
    count = len(sizes) if count is None else count
    header = "%dl" % count + "".join("%dl" % s for s in sizes)
    return header.encode() + b"".join(images)


def main():
    os.makedirs(OUT, exist_ok=True)
    a, b = image("8bit-full-table-1078.bmp"), image("8bit-4colours.bmp")
    seeds = {
        "two-images": cache([a, b]),
        "twelve-images": cache([a, b] * 6),
        "sizes-past-the-end": cache([a, b], sizes=[len(a), len(b) + 7]),
        "count-too-large": cache([a], count=53),
        "no-closing-l": b"1" + str(len(a)).encode() + a,
        "rle-and-topdown": cache([image("rle8.bmp"), image("topdown.bmp")]),
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
