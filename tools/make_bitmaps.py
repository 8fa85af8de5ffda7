#!/usr/bin/env python3
"""Draws the package's small bitmap resources and writes them as .bmp files.

    python3 tools/make_bitmaps.py [resources/BITMAP]
    python3 tools/make_bitmaps.py --forms apps/gallery/forms
    python3 tools/make_bitmaps.py --dialogs resources/FORMS

The second form writes the gallery's demo forms of the KnCtrls controls
(scrollbars.form, apples.form, pictures.form) with their pictures drawn here:
scroll bar skins, a round thumb and a flower. Those pictures are the demo's,
not the package's, so they live in the forms only.

The third form writes the gradient editor's form file (TfrmGradEditor.form),
whose three 25 x 25 style buttons carry glyphs drawn here: parallel bands,
concentric rings and nested corners, shading from navy to white as gsLine,
gsEllipse and gsRect do. Their bottom-left pixel is fuchsia, the colour the
speed buttons leave out.

APPLE         16 x 16, 16 colours: a red apple with a stem and a leaf
CLRBTNPATTERN  8 x 8,  16 colours: a checker (the colour buttons repaint it before use)
MYFACE        88 x 104, 24 bits: a cartoon face on a sky-blue ground, the about box's picture
REDBALL       16 x 16, 24 bits: a shaded red ball
STAR          16 x 16, 16 colours: a yellow five-pointed star

Palette icons, one per component class, 24 bits, on the button face's silver:
TAPPLES, TARTLABEL, TBACKGROUND, TBCBITMAP, TCLRBEVEL, TCOLOR95BUTTON,
TCOLORPANEL, TKNSCROLL, TSHADOWBUTTON, TSIMAGEBTN (24 x 24) and TKNGRADIENT
(25 x 25).

Every picture but MYFACE has fuchsia (0xFF00FF) in its top-left pixel and all
round it, so drawing it with the top-left colour as the transparent colour shows
the shape only.
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


# ---- Demo pictures of the KnCtrls controls ---------------------------------

SKIN_PALETTE = [
    FUCHSIA,          # 0 transparent
    (24, 40, 72),     # 1 outline
    (96, 136, 200),   # 2 face
    (176, 204, 240),  # 3 light edge
    (56, 88, 144),    # 4 shadow edge
    (255, 255, 255),  # 5 white
    (64, 100, 168),   # 6 pressed face
    (16, 24, 48),     # 7 arrow
    (232, 120, 24),   # 8 orange
    (255, 200, 120),  # 9 orange light
    (160, 64, 8),     # 10 orange dark
    (200, 32, 32),    # 11 red
    (255, 150, 150),  # 12 red light
    (112, 16, 16),    # 13 red dark
    (220, 228, 240),  # 14 track light
    (184, 196, 216),  # 15 track dark
]


def button_frame(w, h, pressed):
    """A square button face: outline, relief and face; pressed sinks the relief."""
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            if x in (0, w - 1) or y in (0, h - 1):
                row.append(1)
            elif x == 1 or y == 1:
                row.append(4 if pressed else 3)
            elif x == w - 2 or y == h - 2:
                row.append(3 if pressed else 4)
            else:
                row.append(6 if pressed else 2)
        rows.append(row)
    return rows


def arrow(rows, direction, color, shift):
    """A triangle pointing left, right, up or down in the middle of the frame."""
    h, w = len(rows), len(rows[0])
    for a in range(5):            # along the arrow, from its tip
        for b in range(-a - 1, a + 1):  # across it
            along = w // 2 - 3 + a if direction in "lr" else h // 2 - 3 + a
            if direction in "rd":
                along = (w if direction == "r" else h) - 1 - along
            across = (h if direction in "lr" else w) // 2 + b
            x, y = (along, across) if direction in "lr" else (across, along)
            rows[y + shift][x + shift] = color
    return rows


def side_by_side(*frames):
    return [sum((f[y] for f in frames), []) for y in range(len(frames[0]))]


def arrow_picture(direction, size=16):
    normal = arrow(button_frame(size, size, False), direction, 7, 0)
    pressed = arrow(button_frame(size, size, True), direction, 5, 1)
    return side_by_side(normal, pressed)


def thumb_picture(w, h, vertical):
    """A thumb with three grip lines across it; the pressed frame is darker."""
    frames = []
    for pressed in (False, True):
        rows = button_frame(w, h, pressed)
        for k in (-2, 0, 2):
            for t in range(4, (w if vertical else h) - 4):
                x, y = (t, h // 2 + k) if vertical else (w // 2 + k, t)
                rows[y][x] = 5 if pressed else 3
                rows[y + (1 if vertical else 0)][x + (0 if vertical else 1)] = 4 if not pressed else 1
        frames.append(rows)
    return side_by_side(*frames)


def ball_picture(size=16):
    """A round thumb on fuchsia: orange, red while dragged."""
    frames = []
    for body, light, dark in ((8, 9, 10), (11, 12, 13)):
        rows = []
        for y in range(size):
            row = []
            for x in range(size):
                dx, dy = x + 0.5 - size / 2, y + 0.5 - size / 2
                d = math.hypot(dx, dy)
                if d > size / 2 - 0.5:
                    row.append(0)
                elif d > size / 2 - 1.6:
                    row.append(dark)
                elif math.hypot(dx + 2.5, dy + 2.5) < 2.5:
                    row.append(light)
                else:
                    row.append(body)
            rows.append(row)
        frames.append(rows)
    return side_by_side(*frames)


def track_tile():
    """An 8 x 8 tile of fine diagonal ribs for a tiled track."""
    return [[14 if (x + y) % 4 else 15 for x in range(8)] for y in range(8)]


FLOWER_PALETTE = [
    FUCHSIA,          # 0 transparent
    (120, 24, 96),    # 1 petal edge
    (224, 96, 192),   # 2 petal
    (255, 176, 232),  # 3 petal light
    (255, 208, 32),   # 4 heart
    (176, 112, 0),    # 5 heart edge
    (40, 140, 56),    # 6 leaf
    (24, 88, 32),     # 7 leaf edge
]


def flower_rows(size):
    """Five petals round a yellow heart, a leaf below; fuchsia all round."""
    c = size / 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            px, py = x + 0.5 - c, y + 0.5 - c
            r = math.hypot(px, py)
            angle = math.atan2(py, px)
            petal = 0.5 + 0.5 * math.cos(5 * (angle + math.pi / 2))
            reach = size * (0.22 + 0.24 * petal)
            if r < size * 0.14:
                row.append(4)
            elif r < size * 0.17:
                row.append(5)
            elif r < reach - 1.2:
                row.append(3 if petal > 0.85 and r < reach * 0.75 else 2)
            elif r < reach:
                row.append(1)
            else:
                row.append(0)
        rows.append(row)
    return rows


def form_data(name, data, indent):
    """A bitmap property of a form file: its .bmp bytes as hexadecimal, 32 a line."""
    text = data.hex().upper()
    lines = [text[i:i + 64] for i in range(0, len(text), 64)]
    lines[-1] += "}"
    pad = " " * indent
    return [pad + name + ".Data = {"] + [pad + "  " + line for line in lines]


def form_object(name, cls, props, indent=2):
    """An object of a form file; props are (name, value) pairs, a value of bytes a picture."""
    pad = " " * indent
    out = [pad + "object " + name + ": " + cls]
    for key, value in props:
        if isinstance(value, bytes):
            out += form_data(key, value, indent + 2)
        else:
            out.append(pad + "  " + key + " = " + str(value))
    out.append(pad + "end")
    return out


def form_text(name, caption, width, height, objects):
    lines = ["object " + name + ": TForm", "  Caption = '" + caption + "'", "  ClientWidth = " + str(width),
             "  ClientHeight = " + str(height), "  Color = clBtnFace"]
    for o in objects:
        lines += o
    lines.append("end")
    return "\n".join(lines) + "\n"


def label(name, left, top, caption):
    return form_object(name, "TLabel", [("Left", left), ("Top", top), ("Caption", "'" + caption + "'")])


def skin(name):
    return bmp_bytes(*SKINS[name], 4, SKIN_ROWS[name], SKIN_PALETTE)


SKIN_ROWS = {
    "left": arrow_picture("l"), "right": arrow_picture("r"), "up": arrow_picture("u"), "down": arrow_picture("d"),
    "hthumb": thumb_picture(24, 16, False), "vthumb": thumb_picture(16, 24, True), "ball": ball_picture(),
    "tile": track_tile(),
    # Single frames, for NumGlyph 1.
    "right1": arrow(button_frame(16, 16, False), "r", 7, 0), "hthumb1": [row[:24] for row in thumb_picture(24, 16, False)],
}
SKINS = {name: (len(rows[0]), len(rows)) for name, rows in SKIN_ROWS.items()}

TRACK_GRADIENT = [("Background.Gradient.GradientStyle", "gsLine"), ("Background.Gradient.LineDirection", "diVertical"),
                  ("Background.Gradient.Color1", "$00F0E0D0"), ("Background.Gradient.Color2", "$00A08060"),
                  ("Background.Gradient.ColorCount", 1), ("Background.BackStyle", "bgGradient")]


def scroll(name, left, top, width, height, vertical, extra, pictures=True):
    props = [("Left", left), ("Top", top), ("Width", width), ("Height", height)]
    if pictures:
        for prop, pic in (("Pic_Up", "up"), ("Pic_Down", "down")) if vertical else (("Pic_Left", "left"), ("Pic_Right", "right")):
            props.append((prop, skin(pic)))
    return props + extra


def scrollbars_form():
    h, v = False, True
    objects = [
        label("HCaption", 8, 4, "NumGlyph 2; Position 0, 35 and 100"),
        form_object("First", "TKnScroll", scroll("First", 8, 20, 300, 16, h, [
            ("Pic_Thumb", skin("hthumb")), ("NumGlyph", 2), ("Bevel.BevelType", "btNone")] + TRACK_GRADIENT)),
        form_object("Middle", "TKnScroll", scroll("Middle", 8, 42, 300, 20, h, [
            ("Pic_Thumb", skin("hthumb")), ("Position", 35), ("NumGlyph", 2), ("Bevel.BevelType", "btFlat3D"),
            ("Background.Color", "$00D8C8B8")])),
        form_object("Last", "TKnScroll", scroll("Last", 8, 68, 200, 24, h, [
            ("Pic_Thumb", skin("hthumb")), ("Position", 100), ("NumGlyph", 2), ("Background.Picture", skin("tile")),
            ("Background.BackStyle", "bgTileBitmap")])),
        label("BallCaption", 8, 100, "TransparentThumb; Max 200, Position 60"),
        form_object("Ball", "TKnScroll", scroll("Ball", 8, 116, 300, 16, h, [
            ("Pic_Thumb", skin("ball")), ("Max", 200), ("Position", 60), ("NumGlyph", 2), ("TransparentThumb", "True"),
            ("Bevel.BevelType", "btNone")] + TRACK_GRADIENT)),
        label("BareCaption", 8, 140, "NumGlyph 1, no Pic_Left (a box 0 wide)"),
        form_object("Bare", "TKnScroll", [("Left", 8), ("Top", 156), ("Width", 300), ("Height", 28),
            ("Pic_Right", skin("right1")), ("Pic_Thumb", skin("hthumb1")), ("Position", 50), ("Bevel.BevelType", "bt2DRect"),
            ("Bevel.Color", "clNavy"), ("Background.Color", "$00F0E8E0")]),
        label("VCaption", 324, 4, "soVertical"),
        form_object("Top", "TKnScroll", scroll("Top", 324, 20, 16, 164, v, [
            ("Pic_Thumb", skin("vthumb")), ("NumGlyph", 2), ("Orientation", "soVertical"), ("Bevel.BevelType", "btNone"),
            ("Background.Color", "$00D8C8B8")])),
        form_object("Half", "TKnScroll", scroll("Half", 348, 20, 20, 164, v, [
            ("Pic_Thumb", skin("vthumb")), ("Position", 50), ("NumGlyph", 2), ("Orientation", "soVertical"),
            ("Background.Picture", skin("tile")), ("Background.BackStyle", "bgTileBitmap")])),
        form_object("Bottom", "TKnScroll", scroll("Bottom", 376, 20, 24, 164, v, [
            ("Pic_Thumb", skin("ball")), ("Position", 100), ("NumGlyph", 2), ("TransparentThumb", "True"),
            ("Orientation", "soVertical"), ("Bevel.BevelType", "btFlat3D"), ("Background.Color", "$00F0E8E0")])),
    ]
    return form_text("ScrollBarsDemo", "Skinned scroll bars", 412, 192, objects)


def apples_form():
    star = bmp_bytes(16, 16, 4, star_rows(), STAR_PALETTE)
    objects = []
    top = 4
    for name, value, caption in (("Zero", 0, "Value 0"), ("One", 1, "Value 1"), ("TwoAndAHalf", 2.5, "Value 2.5"),
                                 ("ThreeSeven", 3.7, "Value 3.7"), ("Ten", 10, "Value 10, one row")):
        objects.append(label(name + "Caption", 8, top + 5, caption))
        objects.append(form_object(name, "TApples", [("Left", 140), ("Top", top), ("Width", 120), ("Height", 25),
            ("LineWrap", "False"), ("TransparentColor", "clFuchsia"), ("Value", value), ("Background.Color", "$00E8F4F8")]))
        top += 30
    objects.append(label("WrapCaption", 8, top + 5, "Value 10, LineWrap"))
    objects.append(form_object("Wrapped", "TApples", [("Left", 140), ("Top", top), ("Width", 120), ("Height", 64),
        ("LineWrap", "True"), ("TransparentColor", "clFuchsia"), ("Value", 10), ("Background.Color", "$00E8F4F8")]))
    top += 70
    objects.append(label("StarsCaption", 8, top + 5, "Stars, Value 4.25"))
    objects.append(form_object("Stars", "TApples", [("Left", 140), ("Top", top), ("Width", 120), ("Height", 22),
        ("Apple", star), ("LineWrap", "False"), ("TransparentColor", "clFuchsia"), ("Value", 4.25),
        ("Bevel.BevelType", "btFlat3D")] + TRACK_GRADIENT))
    top += 28
    return form_text("ApplesDemo", "Apples", 272, top + 4, objects)


def pictures_form():
    flower = bmp_bytes(32, 32, 4, flower_rows(32), FLOWER_PALETTE)
    big = bmp_bytes(56, 56, 4, flower_rows(56), FLOWER_PALETTE)
    objects = []
    for row, option in enumerate(("coNone", "coTransparent", "coSmoothed")):
        objects.append(label(option + "Caption", 8, 30 + row * 80 + 30, option))
        for col, style in enumerate(("dsNone", "dsClient", "dsCentered")):
            if row == 0:
                objects.append(label(style + "Caption", 100 + col * 80, 6, style))
            objects.append(form_object(option[2:] + style[2:], "TBCBitmap", [("Left", 100 + col * 80),
                ("Top", 24 + row * 80), ("Width", 72), ("Height", 72), ("Picture", flower), ("DrawStyle", style),
                ("ColorOption", option), ("InvertImageOnMouseDown", "True"), ("Background.Color", "$00F8F0E8")]))
    objects.append(label("FitCaption", 348, 6, "AutoSize"))
    objects.append(form_object("Fitted", "TBCBitmap", [("Left", 348), ("Top", 24), ("Width", 60), ("Height", 60),
        ("Picture", big), ("DrawStyle", "dsNone"), ("ColorOption", "coNone"), ("InvertImageOnMouseDown", "False"),
        ("AutoSize", "True"), ("Bevel.BevelType", "bt2DRect"), ("Bevel.Color", "clPurple"),
        ("Background.Color", "$00F8F0E8")]))
    objects.append(label("SqueezeCaption", 348, 94, "dsNone, larger"))
    objects.append(form_object("Squeezed", "TBCBitmap", [("Left", 348), ("Top", 112), ("Width", 40), ("Height", 40),
        ("Picture", big), ("DrawStyle", "dsNone"), ("ColorOption", "coNone"), ("InvertImageOnMouseDown", "False"),
        ("Background.Color", "$00F8F0E8")]))
    return form_text("PicturesDemo", "Picture controls", 440, 272, objects)


# ---- The about box's picture -----------------------------------------------

def face_rows(width=88, height=104):
    """A smiling cartoon face with dark hair and a blue shirt on a sky-blue
    ground, lit from the upper left; four samples per pixel smooth the edges."""
    skin, skin_shade = (244, 200, 160), (214, 160, 120)
    hair, hair_light = (72, 44, 24), (120, 80, 44)
    shirt, shirt_shade = (48, 96, 176), (32, 64, 128)
    white, iris, dark = (255, 255, 255), (64, 112, 64), (40, 24, 16)
    mouth, cheek = (168, 48, 48), (240, 160, 140)
    cx = width / 2

    def sample(x, y):
        sky = (168 + int(48 * y / height), 208 + int(32 * y / height), 248)
        # Shoulders and shirt, with a collar opening.
        if y > 84 and abs(x - cx) < 10 + (y - 84) * 2.2:
            if abs(x - cx) < 6 - (y - 84) * 0.1 and y < 92:
                return skin_shade
            return shirt_shade if x > cx + 18 else shirt
        # The neck.
        if 70 < y <= 86 and abs(x - cx) < 9:
            return skin_shade
        # The head: an ellipse, ears on both sides.
        hx, hy = (x - cx) / 27.0, (y - 46) / 33.0
        head = hx * hx + hy * hy
        for side in (-1, 1):
            if math.hypot((x - cx - side * 27) / 5.0, (y - 48) / 8.0) < 1:
                return skin_shade
        if head >= 1:
            # Hair beyond the head's top, a rounded cap.
            if y < 40 and math.hypot((x - cx) / 30.0, (y - 36) / 26.0) < 1:
                return hair_light if math.hypot(x - cx + 12, y - 18) < 6 else hair
            return sky
        # Hair over the forehead, with a fringe.
        fringe = 26 + 3 * math.sin((x - cx) / 4.0)
        if y < fringe and hy < -0.35:
            return hair_light if math.hypot(x - cx + 12, y - 18) < 6 else hair
        # Eyes: whites, irises, pupils, a glint.
        for side in (-1, 1):
            ex, ey = cx + side * 10, 44
            d = math.hypot((x - ex) / 6.0, (y - ey) / 4.2)
            if d < 1:
                if math.hypot(x - ex - 1, y - ey + 1) < 1.2:
                    return white
                if math.hypot(x - ex, y - ey) < 1.8:
                    return dark
                if math.hypot(x - ex, y - ey) < 3.4:
                    return iris
                return white
            # Eyebrows.
            if abs(y - (36 - 0.08 * (x - ex) * side)) < 1.1 and abs(x - ex) < 6:
                return hair
        # The nose: a shaded stroke on the shadow side.
        if 46 < y < 58 and abs(x - (cx + 2 + (y - 46) * 0.15)) < 1.0:
            return skin_shade
        if 57 <= y < 59 and cx - 3 < x < cx + 4:
            return skin_shade
        # The smile: the lower part of a ring.
        r = math.hypot((x - cx) / 13.0, (y - 56) / 10.0)
        if 0.85 < r < 1.15 and y > 60:
            return mouth
        # Rosy cheeks.
        for side in (-1, 1):
            if math.hypot(x - cx - side * 17, y - 58) < 4.5:
                return cheek
        # Light from the upper left: the lower right of the face is shaded.
        return skin_shade if hx * 0.6 + hy * 0.8 > 0.55 else skin

    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            samples = [sample(x + sx, y + sy) for sx in (0.25, 0.75) for sy in (0.25, 0.75)]
            row.append(tuple(sum(c[i] for c in samples) // 4 for i in range(3)))
        rows.append(row)
    return rows


# ---- The gradient editor's form and its style glyphs -----------------------

GLYPH_PALETTE = [FUCHSIA, (24, 24, 56)] + [
    (int(16 + 232 * t / 13), int(32 + 216 * t / 13), int(112 + 136 * t / 13)) for t in range(14)]


def style_glyph(style):
    """A 25 x 25 glyph: a square in a dark outline on fuchsia, filled with the
    bands of a line ("line"), ellipse ("ellipse") or rectangle ("rect") gradient."""
    lo, hi = 2, 22
    rows = []
    for y in range(25):
        row = []
        for x in range(25):
            if not (lo <= x <= hi and lo <= y <= hi):
                row.append(0)
            elif x in (lo, hi) or y in (lo, hi):
                row.append(1)
            else:
                if style == "line":
                    band = (y - lo - 1) // 2
                elif style == "ellipse":
                    band = 9 - int(math.hypot(x - 12, y - 12) / 1.2)
                else:
                    band = min(x - lo - 1, y - lo - 1) // 2
                row.append(2 + max(0, min(13, band * 13 // 9)))
        rows.append(row)
    return bmp_bytes(25, 25, 4, rows, GLYPH_PALETTE)


def grad_editor_form():
    """The gradient editor's dialog: client 468 x 309, controls in creation order."""
    def edit(name, left, top, width, extra):
        return form_object(name, "TEdit", [("Left", left), ("Top", top), ("Width", width), ("Height", 21)] + extra)

    def button(name, left, top, width, caption, extra):
        return form_object(name, "TButton", [("Left", left), ("Top", top), ("Width", width), ("Height", 25),
                                             ("Caption", "'" + caption + "'")] + extra)

    swatches = ("clGray", "clWhite", "clSilver", "clWhite", "clBlack")
    objects = [
        label("Label1", 7, 214, "Colors : "),
        label("Label2", 362, 62, "Linesize"),
        label("Label3", 334, 88, "Color Count"),
        form_object("Bevel1", "TBevel", [("Left", 3), ("Top", 270), ("Width", 458), ("Height", 8),
                                         ("Shape", "bsTopLine")]),
    ]
    for i, (left, style) in enumerate(((311, "line"), (355, "ellipse"), (399, "rect"))):
        props = [("Tag", i + 1), ("Left", left), ("Top", 5), ("Width", 44), ("Height", 44), ("GroupIndex", 1)]
        if i == 0:
            props.append(("Down", "True"))
        props += [("Glyph", style_glyph(style)), ("Layout", "blGlyphTop"), ("OnClick", "SpeedButton1Click")]
        objects.append(form_object("SpeedButton%d" % (i + 1), "TSpeedButton", props))
    objects += [
        label("Label4", 314, 113, "Direction: "),
        label("Label5", 312, 137, "Gradient Fill Gallary : "),
        form_object("Panel1", "TPanel", [("Left", 2), ("Top", 3), ("Width", 302), ("Height", 202),
                                         ("BevelInner", "bvLowered"), ("BevelWidth", 2), ("BorderWidth", 4),
                                         ("Caption", "''")])[:-1]
        + form_object("PaintBox1", "TPaintBox", [("Left", 8), ("Top", 8), ("Width", 286), ("Height", 186),
                                                 ("Align", "alClient"), ("OnPaint", "PaintBox1Paint")], 4)
        + ["  end"],
    ]
    for i, left in enumerate((46, 99, 151, 204, 256)):
        objects.append(edit("Color%d" % (i + 1), left, 211, 47, [
            ("Color", swatches[i]), ("ReadOnly", "True"), ("OnDblClick", "Color1DblClick")]))
    objects += [
        edit("txtLinesize", 403, 57, 41, [("MaxLength", 3), ("Text", "'1'"),
                                          ("OnChange", "txtLinesizeChange"), ("OnExit", "txtLinesizeExit"),
                                          ("OnKeyPress", "NumberKeyPress")]),
        form_object("UpDown1", "TUpDown", [("Left", 444), ("Top", 57), ("Width", 16), ("Height", 21),
                                           ("Associate", "txtLinesize"), ("Min", 1), ("Max", 255), ("Position", 1),
                                           ("Thousands", "False")]),
        edit("txtColors", 394, 84, 50, [("MaxLength", 1), ("Text", "'4'"),
                                        ("OnChange", "txtColorsChange"), ("OnExit", "txtColorsExit"),
                                        ("OnKeyPress", "NumberKeyPress")]),
        form_object("UpDown2", "TUpDown", [("Left", 444), ("Top", 84), ("Width", 16), ("Height", 21),
                                           ("Associate", "txtColors"), ("Min", 1), ("Max", 4), ("Position", 4),
                                           ("Thousands", "False")]),
        button("Button1", 387, 281, 75, "Cancel", [("Cancel", "True"), ("ModalResult", 7)]),
        button("Button2", 304, 281, 75, "OK", [("Default", "True"), ("ModalResult", 6)]),
        form_object("diCombo", "TComboBox", [("Left", 364), ("Top", 110), ("Width", 83), ("Style", "csDropDownList"),
                                             ("Items.Strings", "(\n      'diHorizonal'\n      'diVertical')"),
                                             ("ItemIndex", 0), ("OnChange", "diComboChange")]),
        form_object("lstGallary", "TListBox", [("Left", 310), ("Top", 155), ("Width", 150), ("Height", 106),
                                               ("ItemHeight", 30), ("Style", "lbOwnerDrawFixed"),
                                               ("OnDblClick", "lstGallaryDblClick"),
                                               ("OnDrawItem", "lstGallaryDrawItem")]),
        button("btnUpdate", 8, 237, 117, "Update Preview", [("OnClick", "btnUpdateClick")]),
        button("btnAdd", 154, 237, 75, "Add", [("OnClick", "btnAddClick")]),
        button("Button3", 228, 237, 75, "Delete", [("OnClick", "Button3Click")]),
        form_object("ColorDlg", "TColorDialog", []),
    ]
    lines = ["object frmGradEditor: TfrmGradEditor", "  BorderStyle = bsDialog", "  Caption = 'Gradient Editor'",
             "  ClientHeight = 309", "  ClientWidth = 468", "  Color = clBtnFace", "  Font.Color = clWindowText",
             "  Font.Height = -11", "  Font.Name = 'MS Sans Serif'", "  Font.Style = []", "  Position = poScreenCenter",
             "  OnCreate = FormCreate", "  OnDestroy = FormDestroy"]
    for o in objects:
        lines += o
    lines.append("end")
    return "\n".join(lines) + "\n"


def write_dialogs(folder):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "TfrmGradEditor.form"), "w", newline="\n") as f:
        f.write(grad_editor_form())


def write_forms(folder):
    os.makedirs(folder, exist_ok=True)
    for name, text in (("scrollbars", scrollbars_form()), ("apples", apples_form()), ("pictures", pictures_form())):
        with open(os.path.join(folder, name + ".form"), "w", newline="\n") as f:
            f.write(text)


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
    if len(sys.argv) > 1 and sys.argv[1] == "--forms":
        write_forms(sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "..", "apps", "gallery", "forms"))
        return
    if len(sys.argv) > 1 and sys.argv[1] == "--dialogs":
        write_dialogs(sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "..", "resources", "FORMS"))
        return
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "BITMAP")
    os.makedirs(folder, exist_ok=True)
    pictures = {
        "APPLE": bmp_bytes(16, 16, 4, from_map(APPLE_ART, APPLE_LEGEND), APPLE_PALETTE),
        "CLRBTNPATTERN": bmp_bytes(8, 8, 4, pattern_rows(), PATTERN_PALETTE),
        "MYFACE": bmp_bytes(88, 104, 24, face_rows()),
        "REDBALL": bmp_bytes(16, 16, 24, red_ball_rows()),
        "STAR": bmp_bytes(16, 16, 4, star_rows(), STAR_PALETTE),
    }
    pictures.update({name: icon.bmp() for name, icon in palette_icons().items()})
    for name, data in pictures.items():
        with open(os.path.join(folder, name + ".bmp"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
