#!/usr/bin/env python3
"""Writes the seed corpus of dib_load_fuzz: small BMP file images, valid and broken.

Run once from the repository root; the files are checked in under tests/fuzz/corpus/dib/.
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "dib")


def stride(width, bit_count):
    return ((bit_count * abs(width) + 31) & ~31) // 8


def windows_bmp(width, height, bit_count, colours, clr_used=None, compression=0,
                off_bits=None, table_entries=None):
    """A BMP with the 40-byte header; colours is a list of (blue, green, red)."""
    table_entries = len(colours) if table_entries is None else table_entries
    table = b"".join(bytes([b, g, r, 0]) for b, g, r in colours[:table_entries])
    bits_offset = 14 + 40 + len(table) if off_bits is None else off_bits
    rows = bytes((7 * i + 3) & 0xFF for i in range(stride(width, bit_count) * abs(height)))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, compression, 0, 0, 0,
                       len(colours) if clr_used is None else clr_used, 0)
    head = struct.pack("<HIHHI", 0x4D42, bits_offset + len(rows), 0, 0, bits_offset)
    gap = b"\0" * max(0, bits_offset - (14 + 40 + len(table)))
    return head + info + table + gap + rows


def os2_bmp(width, height, bit_count, colours):
    """A BMP with the 12-byte OS/2 header and 3-byte table entries."""
    table = b"".join(bytes([b, g, r]) for b, g, r in colours)
    bits_offset = 14 + 12 + len(table)
    rows = bytes((5 * i + 1) & 0xFF for i in range(stride(width, bit_count) * height))
    info = struct.pack("<IHHHH", 12, width, height, 1, bit_count)
    head = struct.pack("<HIHHI", 0x4D42, bits_offset + len(rows), 0, 0, bits_offset)
    return head + info + table + rows


def greys(n):
    return [(i * 255 // max(n - 1, 1),) * 3 for i in range(n)]


SEEDS = {
    "8bit-4colours.bmp": windows_bmp(3, 2, 8, greys(4)),
    "8bit-full-table-1078.bmp": windows_bmp(2, 2, 8, greys(256), clr_used=20),
    "4bit.bmp": windows_bmp(5, 3, 4, greys(16), clr_used=0),
    "1bit.bmp": windows_bmp(9, 2, 1, greys(2)),
    "24bit.bmp": windows_bmp(3, 2, 24, []),
    "24bit-gap.bmp": windows_bmp(2, 2, 24, [], off_bits=14 + 40 + 32),
    "os2-1bit.bmp": os2_bmp(3, 2, 1, greys(2)),
    "os2-8bit.bmp": os2_bmp(2, 2, 8, greys(256)),
    "topdown.bmp": windows_bmp(3, -2, 8, greys(4)),
    "rle8.bmp": windows_bmp(3, 2, 8, greys(4), compression=1),
    "truncated.bmp": windows_bmp(3, 2, 8, greys(4))[:60],
    "short-table.bmp": windows_bmp(3, 2, 8, greys(4), table_entries=2, off_bits=14 + 40 + 8),
}

os.makedirs(OUT, exist_ok=True)
for name, data in SEEDS.items():
    assert len(data) < 2048, name
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
