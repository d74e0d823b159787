#!/usr/bin/python3
"""Writes the seed fonts of fuzz_font: tiny fonts drawn here, one with
quadratic (TrueType) and one with cubic (CFF) outlines, whose few glyphs have
holes, several contours, curves and a blank, for the characters
the fuzz target sets. Each file ends with the one byte the target reads as its
build choice. Run after changing the shapes; needs python3-fonttools."""

import io
import os

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.ttGlyphPen import TTGlyphPen

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "fuzz_font")
ORDER = [".notdef", "space", "A", "g", "eight", "percent", "AE"]
CMAP = {0x20: "space", 0x41: "A", 0x67: "g", 0x38: "eight", 0x25: "percent", 0xC6: "AE"}


def box(pen, x0, y0, x1, y1, clockwise=True):
    points = [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]
    if not clockwise:
        points.reverse()
    pen.moveTo(points[0])
    for p in points[1:]:
        pen.lineTo(p)
    pen.closePath()


def ring(pen, cx, cy, r, clockwise=True, cubic=False):
    """A round contour drawn with four curves."""
    k = 0.55 * r
    quarters = [((cx, cy + r), (cx + r, cy)), ((cx + r, cy), (cx, cy - r)),
                ((cx, cy - r), (cx - r, cy)), ((cx - r, cy), (cx, cy + r))]
    if not clockwise:
        quarters = [(b, a) for a, b in reversed(quarters)]
    pen.moveTo(quarters[0][0])
    for a, b in quarters:
        corner = (a[0] if a[0] != cx else b[0], a[1] if a[1] != cy else b[1])
        if cubic:
            c1 = (a[0] + (corner[0] - a[0]) * k / r, a[1] + (corner[1] - a[1]) * k / r)
            c2 = (b[0] + (corner[0] - b[0]) * k / r, b[1] + (corner[1] - b[1]) * k / r)
            pen.curveTo(c1, c2, b)
        else:
            pen.qCurveTo(corner, b)
    pen.closePath()


def draw(name, pen, cubic):
    if name == ".notdef":
        box(pen, 50, 0, 450, 700)
        box(pen, 100, 50, 400, 650, clockwise=False)
    elif name == "A":
        pen.moveTo((0, 0)); pen.lineTo((250, 700)); pen.lineTo((500, 0)); pen.closePath()
        pen.moveTo((180, 200)); pen.lineTo((320, 200)); pen.lineTo((250, 420)); pen.closePath()
    elif name == "g":
        ring(pen, 250, 300, 220, cubic=cubic)
        ring(pen, 250, 300, 120, clockwise=False, cubic=cubic)
        box(pen, 400, -200, 470, 500)
    elif name == "eight":
        ring(pen, 250, 500, 200, cubic=cubic)
        ring(pen, 250, 500, 100, clockwise=False, cubic=cubic)
        ring(pen, 250, 180, 180, cubic=cubic)
        ring(pen, 250, 180, 90, clockwise=False, cubic=cubic)
    elif name == "percent":
        ring(pen, 120, 560, 100, cubic=cubic)
        ring(pen, 120, 560, 40, clockwise=False, cubic=cubic)
        pen.moveTo((60, 0)); pen.lineTo((400, 700)); pen.lineTo((460, 700)); pen.lineTo((120, 0)); pen.closePath()
        ring(pen, 400, 140, 100, cubic=cubic)
        ring(pen, 400, 140, 40, clockwise=False, cubic=cubic)
    elif name == "AE":
        box(pen, 0, 0, 700, 700)
        box(pen, 100, 100, 300, 300, clockwise=False)
        box(pen, 400, 400, 600, 600, clockwise=False)


def build(cubic):
    fb = FontBuilder(1000, isTTF=not cubic)
    fb.setupGlyphOrder(ORDER)
    fb.setupCharacterMap(CMAP)
    if cubic:
        charstrings = {}
        for name in ORDER:
            pen = T2CharStringPen(600, None)
            draw(name, pen, True)
            charstrings[name] = pen.getCharString()
        fb.setupCFF("SeedCubic", {"FullName": "SeedCubic"}, charstrings, {})
    else:
        glyphs = {}
        for name in ORDER:
            pen = TTGlyphPen(None)
            draw(name, pen, False)
            glyphs[name] = pen.glyph()
        fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({name: (600 if name != "AE" else 750, 0) for name in ORDER})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({"familyName": "Seed", "styleName": "Regular"})
    fb.setupOS2()
    fb.setupPost()
    data = io.BytesIO()
    fb.save(data)
    return data.getvalue()


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, cubic, choice in (("quadratic.ttf", False, 0), ("quadratic-round-bevel.ttf", False, 4 + 5),
                                ("cubic.otf", True, 2)):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(build(cubic) + bytes([choice]))


if __name__ == "__main__":
    main()
