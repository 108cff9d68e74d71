#!/usr/bin/env python3
"""Draws Vantix's three monochrome selection cursors (32 x 32, hot spot 15, 15) and writes
them as .cur files into resources/cursors/. The generated files are committed:

    python3 tools/make_cursors.py [output-dir]

Each picture is a grid of letters: '.' transparent, 'B' black, 'W' white, 'X' inverts the
screen below.
"""

import math
import os
import struct
import sys

N = 32
HOT = 15


def blank():
    return [['.'] * N for _ in range(N)]


def ring_cursor():
    """A white ring about 30 px across, outlined in black, crossed by an outlined white
    crosshair; the hot-spot pixel inverts, so the exact point stays visible on any colour."""
    g = blank()
    for y in range(N):
        for x in range(N):
            d = math.hypot(x - HOT, y - HOT)
            if 13.0 <= d <= 14.2:
                g[y][x] = 'W'
            elif 12.0 <= d < 13.0 or 14.2 < d <= 15.2:
                g[y][x] = 'B'
    # The crosshair: white one-pixel lines with black edges, gap-free through the centre.
    for i in range(1, N - 1):
        for (x, y) in ((i, HOT), (HOT, i)):
            g[y][x] = 'W'
    for i in range(1, N - 1):
        for (x, y) in ((i, HOT - 1), (i, HOT + 1), (HOT - 1, i), (HOT + 1, i)):
            if g[y][x] != 'W':
                g[y][x] = 'B'
    for (x, y) in ((0, HOT), (N - 1, HOT), (HOT, 0), (HOT, N - 1)):
        g[y][x] = 'B'
    g[HOT][HOT] = 'X'
    return g


def full_cross_cursor():
    """Inverting one-pixel lines across the whole cell; the hot-spot pixel stays clear."""
    g = blank()
    for i in range(N):
        g[HOT][i] = 'X'
        g[i][HOT] = 'X'
    g[HOT][HOT] = '.'
    return g


def small_cross_cursor():
    """Five inverting pixels on each side of a clear hot-spot pixel."""
    g = blank()
    for i in range(1, 6):
        for (x, y) in ((HOT - i, HOT), (HOT + i, HOT), (HOT, HOT - i), (HOT, HOT + i)):
            g[y][x] = 'X'
    return g


def masks(grid):
    """XOR and AND bit planes, bottom-up rows padded to 32 bits."""
    xor_rows, and_rows = [], []
    for row in reversed(grid):
        xb = ab = 0
        for x, c in enumerate(row):
            bit = 1 << (31 - x)
            if c in ('W', 'X'):
                xb |= bit
            if c in ('.', 'X'):
                ab |= bit
        xor_rows.append(struct.pack('>I', xb))
        and_rows.append(struct.pack('>I', ab))
    return b''.join(xor_rows), b''.join(and_rows)


def write_cur(path, grid):
    xor, and_ = masks(grid)
    header = struct.pack('<IiiHHIIiiII', 40, N, 2 * N, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = header + palette + xor + and_
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', N, N, 2, 0, HOT, HOT, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(directory + entry + image)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'resources', 'cursors')
    os.makedirs(out, exist_ok=True)
    write_cur(os.path.join(out, 'ring.cur'), ring_cursor())
    write_cur(os.path.join(out, 'cross.cur'), full_cross_cursor())
    write_cur(os.path.join(out, 'small_cross.cur'), small_cross_cursor())
    print('cursors written to', out)


if __name__ == '__main__':
    main()
