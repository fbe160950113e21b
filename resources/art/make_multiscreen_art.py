#!/usr/bin/env python3
"""Writes the multi-screen view's artwork as SVG files beside this script.

- 308 (640 by 64): the control deck under the grid of cells. The view draws it from its left
  end, as wide as its grid (320, 480 or 640 pixels), between the last row of cells and the
  frame's bottom edge; it holds the exit button (at 15, 20) and the minimise button (at 15, 42),
  both 48 by 20, and the name plate. Each of the three widths ends in a closing bevel, so a
  narrower view looks finished too.
- 327 (160 by 120): a cell without a channel or without a picture yet: dark glass with a small
  television set drawn in faint lines.
- 153, 310 (48 by 20): the exit and the minimise button held down, drawn exactly over their
  places in 308.

The metal, glass and glyph colours are the viewer panel's (make_art.py).

Run it after changing the art: python3 resources/art/make_multiscreen_art.py
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from make_art import (BUTTON_BORDER, BUTTON_PRESSED_STOPS, BUTTON_STOPS, EXIT_GLYPH, EXIT_GLYPH_PRESSED,  # noqa: E402
                      GLYPH, GLYPH_PRESSED, STRIP_BOTTOM_LINE, STRIP_STOPS, STROKE_FONT, chevron, fmt,
                      glyph_power, gradient, stroke, svg, well, write)

DECK_W, DECK_H = 640, 64
BUTTON_W, BUTTON_H = 48, 20
EXIT_AT = (15, 20)
MINIMISE_AT = (15, 42)
CELL_W, CELL_H = 160, 120

# The stroke font with the letters of the name plate it lacks, in its 4 by 6 grid.
FONT = dict(STROKE_FONT)
FONT.update({
    "M": "M0,6 V0 L2,3.4 L4,0 V6",
    "U": "M0,0 V4.7 Q0,6 1.3,6 H2.7 Q4,6 4,4.7 V0",
    "I": "M1,0 H3 M2,0 V6 M1,6 H3",
    "R": "M0,6 V0 H2.7 Q4,0 4,1.5 Q4,3 2.7,3 H0 M2.2,3 L4,6",
    "N": "M0,6 V0 L4,6 V0",
    " ": "",
})


def label(text, x, y, height, colour, width, spacing=1.6):
    """`text` in the extended stroke font, its top-left corner at (x, y)."""
    k = height / 6.0
    out = []
    for i, ch in enumerate(text):
        if not FONT[ch]:
            continue
        ox = x + i * (4 + spacing) * k
        out.append(f'<path d="{FONT[ch]}" transform="translate({fmt(ox)},{fmt(y)}) scale({fmt(k)})" fill="none" '
                   f'stroke="{colour}" stroke-width="{fmt(width / k)}" stroke-linecap="round" '
                   f'stroke-linejoin="round"/>')
    return "".join(out)


def label_width(text, height, spacing=1.6):
    k = height / 6.0
    return (len(text) * 4 + (len(text) - 1) * spacing) * k


def glyph_minimise(cx, cy, colour):
    return chevron(cx, cy - 2.5, colour, False, 4.5, 2.5) + stroke(f"M{fmt(cx - 6)},{fmt(cy + 4)} h12", colour, 2.0, "butt")


def deck_button(kind, x, y, pressed, defs):
    """The exit or minimise button, up (drawn into the deck) or held down."""
    gid = "msPressed" if pressed else "msUp"
    if not any(f'id="{gid}"' in d for d in defs):
        defs.append(gradient(gid, BUTTON_PRESSED_STOPS if pressed else BUTTON_STOPS))
    w, h = BUTTON_W, BUTTON_H
    out = [f'<rect x="{fmt(x + 0.5)}" y="{fmt(y + 0.5)}" width="{w - 1}" height="{h - 1}" rx="3.5" '
           f'fill="url(#{gid})" stroke="{BUTTON_BORDER}" stroke-width="1"/>']
    if pressed:
        out.append(stroke(f"M{fmt(x + 3)},{fmt(y + 1.6)} h{w - 6}", "#000000", 1.2, "butt")
                   .replace("/>", ' stroke-opacity="0.55"/>'))
    else:
        out.append(stroke(f"M{fmt(x + 3.5)},{fmt(y + 1.5)} h{w - 7}", "#ffffff", 1.0, "butt")
                   .replace("/>", ' stroke-opacity="0.22"/>'))
    cx, cy = x + w / 2, y + h / 2 + (1 if pressed else 0)
    if kind == "exit":
        colour = EXIT_GLYPH_PRESSED if pressed else EXIT_GLYPH
        # The power sign, a little smaller than the panel's, to sit in 20 pixels.
        out.append(f'<g transform="translate({fmt(cx)},{fmt(cy + 0.6)}) scale(0.82) translate({fmt(-cx)},{fmt(-cy)})">'
                   f'{glyph_power(cx, cy, colour)}</g>')
    else:
        out.append(glyph_minimise(cx, cy, GLYPH_PRESSED if pressed else GLYPH))
    return "".join(out)


def grille(x0, x1, y0, y1):
    """A speaker grille of small holes."""
    out = []
    row = 0
    y = y0
    while y <= y1:
        x = x0 + (3 if row % 2 else 0)
        while x <= x1:
            out.append(f'<circle cx="{fmt(x)}" cy="{fmt(y)}" r="1.1" fill="#0b0c0e" fill-opacity="0.9"/>')
            out.append(f'<circle cx="{fmt(x + 0.4)}" cy="{fmt(y + 0.6)}" r="0.7" fill="#ffffff" fill-opacity="0.06"/>')
            x += 6
        y += 5
        row += 1
    return "".join(out)


def bevel_end(x):
    """The closing edge of a deck that ends at x (its last column)."""
    return (f'<rect x="{x - 1}" y="1" width="1" height="{DECK_H - 2}" fill="#000000" fill-opacity="0.35"/>'
            f'<rect x="{x}" y="0" width="1" height="{DECK_H}" fill="#0a0b0d"/>'
            f'<rect x="{x + 1}" y="1" width="1" height="{DECK_H - 2}" fill="#ffffff" fill-opacity="0.07"/>')


def grid_icon(x, y, size, colour):
    """A 2 by 2 wall of screens."""
    gap = size * 0.14
    cell = (size - gap) / 2
    out = []
    for r in range(2):
        for c in range(2):
            out.append(f'<rect x="{fmt(x + c * (cell + gap))}" y="{fmt(y + r * (cell + gap))}" width="{fmt(cell)}" '
                       f'height="{fmt(cell * 0.78)}" rx="1" fill="none" stroke="{colour}" stroke-width="1.3"/>')
    # One of them lit, as the live cell.
    out.append(f'<rect x="{fmt(x + cell + gap + 1.2)}" y="{fmt(y + 1.2)}" width="{fmt(cell - 2.4)}" '
               f'height="{fmt(cell * 0.78 - 2.4)}" fill="{colour}" fill-opacity="0.55"/>')
    return "".join(out)


def deck():
    defs = [gradient("deck", STRIP_STOPS, 0, 0, 0, DECK_H, "userSpaceOnUse")]
    body = [f'<rect x="0" y="0" width="{DECK_W}" height="{DECK_H}" fill="url(#deck)"/>',
            # The grid's shadow on the deck, then the deck's lit front edge.
            f'<rect x="0" y="0" width="{DECK_W}" height="2" fill="#000000" fill-opacity="0.6"/>',
            f'<rect x="0" y="2" width="{DECK_W}" height="1" fill="#6a727d" fill-opacity="0.8"/>',
            # A ledge between the shelf under the grid and the controls.
            f'<rect x="0" y="14" width="{DECK_W}" height="1" fill="#0b0c0e" fill-opacity="0.85"/>',
            f'<rect x="0" y="15" width="{DECK_W}" height="1" fill="#ffffff" fill-opacity="0.07"/>',
            f'<rect x="0" y="{DECK_H - 1}" width="{DECK_W}" height="1" fill="{STRIP_BOTTOM_LINE}"/>']
    body.append(deck_button("exit", *EXIT_AT, False, defs))
    body.append(deck_button("minimise", *MINIMISE_AT, False, defs))
    # The name plate: a dark glass with the wall of screens and the name.
    px, py, pw, ph = 72, 20, 236, 42
    body.append(well(px, py, pw, ph, defs))
    body.append(grid_icon(px + 12, py + 10, 22, GLYPH_PRESSED))
    text = "KELTO MULTISCREEN"
    th = 8
    body.append(label(text, px + 44, py + 11, th, GLYPH_PRESSED, 1.5))
    body.append(f'<rect x="{px + 44}" y="{py + 25}" width="{fmt(label_width(text, th))}" height="1" '
                f'fill="{GLYPH_PRESSED}" fill-opacity="0.35"/>')
    body.append(label("4 9 16", px + 44, py + 29, 5, "#8fa3b3", 1.0))
    # Grilles in the wider decks, and a closing bevel where each width ends.
    body.append(grille(330, 468, 24, 56))
    body.append(grille(490, 628, 24, 56))
    for end in (319, 479, 639):
        body.append(bevel_end(end))
    return svg(DECK_W, DECK_H, defs, body)


def pressed(kind):
    defs = []
    # The deck under the button's rounded corners, so nothing see-through shows the cell above.
    defs.append(gradient("deck", STRIP_STOPS, 0, 0, 0, DECK_H, "userSpaceOnUse"))
    at = EXIT_AT if kind == "exit" else MINIMISE_AT
    body = [f'<g transform="translate({-at[0]},{-at[1]})">'
            f'<rect x="{at[0]}" y="{at[1]}" width="{BUTTON_W}" height="{BUTTON_H}" fill="url(#deck)"/>'
            + deck_button(kind, at[0], at[1], True, defs) + '</g>']
    return svg(BUTTON_W, BUTTON_H, defs, body)


def empty_cell():
    defs = [gradient("glassCell", [(0.0, "#161b20"), (0.55, "#0e1216"), (1.0, "#090b0e")]),
            gradient("sheen", [(0.0, "#ffffff", 0.06), (1.0, "#ffffff", 0.0)])]
    body = [f'<rect x="0" y="0" width="{CELL_W}" height="{CELL_H}" fill="url(#glassCell)"/>']
    for y in range(1, CELL_H, 3):
        body.append(f'<rect x="0" y="{y}" width="{CELL_W}" height="1" fill="#000000" fill-opacity="0.18"/>')
    body.append(f'<rect x="0" y="0" width="{CELL_W}" height="{CELL_H * 0.45}" fill="url(#sheen)"/>')
    # A small television set with its aerial, in faint lines.
    cx, cy = CELL_W / 2, CELL_H / 2 + 4
    tw, th = 44, 30
    line = "#3d4a55"
    body.append(f'<rect x="{fmt(cx - tw / 2)}" y="{fmt(cy - th / 2)}" width="{tw}" height="{th}" rx="4" fill="none" '
                f'stroke="{line}" stroke-width="2"/>')
    body.append(f'<rect x="{fmt(cx - tw / 2 + 5)}" y="{fmt(cy - th / 2 + 5)}" width="{tw - 16}" height="{th - 10}" '
                f'rx="2" fill="{line}" fill-opacity="0.35"/>')
    for k in (0, 1):
        body.append(f'<circle cx="{fmt(cx + tw / 2 - 6)}" cy="{fmt(cy - 5 + k * 8)}" r="1.6" fill="{line}"/>')
    body.append(stroke(f"M{fmt(cx - 9)},{fmt(cy - th / 2 - 11)} L{fmt(cx)},{fmt(cy - th / 2 - 1)} "
                       f"L{fmt(cx + 9)},{fmt(cy - th / 2 - 11)}", line, 1.8))
    # Its edge, lit from above as the panel's glass is.
    body.append(f'<rect x="0.5" y="0.5" width="{CELL_W - 1}" height="{CELL_H - 1}" fill="none" stroke="#ffffff" '
                f'stroke-opacity="0.07" stroke-width="1"/>')
    return svg(CELL_W, CELL_H, defs, body)


def main():
    write("bitmap-308.svg", deck())
    write("bitmap-327.svg", empty_cell())
    write("bitmap-153.svg", pressed("exit"))
    write("bitmap-310.svg", pressed("minimise"))


if __name__ == "__main__":
    main()
