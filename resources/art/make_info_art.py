#!/usr/bin/env python3
"""Writes the configuration sheet's info-page artwork as SVG files beside this script.

135: the 80 x 80 tile under the scrolling text (it repeats seamlessly); 242 to 245: the pictures
the text's "BITMAP1^" to "BITMAP4^" lines stand for (the product, the multi-screen view, the
remote control, capture). Drawn with the viewer's palette (make_art.py).

Run it after changing the art: python3 resources/art/make_info_art.py
"""
import os

from make_art import GLYPH, GLYPH_PRESSED, fill, fmt, gradient, stroke, svg

HERE = os.path.dirname(os.path.abspath(__file__))

TILE_BASE = "#1c1f24"   # the scrolling text fades its edges into this colour
CYAN = GLYPH_PRESSED
CABINET_STOPS = [(0.0, "#59616c"), (0.45, "#363c45"), (1.0, "#1d2025")]
SCREEN_STOPS = [(0.0, "#7fe8ff"), (0.55, "#2aa6d6"), (1.0, "#13507a")]
SHINE_STOPS = [(0.0, "#ffffff", 0.40), (1.0, "#ffffff", 0.0)]


def background_tile():
    """Dark graphite with faint scan lines and a sparse cyan dot grid; every element repeats at
    the tile's edges, so the tiles join without a seam."""
    body = [f'<rect x="0" y="0" width="80" height="80" fill="{TILE_BASE}"/>']
    for y in range(0, 80, 4):
        body.append(f'<rect x="0" y="{y}" width="80" height="1" fill="#ffffff" fill-opacity="0.022"/>')
    for y in range(10, 80, 20):
        for x in range(10, 80, 20):
            body.append(f'<circle cx="{x}" cy="{y}" r="0.9" fill="{CYAN}" fill-opacity="0.10"/>')
    return svg(80, 80, [], body)


def tv_set(x, y, w, h, defs, screen_body):
    """A glossy graphite cabinet with a cyan screen; screen_body(sx, sy, sw, sh) draws on it."""
    sx, sy, sw, sh = x + 6, y + 6, w - 12, h - 16
    return "".join([
        f'<rect x="{fmt(x + 0.5)}" y="{fmt(y + 0.5)}" width="{w - 1}" height="{h - 1}" rx="7" '
        f'fill="url(#cabinet)" stroke="#0a0b0d" stroke-width="1"/>',
        f'<rect x="{x + 1.5}" y="{y + 1.5}" width="{w - 3}" height="{fmt((h - 3) * 0.45)}" rx="6" '
        f'fill="#ffffff" fill-opacity="0.07"/>',
        f'<rect x="{sx}" y="{sy}" width="{sw}" height="{sh}" rx="4" fill="#071419" stroke="#000000" '
        f'stroke-opacity="0.6"/>',
        screen_body(sx, sy, sw, sh),
        f'<path d="M{sx + 2},{sy + 2} h{sw - 4} v{fmt(sh * 0.32)} q-{fmt(sw / 2)},{fmt(sh * 0.12)} -{sw - 4},0 z" '
        f'fill="url(#shine)"/>',
        # The panel strip under the screen: a lit power mark and two keys.
        f'<circle cx="{x + w - 12}" cy="{y + h - 5}" r="1.8" fill="{CYAN}"/>',
        f'<rect x="{x + 10}" y="{y + h - 6.2}" width="10" height="2.4" rx="1.2" fill="{GLYPH}" fill-opacity="0.55"/>',
        f'<rect x="{x + 23}" y="{y + h - 6.2}" width="10" height="2.4" rx="1.2" fill="{GLYPH}" fill-opacity="0.55"/>',
    ])


def common_defs():
    return [gradient("cabinet", CABINET_STOPS), gradient("screen", SCREEN_STOPS), gradient("shine", SHINE_STOPS)]


def product_picture():
    """The product: a TV set with antennas, its screen showing a bright broadcast wave."""
    defs = common_defs()

    def screen(sx, sy, sw, sh):
        mid = sy + sh / 2
        wave = (f"M{sx + 6},{fmt(mid)} q{fmt(sw * 0.12)},-{fmt(sh * 0.35)} {fmt(sw * 0.22)},0 "
                f"t{fmt(sw * 0.22)},0 t{fmt(sw * 0.22)},0 t{fmt(sw * 0.22)},0")
        return (f'<rect x="{sx + 1}" y="{sy + 1}" width="{sw - 2}" height="{sh - 2}" rx="3.5" fill="url(#screen)"/>'
                + stroke(wave, "#ffffff", 2.4) + stroke(wave, "#e9fbff", 1.0))

    body = [
        stroke("M48,14 L36,3 M48,14 L62,4", "#c9d1da", 2.2),
        '<circle cx="36" cy="3" r="2.2" fill="#c9d1da"/>', '<circle cx="62" cy="4" r="2.2" fill="#c9d1da"/>',
        tv_set(8, 12, 80, 58, defs, screen),
        '<rect x="26" y="70" width="8" height="4" rx="1" fill="#8a939d"/>',
        '<rect x="62" y="70" width="8" height="4" rx="1" fill="#8a939d"/>',
    ]
    return svg(96, 76, defs, body)


def multiscreen_picture():
    """The multi-screen view: a monitor whose screen is a 3 by 3 grid of small live pictures."""
    defs = common_defs() + [gradient("cellA", [(0.0, "#6fe3ff"), (1.0, "#1b6e95")]),
                            gradient("cellB", [(0.0, "#9fd7a8"), (1.0, "#2f6b4a")]),
                            gradient("cellC", [(0.0, "#f2c879"), (1.0, "#8a5a24")])]
    fills = ["cellA", "cellB", "cellA", "cellC", "cellA", "cellB", "cellA", "cellC", "cellA"]

    def screen(sx, sy, sw, sh):
        out = []
        gap = 2
        cw, ch = (sw - 4 * gap) / 3, (sh - 4 * gap) / 3
        for i, name in enumerate(fills):
            cx, cy = sx + gap + (i % 3) * (cw + gap), sy + gap + (i // 3) * (ch + gap)
            out.append(f'<rect x="{fmt(cx)}" y="{fmt(cy)}" width="{fmt(cw)}" height="{fmt(ch)}" rx="1.5" '
                       f'fill="url(#{name})"/>')
        # The cell being shown large is outlined.
        out.append(f'<rect x="{fmt(sx + gap + cw + gap - 1)}" y="{fmt(sy + gap + ch + gap - 1)}" width="{fmt(cw + 2)}" '
                   f'height="{fmt(ch + 2)}" rx="2" fill="none" stroke="#ffffff" stroke-width="1.4"/>')
        return "".join(out)

    body = [tv_set(2, 2, 76, 56, defs, screen), '<rect x="30" y="58" width="20" height="4" rx="1.5" fill="#8a939d"/>']
    return svg(80, 64, defs, body)


def remote_picture():
    """The remote control: a slim graphite handset sending its signal."""
    defs = [gradient("handset", [(0.0, "#4f5761"), (0.5, "#353b44"), (1.0, "#22262c")], 0, 0, 1, 0)]
    body = [
        '<rect x="14.5" y="4.5" width="24" height="56" rx="9" fill="url(#handset)" stroke="#0a0b0d"/>',
        '<rect x="16" y="6" width="10" height="53" rx="5" fill="#ffffff" fill-opacity="0.06"/>',
        '<rect x="21" y="5.5" width="11" height="2" rx="1" fill="#f07a6c"/>',  # infrared window
        f'<circle cx="26.5" cy="15" r="3.6" fill="#f07a6c"/>',
        f'<circle cx="26.5" cy="15" r="1.6" fill="#2a0f0c" fill-opacity="0.55"/>',
    ]
    # Channel and volume rockers, then the number keys.
    body.append(f'<rect x="19" y="22" width="5" height="11" rx="2.5" fill="{CYAN}"/>')
    body.append(f'<rect x="29" y="22" width="5" height="11" rx="2.5" fill="{GLYPH}"/>')
    for row in range(4):
        for col in range(3):
            body.append(f'<rect x="{fmt(18.5 + col * 5.6)}" y="{fmt(37 + row * 5)}" width="4" height="3" rx="1" '
                        f'fill="{GLYPH}" fill-opacity="0.8"/>')
    # The signal.
    for i, r in enumerate((7, 12, 17)):
        body.append(stroke(f"M{fmt(44 + r * 0.5)},{fmt(6 - r * 0.55)} a{r},{r} 0 0 1 {fmt(r * 0.6)},{fmt(r * 1.2)}",
                           CYAN, 2.0 - i * 0.3))
    return svg(72, 64, defs, body)


def capture_picture():
    """Capture: a camera framed by the corner marks of a grabbed picture."""
    defs = [gradient("camera", CABINET_STOPS), gradient("lens", [(0.0, "#a5f0ff"), (0.5, "#2aa6d6"), (1.0, "#0b3550")])]
    corners = []
    for x, y, dx, dy in ((4, 4, 1, 1), (68, 4, -1, 1), (4, 60, 1, -1), (68, 60, -1, -1)):
        corners.append(stroke(f"M{x},{y + dy * 10} V{y} H{x + dx * 10}", CYAN, 2.2, "square", "miter"))
    body = corners + [
        '<path d="M16.5,22.5 a3,3 0 0 1 3,-3 h6 l3,-5 h15 l3,5 h6 a3,3 0 0 1 3,3 v22 a3,3 0 0 1 -3,3 h-33 '
        'a3,3 0 0 1 -3,-3 z" fill="url(#camera)" stroke="#0a0b0d"/>',
        '<rect x="18" y="21" width="38" height="8" rx="2.5" fill="#ffffff" fill-opacity="0.07"/>',
        '<circle cx="36" cy="33" r="10" fill="#0b0c0e"/>',
        '<circle cx="36" cy="33" r="7.5" fill="url(#lens)"/>',
        '<circle cx="33.5" cy="30.5" r="2.2" fill="#ffffff" fill-opacity="0.7"/>',
        f'<circle cx="51" cy="24" r="1.8" fill="#f07a6c"/>',
    ]
    return svg(72, 64, defs, body)


def write(name, text):
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as f:
        f.write(text)


def main():
    write("bitmap-135.svg", background_tile())
    write("bitmap-242.svg", product_picture())
    write("bitmap-243.svg", multiscreen_picture())
    write("bitmap-244.svg", remote_picture())
    write("bitmap-245.svg", capture_picture())


if __name__ == "__main__":
    main()
