#!/usr/bin/env python3
"""Draws the package's small bitmap resources and writes them as .bmp files.

    python3 tools/make_bitmaps.py [resources/BITMAP]

APPLE         16 x 16, 16 colours: a red apple with a stem and a leaf
CLRBTNPATTERN  8 x 8,  16 colours: a checker (the colour buttons repaint it before use)
REDBALL       16 x 16, 24 bits: a shaded red ball
STAR          16 x 16, 16 colours: a yellow five-pointed star

Every picture has fuchsia (0xFF00FF) in its top-left pixel and all round it, so
drawing it with the top-left colour as the transparent colour shows the shape only.
"""
import math
import os
import struct
import sys

FUCHSIA = (255, 0, 255)


def bmp_bytes(width, height, bits, rows, palette=None):
    """rows: top row first; each row a list of palette indices (bits <= 8) or (r, g, b)."""
    row_size = (width * bits + 31) // 32 * 4
    table = b""
    if bits <= 8:
        entries = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
        table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in entries)
    data = bytearray()
    for row in reversed(rows):  # .bmp rows are stored bottom-up
        line = bytearray(row_size)
        for x, value in enumerate(row):
            if bits == 24:
                r, g, b = value
                line[3 * x:3 * x + 3] = bytes((b, g, r))
            else:
                per_byte = 8 // bits
                shift = 8 - bits * (x % per_byte + 1)
                line[x // per_byte] |= value << shift
        data += line
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    return header + info + table + bytes(data)


def from_map(art, legend):
    """Turns a character picture into rows of palette indices."""
    return [[legend[ch] for ch in line] for line in art]


APPLE_ART = [
    "................",
    "........s.......",
    ".......s..ll....",
    ".......sLLLl....",
    "....oo.s.oo.....",
    "..oRRRoooRRRo...",
    ".oRRWRRRRRRRro..",
    ".oRWWRRRRRRRrro.",
    ".oRWRRRRRRRRrro.",
    ".oRRRRRRRRRRrro.",
    ".oRRRRRRRRRrrro.",
    "..oRRRRRRRrrro..",
    "..oRRRRRRrrrro..",
    "...oRRRrrrrro...",
    "....ooo..ooo....",
    "................",
]
APPLE_PALETTE = [
    FUCHSIA,          # 0 background
    (96, 0, 8),       # 1 outline
    (216, 24, 32),    # 2 red
    (160, 16, 24),    # 3 shaded red
    (255, 200, 200),  # 4 highlight
    (112, 72, 32),    # 5 stem
    (40, 160, 48),    # 6 leaf
    (24, 96, 32),     # 7 leaf shade
]
APPLE_LEGEND = {".": 0, "o": 1, "R": 2, "r": 3, "W": 4, "s": 5, "L": 6, "l": 7}

PATTERN_PALETTE = [(192, 192, 192), (255, 255, 255)]


def pattern_rows():
    return [[(x + y) % 2 for x in range(8)] for y in range(8)]


def red_ball_rows():
    rows = []
    cx = cy = 7.5
    radius = 7.0
    for y in range(16):
        row = []
        for x in range(16):
            dx, dy = x + 0.5 - 8, y + 0.5 - 8
            d = math.hypot(dx, dy)
            if d > radius:
                row.append(FUCHSIA)
                continue
            # Light from the upper left: a bright spot fading to a dark rim.
            lx, ly = x + 0.5 - 5.5, y + 0.5 - 5.0
            light = max(0.0, 1.0 - math.hypot(lx, ly) / 11.0)
            rim = 1.0 - 0.45 * (d / radius) ** 3
            red = min(255, int(90 + 165 * light * rim + 0.5))
            glow = max(0.0, light - 0.72) / 0.28
            green = blue = min(255, int(10 + 200 * glow * glow + 0.5))
            row.append((red, green, blue))
        rows.append(row)
    return rows


def star_rows():
    # A five-pointed star: inside test against its ten-sided outline, four
    # samples per pixel; mostly covered pixels are body, partly covered outline.
    outer, inner = 7.6, 3.0
    points = []
    for i in range(10):
        angle = math.pi / 2 + i * math.pi / 5
        r = outer if i % 2 == 0 else inner
        points.append((8 + r * math.cos(angle), 8.4 - r * math.sin(angle)))

    def inside(px, py):
        hit = False
        for i in range(len(points)):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % len(points)]
            if (y1 > py) != (y2 > py) and px < (x2 - x1) * (py - y1) / (y2 - y1) + x1:
                hit = not hit
        return hit

    rows = []
    for y in range(16):
        row = []
        for x in range(16):
            covered = sum(inside(x + sx, y + sy) for sx in (0.25, 0.75) for sy in (0.25, 0.75))
            row.append(0 if covered == 0 else (2 if covered == 4 else 1))
        rows.append(row)
    return rows


STAR_PALETTE = [FUCHSIA, (176, 112, 0), (255, 216, 32)]


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "BITMAP")
    os.makedirs(folder, exist_ok=True)
    pictures = {
        "APPLE": bmp_bytes(16, 16, 4, from_map(APPLE_ART, APPLE_LEGEND), APPLE_PALETTE),
        "CLRBTNPATTERN": bmp_bytes(8, 8, 4, pattern_rows(), PATTERN_PALETTE),
        "REDBALL": bmp_bytes(16, 16, 24, red_ball_rows()),
        "STAR": bmp_bytes(16, 16, 4, star_rows(), STAR_PALETTE),
    }
    for name, data in pictures.items():
        with open(os.path.join(folder, name + ".bmp"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
