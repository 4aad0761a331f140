#!/usr/bin/env python3
"""Writes the seed corpus of wave_load_fuzz: small RIFF WAVE files, valid and broken.

Run once from the repository root; the files are checked in under tests/fuzz/corpus/wave/.
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "wave")


def chunk(cid, data, size=None):
    pad = b"\0" if len(data) & 1 else b""
    return cid + struct.pack("<I", len(data) if size is None else size) + data + pad


def fmt(tag, channels, rate, bits, extra=b""):
    align = channels * ((bits + 7) // 8)
    return chunk(b"fmt ", struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits) + extra)


def riff(form, *chunks):
    return chunk(b"RIFF", form + b"".join(chunks))


SAMPLES8 = bytes((i * 37) & 0xFF for i in range(64))
SAMPLES16 = b"".join(struct.pack("<h", (i * 997) % 65536 - 32768) for i in range(32))

FILES = {
    "mono8.wav": riff(b"WAVE", fmt(1, 1, 11025, 8), chunk(b"data", SAMPLES8)),
    "stereo16.wav": riff(b"WAVE", fmt(1, 2, 22050, 16), chunk(b"data", SAMPLES16)),
    "extra-chunks.wav": riff(b"WAVE", chunk(b"LIST", b"abc"), fmt(1, 1, 8000, 8, b"\0\0"),
                             chunk(b"fact", b"\1\2\3\4"), chunk(b"data", SAMPLES8[:7])),
    "data-past-end.wav": riff(b"WAVE", fmt(1, 1, 11025, 8), chunk(b"data", SAMPLES8, 0x7FFFFFF0)),
    "float.wav": riff(b"WAVE", fmt(3, 1, 11025, 32), chunk(b"data", SAMPLES16)),
    "4bit.wav": riff(b"WAVE", fmt(1, 1, 11025, 4), chunk(b"data", SAMPLES8)),
    "no-data.wav": riff(b"WAVE", fmt(1, 1, 11025, 8)),
    "avi.riff": riff(b"AVI ", fmt(1, 1, 11025, 8), chunk(b"data", SAMPLES8)),
}

os.makedirs(OUT, exist_ok=True)
for name, data in FILES.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
