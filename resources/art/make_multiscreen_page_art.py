#!/usr/bin/env python3
"""Writes the multi-screen page's artwork as SVG files beside this script.

- 304 to 307 (50 by 50): the page's animation, four frames of a 2*2 wall of small screens on
  which the live cell goes round clockwise, as the multi-screen view refreshes its cells one
  after another.
- 330, 331, 332 (70 by 70): the layout previews, a small monitor whose screen is split into
  2*2, 3*3 or 4*4 cells, with the layout's name on the bezel.

The metal, glass and accent colours are the viewer panel's (make_art.py).

Run it after changing the art: python3 resources/art/make_multiscreen_page_art.py
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from make_art import (BUTTON_BORDER, GLYPH, GLYPH_PRESSED, LCD_STOPS, STROKE_FONT, fmt, gradient,  # noqa: E402
                      stroke_text, stroke_text_width, svg, write)

BODY_STOPS = [(0.0, "#3f4650"), (0.12, "#30353d"), (0.6, "#24282e"), (1.0, "#1a1c21")]
LABEL = "#8fa3b3"
ACCENT = GLYPH_PRESSED

# Sixteen small "pictures" for the cells: sky, ground and a sun or light, muted as a TV picture
# seen from a distance. Each entry: sky top, sky bottom, ground, light.
PICTURES = [
    ("#2d6fa8", "#8cc4e8", "#3f7a3a", "#fff2b0"),
    ("#b5532f", "#f2b35a", "#4a2f2a", "#ffe08a"),
    ("#1f5a66", "#5fb3b0", "#2f4d3c", "#d8fff4"),
    ("#4b3a7a", "#a37fc0", "#2c2540", "#ffd6f2"),
    ("#315d8c", "#b9d7ea", "#6d7f88", "#ffffff"),
    ("#6a7a2c", "#c8d27a", "#3b4a1e", "#fff7c4"),
    ("#1d2f5c", "#3f6fa8", "#14213a", "#e8f1ff"),
    ("#a2442f", "#e88f5e", "#3d5a2c", "#ffd08a"),
    ("#2a7f8f", "#9fe0e0", "#c9b27a", "#ffffff"),
    ("#5a2f5c", "#c26f8a", "#2b1f33", "#ffe0b0"),
    ("#3a6f4a", "#a8d8a0", "#2d5036", "#f4ffe0"),
    ("#24466e", "#6f9fc9", "#4d3b2c", "#ffe9b8"),
    ("#7a3a2a", "#d8875a", "#33261f", "#ffd79a"),
    ("#2f5f7f", "#8fc6d8", "#1f4450", "#e0fbff"),
    ("#5c5c7a", "#b0b0d0", "#3a3a4c", "#ffffff"),
    ("#2b6b5a", "#7fd0b0", "#24443a", "#f0fff8"),
]

# A multiplication sign for the layout names, in the stroke font's 4 by 6 grid.
FONT = dict(STROKE_FONT)
FONT["x"] = "M0.6,1.8 L3.4,5.4 M3.4,1.8 L0.6,5.4"


def label(text, x, y, height, colour, width, spacing=1.4):
    """The stroke font with the extra sign; `text` top-left at (x, y)."""
    k = height / 6.0
    out = []
    for i, ch in enumerate(text):
        ox = x + i * (4 + spacing) * k
        out.append(f'<path d="{FONT[ch]}" transform="translate({fmt(ox)},{fmt(y)}) scale({fmt(k)})" fill="none" '
                   f'stroke="{colour}" stroke-width="{fmt(width / k)}" stroke-linecap="round" '
                   f'stroke-linejoin="round"/>')
    return "".join(out)


def picture(index, x, y, w, h, defs, prefix):
    """One cell's small picture: a sky gradient, a light, and a hill over the lower third."""
    sky_top, sky_bottom, ground, light = PICTURES[index % len(PICTURES)]
    gid = f"{prefix}sky{index}"
    defs.append(gradient(gid, [(0.0, sky_top), (1.0, sky_bottom)]))
    r = max(1.0, min(w, h) * 0.12)
    lx = x + w * (0.25 + 0.5 * ((index * 37) % 10) / 10)
    ly = y + h * 0.3
    hill = (f"M{fmt(x)},{fmt(y + h * 0.72)} Q{fmt(x + w * 0.3)},{fmt(y + h * 0.5)} {fmt(x + w * 0.55)},{fmt(y + h * 0.66)} "
            f"T{fmt(x + w)},{fmt(y + h * 0.6)} V{fmt(y + h)} H{fmt(x)} Z")
    return (f'<rect x="{fmt(x)}" y="{fmt(y)}" width="{fmt(w)}" height="{fmt(h)}" fill="url(#{gid})"/>'
            f'<circle cx="{fmt(lx)}" cy="{fmt(ly)}" r="{fmt(r)}" fill="{light}" fill-opacity="0.9"/>'
            f'<path d="{hill}" fill="{ground}"/>')


def body(size, radius, defs, prefix):
    """The dark metal housing with its outline and bevel."""
    defs.append(gradient(f"{prefix}body", BODY_STOPS, 0, 0, 0, size, "userSpaceOnUse"))
    return [f'<rect x="0.5" y="0.5" width="{size - 1}" height="{size - 1}" rx="{fmt(radius)}" fill="url(#{prefix}body)" '
            f'stroke="{BUTTON_BORDER}" stroke-width="1"/>',
            f'<rect x="2" y="1.5" width="{size - 4}" height="1" rx="0.5" fill="#ffffff" fill-opacity="0.16"/>',
            f'<rect x="2" y="{size - 2.5}" width="{size - 4}" height="1" rx="0.5" fill="#000000" fill-opacity="0.35"/>']


# --- 304 to 307: the animation ------------------------------------------------------------
ANIM = 50
ANIM_CELL = 18
ANIM_CELLS = [(5, 5), (27, 5), (27, 27), (5, 27)]  # clockwise from the top left


def animation_frame(lit):
    prefix = "a"
    defs = [gradient("glass", LCD_STOPS)]
    out = body(ANIM, 7, defs, prefix)
    out.append(f'<rect x="3.5" y="3.5" width="{ANIM - 7}" height="{ANIM - 7}" rx="4" fill="url(#glass)" '
               f'stroke="#0a0b0d" stroke-width="1"/>')
    for k, (x, y) in enumerate(ANIM_CELLS):
        out.append(picture([0, 1, 2, 3][k], x, y, ANIM_CELL, ANIM_CELL, defs, prefix))
        if k != lit:
            # Cells waiting for their turn keep their last picture, dimmed.
            out.append(f'<rect x="{x}" y="{y}" width="{ANIM_CELL}" height="{ANIM_CELL}" fill="#050a0d" '
                       f'fill-opacity="0.55"/>')
            out.append(f'<rect x="{fmt(x + 0.5)}" y="{fmt(y + 0.5)}" width="{ANIM_CELL - 1}" height="{ANIM_CELL - 1}" '
                       f'fill="none" stroke="#000000" stroke-opacity="0.6" stroke-width="1"/>')
        else:
            # The live cell: bright, outlined in the accent colour, with a glow and a scan line.
            out.append(f'<rect x="{x - 1.5}" y="{y - 1.5}" width="{ANIM_CELL + 3}" height="{ANIM_CELL + 3}" rx="2" '
                       f'fill="none" stroke="{ACCENT}" stroke-opacity="0.28" stroke-width="3"/>')
            out.append(f'<rect x="{fmt(x + 0.5)}" y="{fmt(y + 0.5)}" width="{ANIM_CELL - 1}" height="{ANIM_CELL - 1}" '
                       f'fill="none" stroke="{ACCENT}" stroke-width="1.2"/>')
            out.append(f'<rect x="{x + 1}" y="{y + 1}" width="{ANIM_CELL - 2}" height="{fmt(ANIM_CELL * 0.42)}" '
                       f'fill="#ffffff" fill-opacity="0.14"/>')
    # The running light in the middle of the wall: which quarter it points to follows the live cell.
    cx = cy = ANIM / 2
    out.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="3.2" fill="#0a0b0d"/>')
    out.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="2" fill="{ACCENT}"/>')
    out.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="4.2" fill="{ACCENT}" fill-opacity="0.18"/>')
    return svg(ANIM, ANIM, defs, out)


# --- 330, 331, 332: the layout previews -----------------------------------------------------
PREVIEW = 70
SCREEN = (6, 6, 58, 47)  # x, y, width, height


def layout_preview(per_row):
    prefix = "p"
    defs = [gradient("glass", LCD_STOPS), gradient("shine", [(0.0, "#ffffff", 0.16), (1.0, "#ffffff", 0.0)])]
    out = body(PREVIEW, 8, defs, prefix)
    sx, sy, sw, sh = SCREEN
    out.append(f'<rect x="{sx - 1.5}" y="{sy - 1.5}" width="{sw + 3}" height="{sh + 3}" rx="3" fill="url(#glass)" '
               f'stroke="#0a0b0d" stroke-width="1"/>')
    gap = 1.5 if per_row < 4 else 1.2
    cw = (sw - gap * (per_row - 1)) / per_row
    ch = (sh - gap * (per_row - 1)) / per_row
    for r in range(per_row):
        for c in range(per_row):
            k = r * per_row + c
            x, y = sx + c * (cw + gap), sy + r * (ch + gap)
            out.append(picture(k, x, y, cw, ch, defs, prefix))
    # The first cell is the one shown live: outlined in the accent colour.
    out.append(f'<rect x="{fmt(sx + 0.4)}" y="{fmt(sy + 0.4)}" width="{fmt(cw - 0.8)}" height="{fmt(ch - 0.8)}" '
               f'fill="none" stroke="{ACCENT}" stroke-width="0.9"/>')
    out.append(f'<path d="M{sx},{sy} h{sw} v{fmt(sh * 0.42)} q{fmt(-sw / 2)},{fmt(-sh * 0.12)} {-sw},0 z" '
               f'fill="url(#shine)"/>')
    # The bezel below the screen: the layout's name and a lit indicator.
    name = f"{per_row}x{per_row}"
    h = 6.0
    w = stroke_text_width(name, h, 1.4)
    out.append(label(name, PREVIEW / 2 - w / 2, 58.5, h, GLYPH, 1.3))
    out.append(f'<circle cx="61" cy="61.5" r="2.6" fill="{ACCENT}" fill-opacity="0.2"/>')
    out.append(f'<circle cx="61" cy="61.5" r="1.4" fill="{ACCENT}"/>')
    out.append(f'<rect x="7" y="60.5" width="8" height="2" rx="1" fill="{LABEL}" fill-opacity="0.45"/>')
    return svg(PREVIEW, PREVIEW, defs, out)


def main():
    for k, number in enumerate((304, 305, 306, 307)):
        write(f"bitmap-{number}.svg", animation_frame(k))
    for number, per_row in ((330, 2), (331, 3), (332, 4)):
        write(f"bitmap-{number}.svg", layout_preview(per_row))


if __name__ == "__main__":
    main()
