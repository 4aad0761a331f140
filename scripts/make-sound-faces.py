#!/usr/bin/env python3
"""Writes the sound dialog's transport-button faces into res/: 12 x 12 pixels, 16 colours.

Each button has an enabled face (a black shape) and a disabled one (the shape in dark grey with a
white edge below and right, as greyed controls look), both on the light grey of a button face.
Run once; the .bmp files are committed.
"""
import os
import struct

SIZE = 12
BLACK, LIGHT_GREY, DARK_GREY, WHITE = 0, 7, 8, 15
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def triangle_right(x0, top, height):
    """A triangle pointing right whose upright side stands at column x0."""
    points = set()
    for row in range(height):
        width = min(row, height - 1 - row) + 1
        for x in range(x0, x0 + width):
            points.add((x, top + row))
    return points


def mirrored(points):
    return {(SIZE - 1 - x, y) for x, y in points}


PLAY = triangle_right(4, 2, 8)
FORWARD = triangle_right(2, 3, 6) | triangle_right(6, 3, 6)
BACK = mirrored(FORWARD)
STOP = {(x, y) for x in range(3, 9) for y in range(3, 9)}


def pixels(shape, enabled):
    grid = [[LIGHT_GREY] * SIZE for _ in range(SIZE)]
    if not enabled:
        for x, y in shape:
            if x + 1 < SIZE and y + 1 < SIZE:
                grid[y + 1][x + 1] = WHITE
    for x, y in shape:
        grid[y][x] = BLACK if enabled else DARK_GREY
    return grid


def bmp(grid):
    stride = ((SIZE * 4 + 31) // 32) * 4
    rows = b""
    for row in reversed(grid):  # bottom-up
        packed = bytes((row[i] << 4) | row[i + 1] for i in range(0, SIZE, 2))
        rows += packed + b"\0" * (stride - len(packed))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 4, 0, len(rows), 0, 0, 16, 16)
    return header + info + table + rows


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    for name, shape in (("back", BACK), ("play", PLAY), ("stop", STOP), ("forward", FORWARD)):
        for state, enabled in (("on", True), ("off", False)):
            with open(os.path.join(folder, f"sound-{name}-{state}.bmp"), "wb") as out:
                out.write(bmp(pixels(shape, enabled)))


if __name__ == "__main__":
    main()
