#!/usr/bin/env python3
"""Draws the package's small bitmap resources and writes them as .bmp files.

    python3 tools/make_bitmaps.py [resources/BITMAP]

APPLE         16 x 16, 16 colours: a red apple with a stem and a leaf
CLRBTNPATTERN  8 x 8,  16 colours: a checker (the colour buttons repaint it before use)
REDBALL       16 x 16, 24 bits: a shaded red ball
STAR          16 x 16, 16 colours: a yellow five-pointed star

Palette icons, one per component class, 24 bits, on the button face's silver:
TAPPLES, TARTLABEL, TBACKGROUND, TBCBITMAP, TCLRBEVEL, TCOLOR95BUTTON,
TCOLORPANEL, TKNSCROLL, TSHADOWBUTTON, TSIMAGEBTN (24 x 24) and TKNGRADIENT
(25 x 25).

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


# ---- Palette icons ----------------------------------------------------------

SILVER = (192, 192, 192)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
BLACK = (0, 0, 0)


class Icon:
    """A small 24-bit picture drawn with a few primitives."""

    def __init__(self, width, height, background=SILVER):
        self.width, self.height = width, height
        self.rows = [[background] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        """Fills [left, right) x [top, bottom)."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, light, dark):
        """A 3D frame: light on the top and left edges, dark on the others."""
        for x in range(left, right):
            self.put(x, top, light)
            self.put(x, bottom - 1, dark)
        for y in range(top, bottom):
            self.put(left, y, light)
            self.put(right - 1, y, dark)

    def ellipse(self, left, top, right, bottom, colour):
        cx, cy = (left + right - 1) / 2, (top + bottom - 1) / 2
        rx, ry = (right - left) / 2, (bottom - top) / 2
        for y in range(top, bottom):
            for x in range(left, right):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                    self.put(x, y, colour)

    def art(self, left, top, picture, legend):
        for dy, line in enumerate(picture):
            for dx, ch in enumerate(line):
                if ch in legend:
                    self.put(left + dx, top + dy, legend[ch])

    def bmp(self):
        return bmp_bytes(self.width, self.height, 24, self.rows)


def blend(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def icon_apples():
    icon = Icon(24, 24)
    for i, x in enumerate((1, 9, 17)):
        body = (216, 24, 32) if i < 2 else (176, 176, 176)
        shade = (150, 16, 24) if i < 2 else GREY
        icon.ellipse(x, 9, x + 7, 17, shade)
        icon.ellipse(x, 8, x + 6, 16, body)
        icon.put(x + 1, 10, WHITE if i < 2 else (224, 224, 224))
        icon.put(x + 3, 6, (112, 72, 32))
        icon.put(x + 3, 7, (112, 72, 32))
        icon.put(x + 4, 6, (40, 160, 48))
        icon.put(x + 5, 5, (40, 160, 48))
    return icon


LETTER_A = [
    "....XXX....",
    "....XXX....",
    "...XXXXX...",
    "...XX.XX...",
    "..XXX.XXX..",
    "..XX...XX..",
    ".XXX...XXX.",
    ".XXXXXXXXX.",
    "XXXXXXXXXXX",
    "XXX.....XXX",
    "XXX.....XXX",
    "XXX.....XXX",
]


def icon_art_label():
    icon = Icon(24, 24)
    icon.art(8, 7, LETTER_A, {"X": GREY})
    for dy, line in enumerate(LETTER_A):
        colour = blend((255, 220, 0), (200, 0, 80), dy / (len(LETTER_A) - 1))
        icon.art(6, 5 + dy, [line], {"X": colour})
    return icon


def icon_background():
    icon = Icon(24, 24)
    for y in range(2, 22):
        for x in range(2, 22):
            tile = ((x - 2) // 5 + (y - 2) // 5) % 2
            base = (64, 128, 192) if tile else (160, 208, 240)
            icon.put(x, y, blend(base, WHITE, 0.5 * (y - 2) / 19))
    icon.frame(1, 1, 23, 23, GREY, WHITE)
    return icon


def icon_bc_bitmap():
    icon = Icon(24, 24)
    icon.fill(3, 4, 21, 20, (120, 184, 240))
    icon.ellipse(14, 6, 19, 11, (255, 224, 32))
    for x in range(3, 21):
        hill = 13 + int(3 * math.cos((x - 6) / 3.5))
        icon.fill(x, hill, x + 1, 20, (48, 152, 56))
    icon.frame(2, 3, 22, 21, GREY, WHITE)
    icon.frame(1, 2, 23, 22, (96, 64, 32), (96, 64, 32))
    return icon


def icon_clr_bevel():
    icon = Icon(24, 24)
    light, dark = (128, 200, 255), (0, 64, 160)
    icon.frame(2, 2, 22, 22, light, dark)
    icon.frame(3, 3, 21, 21, light, dark)
    icon.frame(6, 6, 18, 18, dark, light)
    return icon


def icon_color95_button():
    icon = Icon(24, 24)
    face = (240, 144, 48)
    icon.fill(2, 5, 22, 19, face)
    icon.frame(2, 5, 22, 19, blend(face, WHITE, 0.6), blend(face, BLACK, 0.5))
    icon.frame(1, 4, 23, 20, BLACK, BLACK)
    icon.fill(7, 11, 17, 13, (96, 48, 0))
    return icon


def icon_color_panel():
    icon = Icon(24, 24)
    face = (120, 208, 120)
    icon.fill(1, 3, 23, 21, face)
    icon.frame(1, 3, 23, 21, WHITE, GREY)
    icon.frame(3, 5, 21, 19, blend(face, BLACK, 0.4), blend(face, WHITE, 0.6))
    icon.fill(8, 11, 16, 13, (32, 96, 32))
    return icon


def icon_gradient():
    icon = Icon(25, 25)
    top, middle = (0, 0, 160), (224, 240, 255)
    for y in range(1, 24):
        t = abs((y - 1) / 22 * 2 - 1)
        icon.fill(1, y, 24, y + 1, blend(middle, top, t))
    icon.frame(0, 0, 25, 25, GREY, BLACK)
    return icon


def icon_scroll():
    icon = Icon(24, 24)
    icon.fill(8, 1, 16, 23, (224, 224, 224))
    for top in (1, 16):
        icon.fill(8, top, 16, top + 7, SILVER)
        icon.frame(8, top, 16, top + 7, WHITE, GREY)
    for i in range(3):  # the arrows
        icon.fill(11 - i, 3 + i, 13 + i, 4 + i, BLACK)
        icon.fill(11 - i, 20 - i, 13 + i, 21 - i, BLACK)
    icon.fill(8, 9, 16, 14, (64, 96, 176))
    icon.frame(8, 9, 16, 14, (144, 176, 240), (16, 32, 96))
    icon.frame(7, 0, 17, 24, GREY, GREY)
    return icon


def icon_shadow_button():
    icon = Icon(24, 24)
    icon.ellipse(5, 7, 23, 21, GREY)
    icon.ellipse(2, 4, 20, 18, (64, 96, 200))
    icon.ellipse(4, 5, 15, 11, (140, 170, 240))
    return icon


def icon_image_button():
    icon = Icon(24, 24)
    star = [[ch for ch in row] for row in star_rows()]
    legend_shadow = {1: GREY, 2: GREY}
    legend = {1: (176, 112, 0), 2: (255, 216, 32)}
    for y, row in enumerate(star):
        for x, v in enumerate(row):
            if v in legend_shadow:
                icon.put(6 + x, 6 + y, legend_shadow[v])
    for y, row in enumerate(star):
        for x, v in enumerate(row):
            if v in legend:
                icon.put(3 + x, 3 + y, legend[v])
    return icon


def palette_icons():
    return {
        "TAPPLES": icon_apples(),
        "TARTLABEL": icon_art_label(),
        "TBACKGROUND": icon_background(),
        "TBCBITMAP": icon_bc_bitmap(),
        "TCLRBEVEL": icon_clr_bevel(),
        "TCOLOR95BUTTON": icon_color95_button(),
        "TCOLORPANEL": icon_color_panel(),
        "TKNGRADIENT": icon_gradient(),
        "TKNSCROLL": icon_scroll(),
        "TSHADOWBUTTON": icon_shadow_button(),
        "TSIMAGEBTN": icon_image_button(),
    }


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "BITMAP")
    os.makedirs(folder, exist_ok=True)
    pictures = {
        "APPLE": bmp_bytes(16, 16, 4, from_map(APPLE_ART, APPLE_LEGEND), APPLE_PALETTE),
        "CLRBTNPATTERN": bmp_bytes(8, 8, 4, pattern_rows(), PATTERN_PALETTE),
        "REDBALL": bmp_bytes(16, 16, 24, red_ball_rows()),
        "STAR": bmp_bytes(16, 16, 4, star_rows(), STAR_PALETTE),
    }
    pictures.update({name: icon.bmp() for name, icon in palette_icons().items()})
    for name, data in pictures.items():
        with open(os.path.join(folder, name + ".bmp"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
