#!/usr/bin/env python3
"""Draws the start-up banner, bitmap 101: 256 x 128 pixels, 16 colours, written as
resources/banner.bmp (4 bits per pixel, bottom-up rows). Standard library only.

The picture: a night-blue field, three overlapping windows of which the front one wears the
orange frame that Vantix draws around a picked window, the name in large letters with a shadow
and the line "FOR WINDOWS POWER USERS" beneath it.
"""
import os
import struct

W, H = 256, 128

PALETTE = [
    (0, 0, 0),        # 0 black
    (14, 22, 44),     # 1 night
    (22, 38, 76),     # 2 navy
    (36, 64, 128),    # 3 blue
    (78, 126, 206),   # 4 sky
    (156, 194, 240),  # 5 pale sky
    (255, 255, 255),  # 6 white
    (120, 124, 132),  # 7 grey
    (200, 204, 210),  # 8 light grey
    (240, 146, 36),   # 9 orange
    (255, 204, 84),   # 10 amber
    (36, 150, 156),   # 11 teal
    (56, 60, 70),     # 12 dark grey
    (196, 58, 48),    # 13 red
    (78, 176, 88),    # 14 green
    (248, 228, 120),  # 15 pale yellow
]

# 5 x 7 glyphs, one string of five characters per row.
GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}

BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def new_canvas():
    return [[0] * W for _ in range(H)]


def background(px):
    """A vertical night-to-blue gradient, dithered between the palette's blues."""
    steps = [1, 2, 3]
    for y in range(H):
        t = y / (H - 1) * (len(steps) - 1)
        lo = int(t)
        frac = t - lo
        hi = min(lo + 1, len(steps) - 1)
        for x in range(W):
            px[y][x] = steps[hi] if frac * 16 > BAYER[y % 4][x % 4] else steps[lo]


def rect(px, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(H, y1)):
        for x in range(max(0, x0), min(W, x1)):
            px[y][x] = colour


def frame(px, x0, y0, x1, y1, colour, width=1):
    for i in range(width):
        rect(px, x0 + i, y0 + i, x1 - i, y0 + i + 1, colour)
        rect(px, x0 + i, y1 - i - 1, x1 - i, y1 - i, colour)
        rect(px, x0 + i, y0 + i, x0 + i + 1, y1 - i, colour)
        rect(px, x1 - i - 1, y0 + i, x1 - i, y1 - i, colour)


def window(px, x0, y0, x1, y1, title, body):
    """A small top-level window: shadow, frame, caption with three buttons, body lines."""
    rect(px, x0 + 3, y0 + 3, x1 + 3, y1 + 3, 0)
    rect(px, x0, y0, x1, y1, body)
    frame(px, x0, y0, x1, y1, 12)
    rect(px, x0 + 1, y0 + 1, x1 - 1, y0 + 9, title)
    for i, c in enumerate((14, 10, 13)):
        bx = x1 - 8 - 7 * i
        rect(px, bx, y0 + 3, bx + 5, y0 + 7, c)
    for row, y in enumerate(range(y0 + 14, y1 - 5, 6)):
        width = (x1 - x0 - 12) * (3 + (row * 5) % 4) // 6
        rect(px, x0 + 6, y, x0 + 6 + width, y + 2, 7)


def text(px, s, x, y, scale, colour, spacing=1):
    for ch in s:
        glyph = GLYPHS[ch]
        for gy, row in enumerate(glyph):
            for gx, cell in enumerate(row):
                if cell == "#":
                    rect(px, x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, colour)
        x += (5 + spacing) * scale


def text_width(s, scale, spacing=1):
    return len(s) * (5 + spacing) * scale - spacing * scale


def draw():
    px = new_canvas()
    background(px)
    # Stars: a fixed scatter, so the picture is the same at every run.
    seed = 12345
    for _ in range(70):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        x, y = seed % W, (seed >> 8) % 60
        px[y][x] = 5 if seed & 0x100 else 4

    window(px, 10, 22, 70, 78, 3, 8)
    window(px, 26, 38, 90, 96, 11, 8)
    window(px, 44, 56, 104, 110, 4, 6)
    frame(px, 41, 53, 107, 113, 9, 2)  # the picked window's outline

    name = "VANTIX"
    scale = 4
    x = 256 - 12 - text_width(name, scale)
    text(px, name, x + 2, 30 + 2, scale, 0)
    text(px, name, x, 30, scale, 6)
    rect(px, x, 66, x + text_width(name, scale), 68, 10)
    tag = "FOR WINDOWS"
    text(px, tag, 256 - 12 - text_width(tag, 1), 76, 1, 5)
    tag = "POWER USERS"
    text(px, tag, 256 - 12 - text_width(tag, 1), 86, 1, 5)
    rect(px, 0, H - 4, W, H - 3, 10)
    return px


def write_bmp(px, path):
    row_bytes = W // 2
    pixels = bytearray()
    for y in range(H - 1, -1, -1):
        row = px[y]
        for x in range(0, W, 2):
            pixels.append((row[x] << 4) | row[x + 1])
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header_size = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 4, 0, row_bytes * H, 2835, 2835, 16, 0)
    head = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    with open(path, "wb") as f:
        f.write(head + info + palette + bytes(pixels))


if __name__ == "__main__":
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "banner.bmp")
    write_bmp(draw(), os.path.normpath(out))
    print(os.path.normpath(out))
