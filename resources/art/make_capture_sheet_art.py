#!/usr/bin/env python3
"""Writes the capture sheet's artwork as SVG files beside this script.

- bitmap 241: the tab images, two 15 x 15 chips side by side (30 x 15): a still camera for the
  still-picture page and a strip of film for the motion-picture page.

Drawn with the chips of the configuration sheet's tabs, so both sheets match the viewer's panel.
Run it after changing the art: python3 resources/art/make_capture_sheet_art.py
"""
import make_art as art
from make_art import fmt, svg, write
from make_sheet_art import CHIP, camera, chip_base


def film(x):
    c = art.GLYPH_PRESSED
    out = [f'<rect x="{fmt(x + 2.6)}" y="3.6" width="9.8" height="7.8" rx="1" fill="{art.GLYPH}"/>']
    for dx in (3.6, 6.1, 8.6, 11.1):
        out.append(f'<rect x="{fmt(x + dx - 0.55)}" y="4.3" width="1.1" height="1.1" fill="{art.BUTTON_BORDER}"/>')
        out.append(f'<rect x="{fmt(x + dx - 0.55)}" y="9.6" width="1.1" height="1.1" fill="{art.BUTTON_BORDER}"/>')
    # The frame in the middle, lit like a running picture.
    out.append(f'<rect x="{fmt(x + 4.4)}" y="5.9" width="6.2" height="3.2" rx="0.4" fill="{c}"/>')
    return "".join(out)


def tab_images():
    defs, body = [], []
    for index, draw in enumerate((camera, film)):
        x = index * CHIP
        body.append(chip_base(x, defs))
        body.append(draw(x))
    return svg(CHIP * 2, CHIP, defs, body)


def main():
    write("bitmap-241.svg", tab_images())


if __name__ == "__main__":
    main()
