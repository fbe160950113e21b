#!/usr/bin/env python3
"""Writes the video-recorder controller's artwork as SVG files beside this script.

- 295 (150 by 90): the controller's face. The channel display (a dark glass well with "CH :" and
  three unlit digit cells at DIGIT_CELLS), the mode display (a smaller well, its symbol at
  MODE_SYMBOL_AT), the mode key at (82, 41) 16 by 16, the next key at (110, 5) and the previous key
  at (110, 35), both 25 by 25, and the name plate along the bottom with the recorder lamp at LAMP.
- 166 to 175 (15 by 24): the lit digits 0 to 9, each a whole cell of the display's glass, drawn
  over the unlit cells of 295.
- 176 (15 by 24): the dash shown when no channel is tuned (an input is shown, or the tuner did not
  start).
- 177, 178, 179 (60 by 12): the mode symbols "TV", "CATV" and "VIDEO" on the mode display's glass.

The controller's window (links/PowerVcrPainter.cpp) places these at the same positions; the
metal, glass and glyph colours are the viewer panel's (make_art.py).

Run it after changing the art: python3 resources/art/make_vcr_art.py
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from make_art import (BUTTON_BORDER, BUTTON_STOPS, GLYPH, GLYPH_PRESSED, STRIP_BOTTOM_LINE,  # noqa: E402
                      STRIP_STOPS, STROKE_FONT, chevron, fmt, gradient, stroke, svg, write)

FACE_W, FACE_H = 150, 90
CHANNEL_WELL = (4, 4, 102, 32)        # x, y, width, height
MODE_WELL = (4, 40, 74, 18)
DIGIT_W, DIGIT_H = 15, 24
DIGIT_CELLS = [(50, 8), (67, 8), (84, 8)]
MODE_SYMBOL_AT = (11, 43)
MODE_SYMBOL_W, MODE_SYMBOL_H = 60, 12
NEXT_KEY = (110, 5, 25, 25)
PREVIOUS_KEY = (110, 35, 25, 25)
MODE_KEY = (82, 41, 16, 16)
LAMP = (141, 77)

GLASS = "#0a1d23"           # the displays' glass: flat, so a digit cell joins it without a seam
LIT = GLYPH_PRESSED         # lit segments and symbols
UNLIT_OPACITY = 0.07        # the ghost of a segment that is off
LABEL = "#7fb7c6"

# Letters the panel's stroke font lacks, in its 4 by 6 grid.
FONT = dict(STROKE_FONT)
FONT.update({
    "V": "M0,0 L2,6 L4,0",
    "A": "M0,6 L2,0 L4,6 M0.7,4 H3.3",
    "I": "M2,0 V6 M0.8,0 H3.2 M0.8,6 H3.2",
    "R": "M0.2,6 V0 H2.4 Q4,0 4,1.6 Q4,3.2 2.4,3.2 H0.2 M2.2,3.2 L4,6",
    "P": "M0.2,6 V0 H2.4 Q4,0 4,1.6 Q4,3.2 2.4,3.2 H0.2",
    "W": "M0,0 L1,6 L2,2.5 L3,6 L4,0",
    ":": "M2,1.6 v0.01 M2,4.6 v0.01",
    " ": "",
})


def text(s, x, y, height, colour, width, spacing=1.6):
    """`s` in the stroke font, its top-left corner at (x, y), `height` pixels high."""
    k = height / 6.0
    out = []
    for i, ch in enumerate(s):
        d = FONT[ch]
        if not d:
            continue
        ox = x + i * (4 + spacing) * k
        out.append(f'<path d="{d}" transform="translate({fmt(ox)},{fmt(y)}) scale({fmt(k)})" fill="none" '
                   f'stroke="{colour}" stroke-width="{fmt(width / k)}" stroke-linecap="round" '
                   f'stroke-linejoin="round"/>')
    return "".join(out)


def text_width(s, height, spacing=1.6):
    k = height / 6.0
    return (len(s) * 4 + (len(s) - 1) * spacing) * k


# --- seven-segment cells -------------------------------------------------------------------
# Segments a to g of a cell DIGIT_W by DIGIT_H, as polygons with bevelled ends.
SEGMENTS_OF = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg",
    "5": "acdfg", "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg", "-": "g", "": "",
}


def segment_polygons(x, y):
    t = 2.4                       # thickness
    left, right = x + 2.5, x + DIGIT_W - 2.5
    top, mid, bottom = y + 2.5, y + DIGIT_H / 2, y + DIGIT_H - 2.5
    h = t / 2

    def horizontal(cy):
        return [(left + 1, cy), (left + 1 + h, cy - h), (right - 1 - h, cy - h), (right - 1, cy),
                (right - 1 - h, cy + h), (left + 1 + h, cy + h)]

    def vertical(cx, y0, y1):
        return [(cx, y0 + 1), (cx + h, y0 + 1 + h), (cx + h, y1 - 1 - h), (cx, y1 - 1),
                (cx - h, y1 - 1 - h), (cx - h, y0 + 1 + h)]

    return {
        "a": horizontal(top), "g": horizontal(mid), "d": horizontal(bottom),
        "f": vertical(left, top, mid), "b": vertical(right, top, mid),
        "e": vertical(left, mid, bottom), "c": vertical(right, mid, bottom),
    }


def polygon(points, colour, opacity=None):
    d = "M" + " L".join(f"{fmt(px)},{fmt(py)}" for px, py in points) + " Z"
    op = f' fill-opacity="{fmt(opacity)}"' if opacity is not None else ""
    return f'<path d="{d}" fill="{colour}"{op}/>'


def cell(x, y, lit):
    """A digit cell at (x, y): every segment as a faint ghost, the lit ones bright."""
    out = []
    for name, points in segment_polygons(x, y).items():
        if name in lit:
            out.append(polygon(points, LIT))
        else:
            out.append(polygon(points, LIT, UNLIT_OPACITY))
    return "".join(out)


def digit_image(character):
    body = [f'<rect x="0" y="0" width="{DIGIT_W}" height="{DIGIT_H}" fill="{GLASS}"/>',
            cell(0, 0, SEGMENTS_OF[character])]
    return svg(DIGIT_W, DIGIT_H, [], body)


def mode_symbol(label):
    body = [f'<rect x="0" y="0" width="{MODE_SYMBOL_W}" height="{MODE_SYMBOL_H}" fill="{GLASS}"/>']
    height = 8
    w = text_width(label, height)
    # A small lit bar before the label: the active input.
    body.append(f'<rect x="1" y="3" width="4" height="6" rx="1" fill="{LIT}"/>')
    body.append(text(label, 9 + (MODE_SYMBOL_W - 9 - w) / 2, (MODE_SYMBOL_H - height) / 2, height, LIT, 1.3))
    return svg(MODE_SYMBOL_W, MODE_SYMBOL_H, [], body)


# --- the face ------------------------------------------------------------------------------

def well(x, y, w, h):
    return "".join([
        f'<rect x="{fmt(x + 0.5)}" y="{fmt(y + 0.5)}" width="{w - 1}" height="{h - 1}" rx="4" '
        f'fill="#08090b" stroke="#ffffff" stroke-opacity="0.10" stroke-width="1"/>',
        f'<rect x="{x + 2}" y="{y + 2}" width="{w - 4}" height="{h - 4}" rx="2.5" fill="{GLASS}"/>',
        f'<rect x="{x + 3}" y="{y + 2}" width="{w - 6}" height="1" fill="#ffffff" fill-opacity="0.08"/>',
    ])


def key(rect, glyph_body, defs):
    x, y, w, h = rect
    if not any('id="key"' in d for d in defs):
        defs.append(gradient("key", BUTTON_STOPS))
    return "".join([
        f'<rect x="{fmt(x + 0.5)}" y="{fmt(y + 0.5)}" width="{w - 1}" height="{h - 1}" rx="3.5" '
        f'fill="url(#key)" stroke="{BUTTON_BORDER}" stroke-width="1"/>',
        stroke(f"M{fmt(x + 3.5)},{fmt(y + 1.5)} h{w - 7}", "#ffffff", 1.0, "butt")
        .replace("/>", ' stroke-opacity="0.22"/>'),
        glyph_body,
    ])


def face():
    defs = [gradient("body", STRIP_STOPS, 0, 0, 0, FACE_H, "userSpaceOnUse")]
    body = [f'<rect x="0" y="0" width="{FACE_W}" height="{FACE_H}" fill="url(#body)"/>',
            f'<rect x="0" y="0" width="{FACE_W}" height="1" fill="#6a727d"/>',
            f'<rect x="0" y="{FACE_H - 1}" width="{FACE_W}" height="1" fill="{STRIP_BOTTOM_LINE}"/>',
            f'<rect x="0" y="0" width="1" height="{FACE_H}" fill="#0a0b0d"/>',
            f'<rect x="{FACE_W - 1}" y="0" width="1" height="{FACE_H}" fill="#0a0b0d"/>',
            f'<rect x="1" y="1" width="1" height="{FACE_H - 2}" fill="#ffffff" fill-opacity="0.08"/>']

    # The channel display: "CH :" and three unlit cells.
    body.append(well(*CHANNEL_WELL))
    body.append(text("CH :", 11, 16, 8, LABEL, 1.4))
    for cx, cy in DIGIT_CELLS:
        body.append(cell(cx, cy, ""))

    # The mode display, empty until the window draws its symbol.
    body.append(well(*MODE_WELL))

    # The keys: next (up), previous (down), mode (a small caret).
    nx, ny, nw, nh = NEXT_KEY
    body.append(key(NEXT_KEY, chevron(nx + nw / 2, ny + nh / 2, GLYPH, True), defs))
    px, py, pw, ph = PREVIOUS_KEY
    body.append(key(PREVIOUS_KEY, chevron(px + pw / 2, py + ph / 2, GLYPH, False), defs))
    mx, my, mw, mh = MODE_KEY
    body.append(key(MODE_KEY, chevron(mx + mw / 2, my + mh / 2, GLYPH, True, 3.5, 2.0), defs))

    # The name plate: a groove, the name and the recorder lamp (unlit; the window lights it).
    body.append(f'<rect x="4" y="64" width="{FACE_W - 8}" height="1" fill="#0b0c0e" fill-opacity="0.85"/>')
    body.append(f'<rect x="4" y="65" width="{FACE_W - 8}" height="1" fill="#ffffff" fill-opacity="0.07"/>')
    body.append(text("KELTO", 8, 73, 8, GLYPH, 1.4))
    body.append(text("POWERVCR", 8 + text_width("KELTO", 8) + 6, 73, 8, LIT, 1.4))
    lx, ly = LAMP
    body.append(f'<circle cx="{lx}" cy="{ly}" r="3.5" fill="#08090b" stroke="#ffffff" stroke-opacity="0.10"/>')
    body.append(f'<circle cx="{lx}" cy="{ly}" r="2.3" fill="#3a1512"/>')
    return svg(FACE_W, FACE_H, defs, body)


def main():
    write("bitmap-295.svg", face())
    for number in range(10):
        write(f"bitmap-{166 + number}.svg", digit_image(str(number)))
    write("bitmap-176.svg", digit_image("-"))
    for number, label in ((177, "TV"), (178, "CATV"), (179, "VIDEO")):
        write(f"bitmap-{number}.svg", mode_symbol(label))


if __name__ == "__main__":
    main()
