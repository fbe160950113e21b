#!/usr/bin/env python3
"""Writes the configuration sheet's artwork as SVG files beside this script.

- bitmap 133: the tab images, seven 15 x 15 chips side by side (105 x 15): channels, colour,
  info, multi-screen, a broadcast channel, a cable channel, and a camera. The sheet's tabs use the
  first four, the channel lists the broadcast and cable chips.
- bitmaps 336 to 339: the sheet's "Close" button (100 x 25) normal, held down, disabled and with
  the keyboard focus. The caption is painted over them in the user's language.

Drawn with the palette of make_art.py, so the sheet matches the viewer's panel.
Run it after changing the art: python3 resources/art/make_sheet_art.py
"""
import make_art as art
from make_art import fmt, gradient, svg, stroke, write

CHIP = 15


def chip_base(x, defs):
    if not any('id="chip"' in d for d in defs):
        defs.append(gradient("chip", art.BUTTON_STOPS))
    return (f'<rect x="{fmt(x + 0.5)}" y="0.5" width="14" height="14" rx="3" fill="url(#chip)" '
            f'stroke="{art.BUTTON_BORDER}" stroke-width="1"/>'
            f'<path d="M{fmt(x + 3)},1.6 h9" stroke="#ffffff" stroke-opacity="0.18" stroke-width="1"/>')


def channels(x):
    c = art.GLYPH_PRESSED
    return (stroke(f"M{fmt(x + 4)},4 L{fmt(x + 7.5)},7.2 L{fmt(x + 11)},4", c, 1.2)
            + f'<rect x="{fmt(x + 3.2)}" y="7.2" width="8.6" height="5" rx="1" fill="none" stroke="{art.GLYPH}" '
              f'stroke-width="1.1"/>')


def colour(x):
    out = []
    for (dx, dy), hue in zip(((5, 5.6), (10, 5.6), (7.5, 9.8)), ("#ff5a4c", "#5ee06a", "#4aa8ff")):
        out.append(f'<circle cx="{fmt(x + dx)}" cy="{fmt(dy)}" r="2.5" fill="{hue}" fill-opacity="0.9"/>')
    return "".join(out)


def info(x):
    c = art.GLYPH_PRESSED
    return (f'<circle cx="{fmt(x + 7.5)}" cy="4.2" r="1.1" fill="{c}"/>'
            + stroke(f"M{fmt(x + 7.5)},6.6 v5", c, 1.8, "round"))


def grid(x):
    out = []
    for row in (0, 1):
        for col in (0, 1):
            lit = art.GLYPH_PRESSED if (row, col) == (0, 0) else art.GLYPH
            out.append(f'<rect x="{fmt(x + 3.3 + col * 4.5)}" y="{fmt(3.3 + row * 4.5)}" width="3.9" height="3.9" '
                       f'rx="0.6" fill="{lit}" fill-opacity="{0.95 if lit == art.GLYPH_PRESSED else 0.8}"/>')
    return "".join(out)


def broadcast(x):
    c = art.GLYPH_PRESSED
    return (stroke(f"M{fmt(x + 7.5)},6 v6.5", art.GLYPH, 1.3)
            + stroke(f"M{fmt(x + 5.5)},12.5 h4", art.GLYPH, 1.3)
            + f'<circle cx="{fmt(x + 7.5)}" cy="5" r="1.3" fill="{c}"/>'
            + stroke(f"M{fmt(x + 4.6)},2.6 a3.6,3.6 0 0 0 0,4.8", c, 1.0)
            + stroke(f"M{fmt(x + 10.4)},2.6 a3.6,3.6 0 0 1 0,4.8", c, 1.0))


def cable(x):
    c = art.GLYPH_PRESSED
    return (f'<rect x="{fmt(x + 4.5)}" y="3" width="6" height="5.2" rx="1" fill="{art.GLYPH}"/>'
            + stroke(f"M{fmt(x + 6)},1.8 v1.4 M{fmt(x + 9)},1.8 v1.4", art.GLYPH, 1.1, "butt")
            + stroke(f"M{fmt(x + 7.5)},8.2 v1.6 q0,2.8 -3,2.8", c, 1.4))


def camera(x):
    return (f'<rect x="{fmt(x + 2.8)}" y="4.6" width="9.4" height="6.8" rx="1.4" fill="{art.GLYPH}"/>'
            f'<rect x="{fmt(x + 5.4)}" y="3.3" width="4.2" height="1.8" rx="0.6" fill="{art.GLYPH}"/>'
            f'<circle cx="{fmt(x + 7.5)}" cy="8" r="2.2" fill="{art.BUTTON_BORDER}"/>'
            f'<circle cx="{fmt(x + 7.5)}" cy="8" r="1.1" fill="{art.GLYPH_PRESSED}"/>')


def tab_images():
    defs, body = [], []
    for index, draw in enumerate((channels, colour, info, grid, broadcast, cable, camera)):
        x = index * CHIP
        body.append(chip_base(x, defs))
        body.append(draw(x))
    return svg(CHIP * 7, CHIP, defs, body)


def close_button(state):
    """The Close button's face; state is normal, pressed, disabled or focused."""
    w, h = 100, 25
    defs = []
    stops = art.BUTTON_PRESSED_STOPS if state == "pressed" else art.BUTTON_STOPS
    defs.append(gradient("face", stops))
    body = [f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="5" fill="url(#face)" '
            f'stroke="{art.BUTTON_BORDER}" stroke-width="1"/>']
    if state == "pressed":
        body.append(f'<path d="M5,1.8 h{w - 10}" stroke="#000000" stroke-opacity="0.55" stroke-width="1.2"/>')
    else:
        body.append(f'<path d="M5,1.6 h{w - 10}" stroke="#ffffff" stroke-opacity="0.22" stroke-width="1"/>')
    if state == "disabled":
        body.append(f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="5" fill="#1a1d22" '
                    f'fill-opacity="0.55"/>')
    if state == "focused":
        body.append(f'<rect x="2" y="2" width="{w - 4}" height="{h - 4}" rx="4" fill="none" '
                    f'stroke="{art.GLYPH_PRESSED}" stroke-width="1.4" stroke-opacity="0.9"/>')
    # A small cyan lamp at the left: lit while the button can be used.
    lamp = art.GLYPH_PRESSED if state != "disabled" else "#3a4049"
    body.append(f'<circle cx="11" cy="12.5" r="2.4" fill="{lamp}" fill-opacity="{0.9 if state != "disabled" else 1}"/>')
    return svg(w, h, defs, body)


def main():
    write("bitmap-133.svg", tab_images())
    for number, state in ((336, "normal"), (337, "pressed"), (338, "disabled"), (339, "focused")):
        write(f"bitmap-{number}.svg", close_button(state))


if __name__ == "__main__":
    main()
