#!/usr/bin/env python3
"""Draws Vantix's icons and writes them as .ico files into resources/icons/.

The generated files are committed, so a Windows build never needs Python; run this
again only after changing a picture:

    python3 tools/make_icons.py [output-dir]

Only the standard library is used. Shapes are signed distance functions (negative
inside) rendered with 4x4 supersampling, so curves get smooth edges while boxes
placed on whole pixels stay perfectly crisp. Each icon has its own drawing function
that takes the target size, because a 16 px picture has to be simplified by hand
rather than merely scaled down.
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------
# Colours (r, g, b, a), 0..255

def rgb(hexstr, a=255):
    hexstr = hexstr.lstrip('#')
    return (int(hexstr[0:2], 16), int(hexstr[2:4], 16), int(hexstr[4:6], 16), a)

INK = rgb('10213f')          # outlines
NAVY = rgb('17407e')
BLUE = rgb('2f6fc0')
SKY = rgb('6fa8e8')
TEAL = rgb('169c9c')
TEAL_LIGHT = rgb('5fd0cc')
GLASS = rgb('c8f0ee', 150)
WHITE = rgb('ffffff')
PAPER = rgb('f4f7fb')
GREY = rgb('8a96a8')
STEEL = rgb('5d6f8a')
STEEL_LIGHT = rgb('a9b8cc')
AMBER = rgb('f2a516')
AMBER_DARK = rgb('b86e00')
YELLOW = rgb('ffd23f')
PINK = rgb('f08a9a')
WOOD = rgb('f1c999')
RED = rgb('d23a2a')

# The standard 16-colour VGA palette, in index order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def mix(c1, c2, t):
    t = max(0.0, min(1.0, t))
    return tuple(c1[i] + (c2[i] - c1[i]) * t for i in range(4))


def vgradient(top, bottom, y0, y1):
    """Fill callback shading from `top` at y0 to `bottom` at y1."""
    span = max(1e-6, y1 - y0)
    return lambda x, y: mix(top, bottom, (y - y0) / span)


# ---------------------------------------------------------------------------
# Signed distance functions: each returns f(x, y) -> distance, negative inside.

def box(x0, y0, x1, y1):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2, (y1 - y0) / 2

    def f(x, y):
        dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(dx, 0), max(dy, 0))
        return out + min(max(dx, dy), 0)
    return f


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(x0, y0, x1, y1, r):
    """A line of half-width r with round caps."""
    ex, ey = x1 - x0, y1 - y0
    ll = ex * ex + ey * ey or 1e-9

    def f(x, y):
        t = max(0.0, min(1.0, ((x - x0) * ex + (y - y0) * ey) / ll))
        return math.hypot(x - x0 - ex * t, y - y0 - ey * t) - r
    return f


def polygon(pts):
    n = len(pts)

    def f(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            vix, viy = pts[i]
            vjx, vjy = pts[j]
            ex, ey = vjx - vix, vjy - viy
            wx, wy = x - vix, y - viy
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey or 1e-9)))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1, c2, c3 = y >= viy, y < vjy, ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def gear(cx, cy, r_body, r_tip, teeth, tooth_w, r_hole, phase=0.0):
    """A cog: a disc with rectangular teeth and a round hole."""
    def f(x, y):
        px, py = x - cx, y - cy
        d = math.hypot(px, py) - r_body
        for k in range(teeth):
            a = phase + 2 * math.pi * k / teeth
            ca, sa = math.cos(a), math.sin(a)
            u = px * ca + py * sa                  # along the tooth
            v = -px * sa + py * ca                 # across it
            dx = abs(u - r_tip / 2) - r_tip / 2
            dy = abs(v) - tooth_w / 2
            dt = math.hypot(max(dx, 0), max(dy, 0)) + min(max(dx, dy), 0)
            d = min(d, dt)
        return max(d, -(math.hypot(px, py) - r_hole))
    return f


def arrow(tip_x, tip_y, dx, dy, head_len, head_w, shaft_len, shaft_w):
    """An arrow pointing along unit (dx, dy) with its tip at (tip_x, tip_y)."""
    nx, ny = -dy, dx
    bx, by = tip_x - dx * head_len, tip_y - dy * head_len
    ex, ey = bx - dx * shaft_len, by - dy * shaft_len
    hw, sw = head_w / 2, shaft_w / 2
    return polygon([
        (tip_x, tip_y),
        (bx + nx * hw, by + ny * hw),
        (bx + nx * sw, by + ny * sw),
        (ex + nx * sw, ey + ny * sw),
        (ex - nx * sw, ey - ny * sw),
        (bx - nx * sw, by - ny * sw),
        (bx - nx * hw, by - ny * hw),
    ])


# ---------------------------------------------------------------------------
# Canvas

class Canvas:
    SS = 4   # supersampling per axis

    def __init__(self, n):
        self.n = n
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * n for _ in range(n)]   # straight RGBA

    def _over(self, x, y, col, cov):
        if cov <= 0:
            return
        r, g, b, a = col
        sa = a / 255.0 * cov
        dr, dg, db, da = self.px[y][x]
        da /= 255.0
        oa = sa + da * (1 - sa)
        if oa <= 0:
            return
        mixc = lambda s, d: (s * sa + d * da * (1 - sa)) / oa
        self.px[y][x] = (mixc(r, dr), mixc(g, dg), mixc(b, db), oa * 255.0)

    def paint(self, sdf, fill, outline=None, width=1.0):
        """Fills a shape; with `outline`, a band `width` px wide inside its edge
        takes that colour. `fill` is a colour or a callback f(x, y) -> colour."""
        ss = self.SS
        for y in range(self.n):
            for x in range(self.n):
                acc = [0.0, 0.0, 0.0, 0.0]   # premultiplied
                hits = 0
                for j in range(ss):
                    sy = y + (j + 0.5) / ss
                    for i in range(ss):
                        sx = x + (i + 0.5) / ss
                        d = sdf(sx, sy)
                        if d > 0:
                            continue
                        if outline is not None and d > -width:
                            c = outline
                        else:
                            c = fill(sx, sy) if callable(fill) else fill
                        a = c[3] / 255.0
                        acc[0] += c[0] * a
                        acc[1] += c[1] * a
                        acc[2] += c[2] * a
                        acc[3] += a
                        hits += 1
                if not hits:
                    continue
                a = acc[3] / (ss * ss)
                if a <= 0:
                    continue
                col = (acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], 255.0)
                self._over(x, y, col, a)

    def rect(self, x0, y0, x1, y1, fill, outline=None):
        self.paint(box(x0, y0, x1, y1), fill, outline)

    def pixel(self, x, y, col):
        self._over(x, y, col, 1.0)

    def pixels(self, art, palette, x0=0, y0=0):
        """Lays down hand-placed pixels: one string per row, '.' is left alone,
        other characters are looked up in `palette`."""
        for j, row in enumerate(art):
            for i, ch in enumerate(row):
                if ch != '.':
                    self.pixel(x0 + i, y0 + j, palette[ch])

    def rgba_rows(self):
        """Rows top to bottom of (r, g, b, a) byte tuples."""
        out = []
        for row in self.px:
            r2 = []
            for r, g, b, a in row:
                a = int(round(a))
                if a == 0:
                    r2.append((0, 0, 0, 0))
                else:
                    r2.append((int(round(r)), int(round(g)), int(round(b)), a))
            out.append(r2)
        return out


# ---------------------------------------------------------------------------
# ICO writing

def _and_mask(rows, n, opaque):
    stride = ((n + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            if not opaque(p):
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def _bmp_header(n, bpp, image_size, colours):
    return struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, bpp, 0, image_size, 0, 0, colours, 0)


def image_32(rows):
    n = len(rows)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask = _and_mask(rows, n, lambda p: p[3] >= 128)
    body = bytes(xor) + mask
    return 32, 0, _bmp_header(n, 32, len(body), 0) + body


def _nearest_vga(r, g, b):
    best, best_d = 0, None
    for i, (pr, pg, pb) in enumerate(VGA16):
        d = (r - pr) ** 2 + (g - pg) ** 2 + (b - pb) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def image_4(rows):
    """16-colour version: each opaque pixel takes the nearest VGA colour; pixels
    less than half covered become transparent through the AND mask."""
    n = len(rows)
    stride = ((n * 4 + 31) // 32) * 4
    xor = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (r, g, b, a) in enumerate(row):
            idx = _nearest_vga(r, g, b) if a >= 128 else 0
            line[x // 2] |= idx << (4 if x % 2 == 0 else 0)
        xor += line
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in VGA16)
    mask = _and_mask(rows, n, lambda p: p[3] >= 128)
    body = palette + bytes(xor) + mask
    return 4, 16, _bmp_header(n, 4, len(body) - len(palette), 16) + body


def write_ico(path, images):
    """images: list of (size, (bpp, colour_count, dib_bytes))."""
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for n, (bpp, ncol, dib) in images:
        entries += struct.pack('<BBBBHHII', n % 256, n % 256, ncol, 0, 1, bpp, len(dib), offset)
        blobs += dib
        offset += len(dib)
    with open(path, 'wb') as f:
        f.write(head + entries + blobs)


# ---------------------------------------------------------------------------
# Shared motifs

def window_frame(c, x0, y0, x1, y1, title_h, title=None, body=PAPER, buttons=True):
    """A top-level window: dark frame, shaded title bar, light client area."""
    title = title or vgradient(BLUE, NAVY, y0, y0 + title_h + 1)
    c.rect(x0, y0, x1, y1, body, INK)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 1 + title_h, title)
    if buttons and title_h >= 3:
        # a close box at the right end of the title bar
        bx1 = x1 - 2
        bx0 = bx1 - (title_h - 1)
        c.rect(bx0, y0 + 2, bx1, y0 + title_h, rgb('e9eef6'))


# ---------------------------------------------------------------------------
# The pictures

LENS_16 = [
    '................',
    'KKKKKKKKKK......',
    'KbbbbbbbbK......',
    'KBBBBBBBBK......',
    'KWWWWWWKKKKK....',
    'KWSSSSKTTTTTK...',
    'KWWWWKTGGGGGtK..',
    'KWSSSKTGHGGGtK..',
    'KWWWWKTGGGGGtK..',
    'KKKKKKTGGGGGtK..',
    '.....KTGGGGGtK..',
    '......KtttttKK..',
    '.......KKKKKNNK.',
    '............KNNK',
    '.............KNK',
    '..............K.',
]


def draw_vantix(n):
    """The emblem: a lens held over a small window."""
    c = Canvas(n)
    if n >= 32:
        window_frame(c, 2, 3, 22, 21, 4)
        # lines of "content" in the window, to be magnified
        for i, yy in enumerate((10, 13, 16)):
            c.rect(5, yy, 5 + (12 if i != 1 else 9), yy + 1, SKY)
        cx, cy, r = 18.5, 17.5, 8.0
        c.paint(segment(cx + 5.2, cy + 5.2, 28.5, 28.5, 2.6), vgradient(TEAL, NAVY, 22, 30), INK)
        c.paint(circle(cx, cy, r), GLASS)
        c.paint(subtract(circle(cx, cy, r), circle(cx, cy, r - 3.0)),
                vgradient(TEAL_LIGHT, TEAL, cy - r, cy + r), INK)
        # glint on the glass
        c.paint(segment(cx - 3.0, cy - 1.0, cx - 1.0, cy - 3.0, 0.8), rgb('ffffff', 220))
    else:
        # at this size a round lens only stays crisp when placed by hand
        c.pixels(LENS_16, {'K': INK, 'B': NAVY, 'b': BLUE, 'W': PAPER, 'S': SKY,
                           'T': TEAL_LIGHT, 't': TEAL, 'G': rgb('d2f2ef'), 'H': WHITE,
                           'N': NAVY})
    return c


GEAR_16 = [
    '....KKK....',
    '.KK.KLK.KK.',
    '.KLKKLKKLK.',
    '..KLLLLLK..',
    'KKKLKKKLKKK',
    'KLLLK.KMMMK',
    'KKKLKKKMKKK',
    '..KMMMMMK..',
    '.KMKKMKKMK.',
    '.KK.KMK.KK.',
    '....KKK....',
]


def draw_process(n):
    """A program at work: a window with a turning cog in front of it."""
    c = Canvas(n)
    metal = vgradient(rgb('d5dfeb'), rgb('7f93ae'), n * 0.3, n)
    if n >= 32:
        window_frame(c, 1, 2, 22, 19, 3)
        c.paint(gear(20.5, 19.5, 7.2, 10.8, 8, 3.6, 3.0, math.pi / 8), metal, INK)
        c.paint(subtract(circle(20.5, 19.5, 4.6), circle(20.5, 19.5, 3.0)), STEEL, INK, 0.8)
    else:
        window_frame(c, 0, 0, 11, 9, 2, buttons=False)
        c.pixels(GEAR_16, {'K': INK, 'L': rgb('c9d4e3'), 'M': rgb('8fa2bb')}, 5, 5)
    return c


PUZZLE_16 = [
    '....KKKK........',
    '...KYYYYK.......',
    '...KYYYYK.......',
    '...KKYYKK.......',
    'KKKKKYYKKKKK....',
    'KYYYYYYYYYYK....',
    'KYYYYYYYYYYK....',
    'KYYYYYYYYYYKKK..',
    'KYYYYYYYYYYKYYK.',
    'KYYYYYYYYYYYYYK.',
    'KOOOOOOOOOOOOOK.',
    'KOOOOOOOOOOKOOK.',
    'KOOOKKKKOOOKKK..',
    'KOOK....KOOK....',
    'KOOK....KOOK....',
    'KKKKK..KKKKK....',
]


def draw_module(n):
    """A library module: a puzzle piece."""
    c = Canvas(n)
    if n < 32:
        c.pixels(PUZZLE_16, {'K': INK, 'Y': rgb('ffcf5a'), 'O': AMBER})
        return c
    # body square with a knob on top and right, a socket on the left and bottom
    x0, y0, x1, y1, kr = 4, 8, 24, 28, 3.6
    mid_x, mid_y = (x0 + x1) / 2, (y0 + y1) / 2
    piece = union(box(x0, y0, x1, y1),
                  circle(mid_x, y0 - kr * 0.55, kr),
                  circle(x1 + kr * 0.55, mid_y, kr))
    piece = subtract(piece, circle(x0 - kr * 0.05, mid_y, kr * 0.95))
    piece = subtract(piece, circle(mid_x, y1 + kr * 0.05, kr * 0.95))
    c.paint(piece, vgradient(rgb('ffd46b'), AMBER, y0 - kr, y1), INK)
    # soft highlight along the top-left edges, then the outline again on top
    c.paint(intersect(piece, subtract(box(x0, y0, x1, y1), box(x0 + 2.5, y0 + 2.5, x1, y1))),
            rgb('fff3c8', 140))
    c.paint(piece, (0, 0, 0, 0), INK)
    return c


def draw_window(n):
    """A window with an "i": information about a window."""
    c = Canvas(n)
    if n >= 32:
        window_frame(c, 1, 3, 31, 29, 4)
        c.paint(circle(16.5, 12.5, 2.0), BLUE)
        c.rect(15, 16, 18, 25, BLUE)
        c.rect(13, 16, 18, 18, BLUE)
        c.rect(13, 23, 20, 25, BLUE)
    else:
        window_frame(c, 0, 1, 16, 15, 2, buttons=False)
        c.rect(7, 5, 9, 7, BLUE)
        c.rect(7, 8, 9, 13, BLUE)
        c.rect(6, 8, 7, 9, BLUE)
        c.rect(6, 12, 10, 13, BLUE)
    return c


def draw_class(n):
    """A window class: a blueprint sheet with a window template drawn on it."""
    c = Canvas(n)
    sheet = vgradient(rgb('3f86d8'), rgb('1c56a8'), 0, n)
    line = rgb('e8f3ff')
    faint = rgb('9cc6f2', 150)
    if n >= 32:
        fold = 7
        x0, y0, x1, y1 = 4, 1, 28, 31
        page = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
        c.paint(page, sheet, INK)
        for gx in range(x0 + 4, x1 - 1, 4):        # grid
            c.rect(gx, y0 + 1, gx + 1, y1 - 1, faint)
        for gy in range(y0 + 4, y1 - 1, 4):
            c.rect(x0 + 1, gy, x1 - 1, gy + 1, faint)
        c.paint(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]),
                rgb('a9cdf5'), INK)
        # the template: a window outline in white
        wx0, wy0, wx1, wy1 = 8, 11, 24, 27
        c.paint(subtract(box(wx0, wy0, wx1, wy1), box(wx0 + 1, wy0 + 1, wx1 - 1, wy1 - 1)), line)
        c.rect(wx0 + 1, wy0 + 1, wx1 - 1, wy0 + 4, line)
        c.rect(wx0 + 3, wy0 + 7, wx1 - 3, wy0 + 8, line)
        c.rect(wx0 + 3, wy0 + 10, wx1 - 6, wy0 + 11, line)
    else:
        fold = 4
        x0, y0, x1, y1 = 2, 0, 14, 16
        page = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
        c.paint(page, sheet, INK)
        c.paint(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]),
                rgb('a9cdf5'))
        c.rect(x1 - fold, y0 + fold - 1, x1, y0 + fold, INK)
        c.rect(x1 - fold - 1, y0, x1 - fold, y0 + fold, INK)
        c.paint(subtract(box(4, 6, 12, 14), box(5, 7, 11, 13)), line)
        c.rect(5, 7, 11, 9, line)
    return c


def pencil(c, tip_x, tip_y, end_x, end_y, width, outline_w=1.0):
    """A pencil from its point to the end of its eraser."""
    L = math.hypot(end_x - tip_x, end_y - tip_y)
    dx, dy = (end_x - tip_x) / L, (end_y - tip_y) / L
    nx, ny = -dy, dx
    hw = width / 2
    cone = width * 1.25
    lead = cone * 0.4
    eraser = width * 1.1

    def at(t, off):
        return (tip_x + dx * t + nx * off, tip_y + dy * t + ny * off)

    body = polygon([at(cone, hw), at(L - eraser, hw), at(L - eraser, -hw), at(cone, -hw)])
    wood = polygon([at(0, 0), at(cone, hw), at(cone, -hw)])
    rub = polygon([at(L - eraser, hw), at(L, hw), at(L, -hw), at(L - eraser, -hw)])
    whole = union(body, wood, rub)
    c.paint(wood, WOOD)
    c.paint(polygon([at(0, 0), at(lead, hw * lead / cone), at(lead, -hw * lead / cone)]), INK)
    # the body has a lighter and a darker facet
    c.paint(body, YELLOW)
    c.paint(polygon([at(cone, 0), at(L - eraser, 0), at(L - eraser, -hw), at(cone, -hw)]),
            rgb('f0a800'))
    c.paint(rub, PINK)
    c.paint(whole, (0, 0, 0, 0), INK, outline_w)


def pixel_pencil(c, diag, x_tip, x_end):
    """A 45-degree pencil drawn cell by cell for 16 px, where shapes rendered from
    outlines only blur. It runs along the cells with x + y == diag, point at
    column x_tip (lower left), eraser end at column x_end (upper right)."""
    shades = {-1: rgb('ffe27a'), 0: YELLOW, 1: rgb('e89a00')}
    for x in range(c.n):
        for y in range(c.n):
            k = x + y - diag                 # across the pencil
            t = ((x - y) - (2 * x_tip - diag)) // 2     # along it, 0 at the point
            length = x_end - x_tip
            if abs(k) > 2 or t < 0 or t > length:
                continue
            if t == 0:
                col = INK if k == 0 else None
            elif t <= 2:
                # the sharpened wood widens away from the point
                col = None if abs(k) > t else (INK if abs(k) == t else WOOD)
            elif t >= length - 1:
                col = INK if abs(k) == 2 or t == length else PINK
            else:
                col = INK if abs(k) == 2 else shades[k]
            if col is not None:
                c.pixel(x, y, col)


def draw_style(n):
    """Editing a window's styles: a window with a pencil over it."""
    c = Canvas(n)
    if n >= 32:
        window_frame(c, 1, 2, 26, 24, 4)
        for yy, ww in ((10, 14), (13, 10), (16, 12)):
            c.rect(4, yy, 4 + ww, yy + 1, SKY)
        pencil(c, 11.5, 28.5, 29.5, 10.5, 6.0)
    else:
        window_frame(c, 0, 1, 13, 12, 2, buttons=False)
        c.rect(2, 5, 9, 6, SKY)
        c.rect(2, 7, 7, 8, SKY)
        pixel_pencil(c, 19, 4, 15)
    return c


def draw_move(n):
    """Moving a window: a window with arrows pointing four ways."""
    c = Canvas(n)
    if n >= 32:
        window_frame(c, 8, 9, 24, 23, 3, buttons=False)
        fill = rgb('22b2ac')
        for dx, dy in ((0, -1), (0, 1), (-1, 0), (1, 0)):
            c.paint(arrow(16 + dx * 15.5, 16 + dy * 15.5, dx, dy, 6.5, 11.0, 2.0, 4.0), fill, INK)
    else:
        window_frame(c, 4, 4, 12, 12, 1, buttons=False)
        teal = rgb('0f8f8c')
        for i, half in enumerate((1, 2, 3)):
            # rows of 2, 4 and 6 cells growing away from each tip
            c.rect(8 - half, i, 8 + half, i + 1, teal)
            c.rect(8 - half, 15 - i, 8 + half, 16 - i, teal)
            c.rect(i, 8 - half, i + 1, 8 + half, teal)
            c.rect(15 - i, 8 - half, 16 - i, 8 + half, teal)
    return c


def draw_tree_item(n):
    """A plain window glyph for tree views, drawn in pure VGA colours so that the
    16-colour version is exact."""
    black, navy, white, silver = (0, 0, 0, 255), (0, 0, 128, 255), (255, 255, 255, 255), \
        (192, 192, 192, 255)
    c = Canvas(n)
    k = n // 16
    c.rect(1 * k, 2 * k, 15 * k, 14 * k, white, black)
    c.rect(2 * k, 3 * k, 14 * k, 5 * k, navy)
    c.rect(12 * k, 3 * k + (k > 1), 13 * k, 4 * k + (k > 1), white) if k > 1 else c.pixel(12, 3, white)
    c.rect(3 * k, 7 * k, 11 * k, 8 * k, silver)
    c.rect(3 * k, 9 * k, 9 * k, 10 * k, silver)
    c.rect(3 * k, 11 * k, 10 * k, 12 * k, silver)
    return c


CAPTURE_16 = [
    'AAAA........AAAA',
    'A..............A',
    'A.KKKKKKKKKKKK.A',
    'A.KSSSSSSSSSSK.A',
    '..KSSSSSSSYYSK..',
    '..KSSSSSSSYYSK..',
    '..KSSSSSSSSSSK..',
    '..KSSSSGSSSSSK..',
    '..KSSSGGGSSSSK..',
    '..KSSGGGGGSHSK..',
    '..KSGGGGGGGHHK..',
    'A.KGGGGGGGHHHK.A',
    'A.KGGGGGGHHHHK.A',
    'A.KKKKKKKKKKKK.A',
    'A..............A',
    'AAAA........AAAA',
]


def draw_capture(n):
    """A captured picture: a small landscape inside the corner marks of a selection."""
    c = Canvas(n)
    green, hill = rgb('3f9a3a'), rgb('2c7a34')
    if n < 32:
        c.pixels(CAPTURE_16, {'A': AMBER_DARK, 'K': INK, 'S': rgb('8cc4f4'), 'Y': YELLOW,
                              'G': green, 'H': hill})
        return c
    # the picture: sky, sun and two hills, framed in ink
    c.rect(4, 5, 28, 27, vgradient(rgb('bfe1ff'), rgb('6fa8e8'), 5, 27), INK)
    c.paint(circle(22.0, 11.0, 3.0), YELLOW, AMBER_DARK, 0.8)
    frame_inside = box(5, 6, 27, 26)
    c.paint(intersect(circle(11.0, 34.0, 15.0), frame_inside), green)
    c.paint(intersect(circle(25.0, 36.0, 13.0), frame_inside), hill)
    c.rect(4, 5, 28, 27, (0, 0, 0, 0), INK)
    # the selection's corner marks just outside the picture
    for (x0, y0, dx, dy) in ((1, 1, 1, 1), (31, 1, -1, 1), (1, 31, 1, -1), (31, 31, -1, -1)):
        xs = sorted((x0, x0 + dx * 7))
        ys = sorted((y0, y0 + dy * 2))
        c.rect(xs[0], ys[0], xs[1], ys[1], AMBER)
        xs = sorted((x0, x0 + dx * 2))
        ys = sorted((y0, y0 + dy * 7))
        c.rect(xs[0], ys[0], xs[1], ys[1], AMBER)
    return c


# ---------------------------------------------------------------------------

def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'resources', 'icons')
    os.makedirs(out, exist_ok=True)

    def img(draw, n):
        return (n, image_32(draw(n).rgba_rows()))

    # (name, drawing): "name.ico" leads with 32 px, "name_small.ico" with 16 px.
    pairs = [
        ('vantix', draw_vantix),
        ('process', draw_process),
        ('module', draw_module),
        ('class', draw_class),
        ('window', draw_window),
        ('style', draw_style),
        ('move', draw_move),
    ]
    for name, draw in pairs:
        big, small = img(draw, 32), img(draw, 16)
        write_ico(os.path.join(out, name + '.ico'), [big, small])
        write_ico(os.path.join(out, name + '_small.ico'), [small, big])

    # The capture viewer loads one resource at both sizes: one file holds both pictures.
    write_ico(os.path.join(out, 'capture.ico'), [img(draw_capture, 32), img(draw_capture, 16)])

    tree = draw_tree_item(16).rgba_rows()
    write_ico(os.path.join(out, 'tree_item.ico'), [(16, image_4(tree)), (16, image_32(tree))])

    print('icons written to', out)


if __name__ == '__main__':
    main()
