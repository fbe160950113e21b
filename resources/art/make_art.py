#!/usr/bin/env python3
"""Writes the viewer's artwork as SVG files beside this script.

The panel backgrounds (163, 164, 165), the pressed images (1 to 14), the TV-frame pieces
(202 to 209), the keypad's skin (184, and 185 with its keys held down), the program icon (128)
and the cursors are drawn from one palette and one set of glyphs, so the three panel widths look alike and every pressed image lies exactly over the
button it replaces. The button positions here are the ones viewer/panel/PanelLayout.cpp uses;
tests/viewer/panel checks that the two agree on the rendered pixels.

Run it after changing the art: python3 resources/art/make_art.py
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# --- palette -------------------------------------------------------------------------------
STRIP_STOPS = [(0.0, "#4a515b"), (0.06, "#353a42"), (0.45, "#262a30"), (1.0, "#181a1e")]
STRIP_TOP_LINE = "#6a727d"
STRIP_BOTTOM_LINE = "#0a0b0d"
BUTTON_STOPS = [(0.0, "#545c67"), (0.5, "#3a4049"), (1.0, "#2b3037")]
BUTTON_PRESSED_STOPS = [(0.0, "#15171a"), (0.6, "#1f2227"), (1.0, "#2a2f35")]
BUTTON_BORDER = "#0c0d10"
GLYPH = "#dde3ea"
GLYPH_PRESSED = "#6fe3ff"
EXIT_GLYPH = "#f07a6c"
EXIT_GLYPH_PRESSED = "#ff9d90"
MUTE_LIT = "#ff5a4c"
LCD_STOPS = [(0.0, "#061317"), (1.0, "#0b2128")]

STRIP_H = 60
ROW_TOP = 7
ROW_BOTTOM = 31
BUTTON_W, BUTTON_H = 28, 22
SMALL_BUTTON_W = 16

# The three layouts: each button's left edge and row, each display's rectangle.
# Keys: region name -> (x, row or rectangle).
WIDE = {
    "width": 480,
    "channel_display": (8, 7, 88, 46),
    "volume_display": (138, 7, 124, 46),
    "buttons": {
        "channel_up": (102, ROW_TOP), "channel_down": (102, ROW_BOTTOM),
        "volume_up": (268, ROW_TOP), "volume_down": (268, ROW_BOTTOM),
        "mute": (306, ROW_TOP), "video_source": (306, ROW_BOTTOM),
        "capture": (338, ROW_TOP), "keypad": (338, ROW_BOTTOM),
        "info": (370, ROW_TOP), "channel_info": (370, ROW_BOTTOM),
        "exit": (408, ROW_TOP), "configuration": (408, ROW_BOTTOM),
    },
    "grooves": [133, 265, 301, 403],
    "end_cap": True,
}
MEDIUM = {
    "width": 320,
    "channel_display": (4, 7, 52, 46),
    "volume_display": (90, 7, 70, 46),
    "buttons": {
        "channel_up": (59, ROW_TOP), "channel_down": (59, ROW_BOTTOM),
        "volume_up": (163, ROW_TOP), "volume_down": (163, ROW_BOTTOM),
        "mute": (194, ROW_TOP), "video_source": (194, ROW_BOTTOM),
        "capture": (225, ROW_TOP), "keypad": (225, ROW_BOTTOM),
        "info": (256, ROW_TOP), "channel_info": (256, ROW_BOTTOM),
        "exit": (287, ROW_TOP), "configuration": (287, ROW_BOTTOM),
    },
    "grooves": [],
    "end_cap": False,
}
NARROW = {
    "width": 160,
    "channel_display": (3, 7, 42, 46),
    "volume_display": None,
    "buttons": {
        "channel_up_small": (48, ROW_TOP), "channel_down_small": (48, ROW_BOTTOM),
        "volume_up": (67, ROW_TOP), "volume_down": (67, ROW_BOTTOM),
        "mute": (98, ROW_TOP), "video_source": (98, ROW_BOTTOM),
        "exit": (129, ROW_TOP), "configuration": (129, ROW_BOTTOM),
    },
    "grooves": [],
    "end_cap": False,
}

PRESSED_IMAGES = {
    1: "channel_up", 2: "channel_down", 3: "volume_up", 4: "volume_down", 5: "exit",
    6: "capture", 7: "configuration", 9: "video_source", 10: "keypad",
    11: "channel_up_small", 12: "channel_down_small", 13: "info", 14: "channel_info",
}


def fmt(v):
    s = f"{v:.3f}".rstrip("0").rstrip(".")
    return s if s != "-0" else "0"


def gradient(gid, stops, x1=0, y1=0, x2=0, y2=1, units="objectBoundingBox"):
    out = [f'<linearGradient id="{gid}" x1="{fmt(x1)}" y1="{fmt(y1)}" x2="{fmt(x2)}" y2="{fmt(y2)}" '
           f'gradientUnits="{units}">']
    for offset, colour, *opacity in stops:
        op = f' stop-opacity="{fmt(opacity[0])}"' if opacity else ""
        out.append(f'<stop offset="{fmt(offset)}" stop-color="{colour}"{op}/>')
    out.append("</linearGradient>")
    return "".join(out)


def svg(width, height, defs, body, view=None):
    vb = view or f"0 0 {width} {height}"
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{width}" height="{height}" viewBox="{vb}">\n'
            f'<defs>{"".join(defs)}</defs>\n' + "\n".join(body) + "\n</svg>\n")


# --- glyphs ---------------------------------------------------------------------------------
# Each glyph is drawn centred on (cx, cy) in the given colour.

def stroke(d, colour, width=2.0, cap="round", join="round"):
    return (f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{fmt(width)}" '
            f'stroke-linecap="{cap}" stroke-linejoin="{join}"/>')


def fill(d, colour, opacity=None):
    op = f' fill-opacity="{fmt(opacity)}"' if opacity is not None else ""
    return f'<path d="{d}" fill="{colour}"{op}/>'


def chevron(cx, cy, colour, up, half=5.0, rise=3.0):
    s = -1 if up else 1
    return stroke(f"M{fmt(cx - half)},{fmt(cy - s * rise)} L{fmt(cx)},{fmt(cy + s * rise)} "
                  f"L{fmt(cx + half)},{fmt(cy - s * rise)}", colour, 2.2)


def speaker_path(x, cy, scale=1.0):
    # A small loudspeaker: the box and the cone, left edge at x.
    k = scale
    return (f"M{fmt(x)},{fmt(cy - 2.2 * k)} h{fmt(2.6 * k)} l{fmt(3.6 * k)},{fmt(-3.2 * k)} "
            f"v{fmt(10.4 * k)} l{fmt(-3.6 * k)},{fmt(-3.2 * k)} h{fmt(-2.6 * k)} z")


def glyph_volume(cx, cy, colour, plus):
    out = [fill(speaker_path(cx - 8.5, cy, 0.95), colour)]
    sx = cx + 4.5
    out.append(stroke(f"M{fmt(sx - 3)},{fmt(cy)} h6", colour, 2.0, "butt"))
    if plus:
        out.append(stroke(f"M{fmt(sx)},{fmt(cy - 3)} v6", colour, 2.0, "butt"))
    return "".join(out)


def glyph_mute(cx, cy, colour):
    out = [fill(speaker_path(cx - 7.5, cy, 1.0), colour)]
    x0 = cx + 2.5
    out.append(stroke(f"M{fmt(x0)},{fmt(cy - 3)} l6,6 M{fmt(x0 + 6)},{fmt(cy - 3)} l-6,6", colour, 1.8))
    return "".join(out)


def glyph_source(cx, cy, colour):
    # An input: a screen outline with an arrow entering it from the left.
    out = [stroke(f"M{fmt(cx - 2)},{fmt(cy - 6.5)} h8 a1.5,1.5 0 0 1 1.5,1.5 v10 a1.5,1.5 0 0 1 -1.5,1.5 h-8",
                  colour, 1.6)]
    out.append(stroke(f"M{fmt(cx - 9)},{fmt(cy)} h9 M{fmt(cx - 3)},{fmt(cy - 3.5)} l3.5,3.5 l-3.5,3.5",
                      colour, 1.8))
    return "".join(out)


def glyph_power(cx, cy, colour):
    r = 5.6
    a0 = math.radians(-55)
    a1 = math.radians(235)
    x0, y0 = cx + r * math.sin(a0), cy - r * math.cos(a0)
    x1, y1 = cx + r * math.sin(a1), cy - r * math.cos(a1)
    arc = f"M{fmt(x1)},{fmt(y1)} A{fmt(r)},{fmt(r)} 0 1 0 {fmt(x0)},{fmt(y0)}"
    # The arc runs clockwise from the upper left round the bottom to the upper right.
    arc = f"M{fmt(x0)},{fmt(y0)} A{fmt(r)},{fmt(r)} 0 1 1 {fmt(x1)},{fmt(y1)}"
    return stroke(arc, colour, 1.9) + stroke(f"M{fmt(cx)},{fmt(cy - 7)} v6", colour, 1.9)


def glyph_camera(cx, cy, colour):
    body = (f"M{fmt(cx - 8)},{fmt(cy - 3.5)} a1.5,1.5 0 0 1 1.5,-1.5 h3 l1.5,-2 h5 l1.5,2 h3 "
            f"a1.5,1.5 0 0 1 1.5,1.5 v8 a1.5,1.5 0 0 1 -1.5,1.5 h-13 a1.5,1.5 0 0 1 -1.5,-1.5 z")
    return (fill(body, colour)
            + f'<circle cx="{fmt(cx)}" cy="{fmt(cy + 0.5)}" r="3.6" fill="#1d2126"/>'
            + f'<circle cx="{fmt(cx)}" cy="{fmt(cy + 0.5)}" r="2.1" fill="{colour}"/>')


def glyph_gear(cx, cy, colour, background):
    teeth = 8
    r_out, r_in = 7.0, 5.2
    pts = []
    for i in range(teeth):
        base = 2 * math.pi * i / teeth
        for da, r in ((-0.20, r_in), (-0.12, r_out), (0.12, r_out), (0.20, r_in)):
            a = base + da * 2 * math.pi / teeth * 2.2
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    d = "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in pts) + " z"
    return fill(d, colour) + f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="2.3" fill="{background}"/>'


def glyph_keypad(cx, cy, colour):
    out = []
    for row in (-1, 0, 1):
        for col in (-1, 0, 1):
            out.append(f'<rect x="{fmt(cx + col * 4.6 - 1.5)}" y="{fmt(cy + row * 4.6 - 1.5)}" '
                       f'width="3" height="3" rx="0.6" fill="{colour}"/>')
    return "".join(out)


def glyph_info(cx, cy, colour):
    return (stroke(f"M{fmt(cx - 7)},{fmt(cy)} a7,7 0 1 0 14,0 a7,7 0 1 0 -14,0", colour, 1.5)
            + f'<circle cx="{fmt(cx)}" cy="{fmt(cy - 3.6)}" r="1.25" fill="{colour}"/>'
            + stroke(f"M{fmt(cx)},{fmt(cy - 1)} v5.2", colour, 2.0, "round"))


def glyph_guide(cx, cy, colour):
    # The programme guide of the channel: three listed rows.
    out = []
    for i, y in enumerate((cy - 4.5, cy, cy + 4.5)):
        out.append(f'<rect x="{fmt(cx - 8)}" y="{fmt(y - 1.25)}" width="2.5" height="2.5" rx="0.5" fill="{colour}"/>')
        out.append(stroke(f"M{fmt(cx - 3.5)},{fmt(y)} h{fmt(11 - 3 * (i == 1))}", colour, 2.0, "round"))
    return "".join(out)


def glyph(name, cx, cy, colour, background):
    if name in ("channel_up", "channel_up_small"):
        return chevron(cx, cy, colour, True, 5.0 if name == "channel_up" else 3.8)
    if name in ("channel_down", "channel_down_small"):
        return chevron(cx, cy, colour, False, 5.0 if name == "channel_down" else 3.8)
    if name == "volume_up":
        return glyph_volume(cx, cy, colour, True)
    if name == "volume_down":
        return glyph_volume(cx, cy, colour, False)
    if name == "mute":
        return glyph_mute(cx, cy, colour)
    if name == "video_source":
        return glyph_source(cx, cy, colour)
    if name == "exit":
        return glyph_power(cx, cy, colour)
    if name == "capture":
        return glyph_camera(cx, cy, colour)
    if name == "configuration":
        return glyph_gear(cx, cy, colour, background)
    if name == "keypad":
        return glyph_keypad(cx, cy, colour)
    if name == "info":
        return glyph_info(cx, cy, colour)
    if name == "channel_info":
        return glyph_guide(cx, cy, colour)
    raise ValueError(name)


# --- buttons and wells ----------------------------------------------------------------------

def button_width(name):
    return SMALL_BUTTON_W if name.endswith("_small") else BUTTON_W


def button(name, x, y, state, defs):
    """One button. state: 'up' (drawn into the backgrounds), 'pressed' or 'lit' (mute on)."""
    w, h = button_width(name), BUTTON_H
    # A pressed button, and the mute button while the sound is off, sit lower than the strip.
    sunk = state in ("pressed", "lit")
    gid = "btnPressed" if sunk else "btnUp"
    if not any(gid in d for d in defs):
        defs.append(gradient(gid, BUTTON_PRESSED_STOPS if sunk else BUTTON_STOPS))
    out = [f'<rect x="{fmt(x + 0.5)}" y="{fmt(y + 0.5)}" width="{w - 1}" height="{h - 1}" rx="3.5" '
           f'fill="url(#{gid})" stroke="{BUTTON_BORDER}" stroke-width="1"/>']
    if sunk:
        # Inner shadow along the top.
        out.append(stroke(f"M{fmt(x + 3)},{fmt(y + 1.6)} h{w - 6}", "#000000", 1.2, "butt")
                   .replace("/>", ' stroke-opacity="0.55"/>'))
    else:
        out.append(stroke(f"M{fmt(x + 3.5)},{fmt(y + 1.5)} h{w - 7}", "#ffffff", 1.0, "butt")
                   .replace("/>", ' stroke-opacity="0.22"/>'))
    cx, cy = x + w / 2, y + h / 2 + (1 if sunk else 0)
    if state == "pressed":
        colour = EXIT_GLYPH_PRESSED if name == "exit" else GLYPH_PRESSED
        background = "#1f2227"
    elif state == "lit":
        colour = MUTE_LIT
        background = "#1f2227"
    else:
        colour = EXIT_GLYPH if name == "exit" else GLYPH
        background = "#3a4049"
    if state == "pressed":
        # A soft glow under the lit glyph.
        out.append(f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{fmt(w * 0.34)}" ry="7" '
                   f'fill="{colour}" fill-opacity="0.10"/>')
    if state == "lit":
        # The face glows faintly red round the lit glyph.
        out.append(f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{fmt(w * 0.36)}" ry="7.5" '
                   f'fill="{MUTE_LIT}" fill-opacity="0.16"/>')
    out.append(glyph(name, cx, cy, colour, background))
    return "".join(out)


def well(x, y, w, h, defs):
    """A recessed display window with a dark teal glass."""
    if not any('id="lcd"' in d for d in defs):
        defs.append(gradient("lcd", LCD_STOPS))
        defs.append(gradient("glass", [(0.0, "#ffffff", 0.07), (1.0, "#ffffff", 0.0)]))
    return "".join([
        # The rim: dark above and left, a faint light edge below.
        f'<rect x="{fmt(x + 0.5)}" y="{fmt(y + 0.5)}" width="{w - 1}" height="{h - 1}" rx="4" '
        f'fill="#08090b" stroke="#ffffff" stroke-opacity="0.10" stroke-width="1"/>',
        f'<rect x="{x + 2}" y="{y + 2}" width="{w - 4}" height="{h - 4}" rx="2.5" fill="url(#lcd)"/>',
        f'<rect x="{x + 2}" y="{y + 2}" width="{w - 4}" height="{fmt((h - 4) * 0.42)}" rx="2.5" fill="url(#glass)"/>',
    ])


def groove(x, defs):
    return (f'<rect x="{x}" y="10" width="1" height="40" fill="#0b0c0e" fill-opacity="0.85"/>'
            f'<rect x="{x + 1}" y="10" width="1" height="40" fill="#ffffff" fill-opacity="0.07"/>')


def strip_body(width, defs, end_cap):
    defs.append(gradient("strip", STRIP_STOPS, 0, 0, 0, STRIP_H, "userSpaceOnUse"))
    out = [f'<rect x="0" y="0" width="{width}" height="{STRIP_H}" fill="url(#strip)"/>',
           f'<rect x="0" y="0" width="{width}" height="1" fill="{STRIP_TOP_LINE}"/>',
           f'<rect x="0" y="{STRIP_H - 1}" width="{width}" height="1" fill="{STRIP_BOTTOM_LINE}"/>',
           # The left end: a dark edge and a faint light bevel.
           f'<rect x="0" y="0" width="1" height="{STRIP_H}" fill="#0a0b0d"/>',
           f'<rect x="1" y="1" width="1" height="{STRIP_H - 2}" fill="#ffffff" fill-opacity="0.08"/>']
    if end_cap:
        # The right end: grip ridges and the closing bevel.
        for i, gy in enumerate(range(21, 40, 4)):
            out.append(f'<rect x="462" y="{gy}" width="6" height="1" fill="#0b0c0e" fill-opacity="0.9"/>')
            out.append(f'<rect x="462" y="{gy + 1}" width="6" height="1" fill="#ffffff" fill-opacity="0.09"/>')
        out.append(f'<rect x="{width - 2}" y="1" width="1" height="{STRIP_H - 2}" fill="#000000" fill-opacity="0.35"/>')
        out.append(f'<rect x="{width - 1}" y="0" width="1" height="{STRIP_H}" fill="#0a0b0d"/>')
    return out


def background(layout):
    defs = []
    body = strip_body(layout["width"], defs, layout["end_cap"])
    for x in layout["grooves"]:
        body.append(groove(x, defs))
    for rect_key in ("channel_display", "volume_display"):
        r = layout[rect_key]
        if r:
            body.append(well(*r, defs))
    for name, (x, y) in layout["buttons"].items():
        body.append(button(name, x, y, "up", defs))
    return svg(layout["width"], STRIP_H, defs, body)


def pressed_image(name, state="pressed"):
    defs = []
    body = [button(name, 0, 0, state, defs)]
    return svg(button_width(name), BUTTON_H, defs, body)


# --- TV frame -------------------------------------------------------------------------------
# A 10-pixel frame of dark metal, lit from the upper left: the top and left pieces are lighter.
FRAME_ACROSS = [(0.0, "#5c646e"), (0.35, "#3b4149"), (1.0, "#1e2125")]
FRAME_ACROSS_DARK = [(0.0, "#2a2e34"), (0.5, "#202328"), (1.0, "#15171a")]


def frame_edge(side):
    defs = []
    # The gradient runs from the outer edge of the frame to the picture.
    if side == "top":
        defs.append(gradient("g", FRAME_ACROSS, 0, 0, 0, 1))
    elif side == "left":
        defs.append(gradient("g", FRAME_ACROSS, 0, 0, 1, 0))
    elif side == "bottom":
        defs.append(gradient("g", FRAME_ACROSS_DARK, 0, 1, 0, 0))
    else:
        defs.append(gradient("g", FRAME_ACROSS_DARK, 1, 0, 0, 0))
    return svg(10, 10, defs, ['<rect x="0" y="0" width="10" height="10" fill="url(#g)"/>'])


def frame_corner(corner):
    """A mitred corner: the two edges that meet there, split along the diagonal."""
    horizontal = "top" if corner[0] == "t" else "bottom"
    vertical = "left" if corner[1] == "l" else "right"
    stops = {"top": (FRAME_ACROSS, (0, 0, 0, 1)), "bottom": (FRAME_ACROSS_DARK, (0, 1, 0, 0)),
             "left": (FRAME_ACROSS, (0, 0, 1, 0)), "right": (FRAME_ACROSS_DARK, (1, 0, 0, 0))}
    defs = [gradient("h", stops[horizontal][0], *stops[horizontal][1]),
            gradient("v", stops[vertical][0], *stops[vertical][1])]
    # Outer corner point and inner corner point of the mitre.
    ox = 0 if vertical == "left" else 10
    oy = 0 if horizontal == "top" else 10
    ix, iy = 10 - ox, 10 - oy
    h_tri = f"M{ox},{oy} L{ix},{oy} L{ix},{iy} z"   # along the horizontal edge
    v_tri = f"M{ox},{oy} L{ox},{iy} L{ix},{iy} z"   # along the vertical edge
    body = ['<rect x="0" y="0" width="10" height="10" fill="url(#v)"/>',
            f'<path d="{v_tri}" fill="url(#v)"/>', f'<path d="{h_tri}" fill="url(#h)"/>']
    return svg(10, 10, defs, body)


FRAME_PIECES = {202: ("corner", "tl"), 203: ("corner", "tr"), 204: ("corner", "bl"),
                205: ("corner", "br"), 206: ("edge", "top"), 207: ("edge", "bottom"),
                208: ("edge", "left"), 209: ("edge", "right")}


# --- icon -----------------------------------------------------------------------------------

def icon():
    defs = [gradient("tile", [(0.0, "#3c434d"), (1.0, "#16181c")]),
            gradient("screen", [(0.0, "#7fe8ff"), (0.55, "#2aa6d6"), (1.0, "#13507a")]),
            gradient("shine", [(0.0, "#ffffff", 0.45), (1.0, "#ffffff", 0.0)])]
    body = [
        '<rect x="2" y="2" width="60" height="60" rx="13" fill="url(#tile)" stroke="#0a0b0d" stroke-width="2"/>',
        '<rect x="4" y="4" width="56" height="28" rx="11" fill="#ffffff" fill-opacity="0.06"/>',
        # Antennas.
        stroke("M32,17 L22,7 M32,17 L43,8", "#c9d1da", 2.4),
        '<circle cx="22" cy="7" r="2.2" fill="#c9d1da"/>', '<circle cx="43" cy="8" r="2.2" fill="#c9d1da"/>',
        # Cabinet and screen.
        '<rect x="9" y="17" width="46" height="36" rx="6" fill="#d7dde4" stroke="#0a0b0d" stroke-width="1.5"/>',
        '<rect x="13" y="21" width="31" height="28" rx="5" fill="url(#screen)" stroke="#0d2a3a" stroke-width="1"/>',
        '<path d="M15,24 q14,-3 27,0 v7 q-13,4 -27,1 z" fill="url(#shine)"/>',
        # Knobs.
        '<circle cx="49.5" cy="27" r="2.6" fill="#394049"/>', '<circle cx="49.5" cy="35" r="2.6" fill="#394049"/>',
        '<rect x="47" y="41" width="5" height="1.6" rx="0.8" fill="#394049"/>',
        '<rect x="47" y="44.5" width="5" height="1.6" rx="0.8" fill="#394049"/>',
        # Stand.
        '<rect x="19" y="53" width="6" height="4" rx="1" fill="#c9d1da"/>',
        '<rect x="39" y="53" width="6" height="4" rx="1" fill="#c9d1da"/>',
    ]
    return svg(32, 32, defs, body, "0 0 64 64")


# --- cursors --------------------------------------------------------------------------------
CURSOR_FILL = "#ffffff"
CURSOR_LINE = "#111316"


def cursor(shape_d):
    """A white shape with a dark outline and a soft shadow below and right of it."""
    body = [f'<path d="{shape_d}" transform="translate(1.2,1.6)" fill="#000000" fill-opacity="0.28" '
            f'stroke="#000000" stroke-opacity="0.18" stroke-width="2.4" stroke-linejoin="round"/>',
            f'<path d="{shape_d}" fill="{CURSOR_FILL}" stroke="{CURSOR_LINE}" stroke-width="1.4" '
            f'stroke-linejoin="round"/>']
    return svg(32, 32, [], body)


def double_arrow(length, head=5.5, shaft=1.6, wing=5.0):
    """A horizontal two-headed arrow centred on (16, 16), as one outline."""
    half = length / 2
    cx, cy = 16, 16
    pts = [(cx - half, cy), (cx - half + head, cy - wing), (cx - half + head, cy - shaft),
           (cx + half - head, cy - shaft), (cx + half - head, cy - wing), (cx + half, cy),
           (cx + half - head, cy + wing), (cx + half - head, cy + shaft), (cx - half + head, cy + shaft),
           (cx - half + head, cy + wing)]
    return "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in pts) + " z", pts


def rotated(pts, degrees):
    a = math.radians(degrees)
    out = []
    for x, y in pts:
        dx, dy = x - 16, y - 16
        out.append((16 + dx * math.cos(a) - dy * math.sin(a), 16 + dx * math.sin(a) + dy * math.cos(a)))
    return "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in out) + " z"


def cursors():
    arrow = "M4,3 L4,24 L9.2,19.2 L12.6,27.2 L16.2,25.7 L12.9,17.9 L20,17.9 z"
    _, pts = double_arrow(24)
    move = []
    # Four arrows from the centre: one outline made of a cross with arrow heads.
    s, h, w, L = 1.6, 5.0, 4.6, 12.5
    c = 16
    move_pts = [
        (c, c - L), (c + w, c - L + h), (c + s, c - L + h), (c + s, c - s), (c + L - h, c - s),
        (c + L - h, c - w), (c + L, c), (c + L - h, c + w), (c + L - h, c + s), (c + s, c + s),
        (c + s, c + L - h), (c + w, c + L - h), (c, c + L), (c - w, c + L - h), (c - s, c + L - h),
        (c - s, c + s), (c - L + h, c + s), (c - L + h, c + w), (c - L, c), (c - L + h, c - w),
        (c - L + h, c - s), (c - s, c - s), (c - s, c - L + h), (c - w, c - L + h)]
    move = "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in move_pts) + " z"
    return {
        227: cursor(arrow),
        228: cursor(rotated(pts, 0)),      # left and right edges
        235: cursor(rotated(pts, 90)),     # top and bottom edges
        236: cursor(rotated(pts, -45)),    # top-right and bottom-left corners
        237: cursor(rotated(pts, 45)),     # top-left and bottom-right corners
        239: cursor(move),                 # moving the window
    }


# --- remote keypad --------------------------------------------------------------------------
# The keypad's skin (184) and the same skin with every key held down (185): a 120 by 180 body of
# the strip's dark metal, a title strip with the minimise key, the display glass, the number
# keys, the list keys and the bottom row. The key rectangles are the ones
# viewer/keypad/KeypadLayout.cpp uses; tests/viewer/keypad checks that the two agree.
KEYPAD_W, KEYPAD_H = 120, 180
KEYPAD_TOP_STRIP = 14
KEYPAD_GLASS = (6, 18, 108, 35)
KEYPAD_KEYS = {
    "1": (11, 59, 27, 75), "2": (35, 59, 51, 75), "3": (59, 59, 75, 75),
    "4": (11, 83, 27, 99), "5": (35, 83, 51, 99), "6": (59, 83, 75, 99),
    "7": (11, 107, 27, 123), "8": (35, 107, 51, 123), "9": (59, 107, 75, 123),
    "<": (11, 131, 27, 147), "0": (35, 131, 51, 147), ">": (59, 131, 75, 147),
    "S": (64, 157, 80, 171), "D": (87, 157, 103, 171),
    "list_up": (90, 60, 113, 83), "list_down": (90, 100, 113, 123),
    "restore": (17, 157, 50, 171), "minimise": (105, 1, 118, KEYPAD_TOP_STRIP),
}

# A small stroke font on a 4 by 6 grid (x to the right, y down), for the key captions and labels.
STROKE_FONT = {
    "0": "M0,1.3 Q0,0 1.3,0 H2.7 Q4,0 4,1.3 V4.7 Q4,6 2.7,6 H1.3 Q0,6 0,4.7 Z",
    "1": "M0.9,1.3 L2.4,0 V6 M0.9,6 H3.9",
    "2": "M0.1,1.3 Q0.5,0 2,0 Q4,0 4,1.7 Q4,2.9 2.2,4 L0,6 H4",
    "3": "M0.2,0 H3.9 L1.9,2.5 Q4,2.5 4,4.2 Q4,6 2,6 Q0.7,6 0,5.2",
    "4": "M3,6 V0 L0,4.1 H4.2",
    "5": "M3.8,0 H0.5 L0.2,2.7 Q1,2.3 2,2.3 Q4,2.3 4,4.1 Q4,6 2,6 Q0.7,6 0,5.2",
    "6": "M3.6,0.4 Q3.1,0 2.1,0 Q0,0 0,3.3 V4.2 Q0,6 2,6 Q4,6 4,4.1 Q4,2.4 2,2.4 Q0.6,2.4 0,3.5",
    "7": "M0,0 H4 L1.5,6",
    "8": "M2,2.8 Q0.3,2.8 0.3,1.4 Q0.3,0 2,0 Q3.7,0 3.7,1.4 Q3.7,2.8 2,2.8 Q0,2.8 0,4.4 Q0,6 2,6 Q4,6 4,4.4 "
         "Q4,2.8 2,2.8 Z",
    "9": "M0.4,5.6 Q0.9,6 1.9,6 Q4,6 4,2.7 V1.8 Q4,0 2,0 Q0,0 0,1.9 Q0,3.6 2,3.6 Q3.4,3.6 4,2.5",
    "S": "M3.8,0.8 Q3.2,0 2,0 Q0.2,0 0.2,1.5 Q0.2,2.6 2,3 Q4,3.4 4,4.6 Q4,6 2,6 Q0.7,6 0,5.1",
    "D": "M0.2,0 V6 H1.8 Q4,6 4,3 Q4,0 1.8,0 Z",
    "C": "M4,0.8 Q3.3,0 2.1,0 Q0,0 0,3 Q0,6 2.1,6 Q3.3,6 4,5.2",
    "H": "M0,0 V6 M4,0 V6 M0,3 H4",
    "K": "M0,0 V6 M4,0 L0,3.7 M1.4,2.5 L4,6",
    "E": "M3.8,0 H0 V6 H3.8 M0,3 H3",
    "L": "M0,0 V6 H3.8",
    "T": "M0,0 H4 M2,0 V6",
    "O": "M0,1.6 Q0,0 2,0 Q4,0 4,1.6 V4.4 Q4,6 2,6 Q0,6 0,4.4 Z",
}


def stroke_text(text, x, y, height, colour, width, spacing=1.6):
    """`text` in the stroke font, its top-left corner at (x, y), `height` pixels high."""
    k = height / 6.0
    out = []
    for i, ch in enumerate(text):
        d = STROKE_FONT[ch]
        ox = x + i * (4 + spacing) * k
        out.append(f'<path d="{d}" transform="translate({fmt(ox)},{fmt(y)}) scale({fmt(k)})" fill="none" '
                   f'stroke="{colour}" stroke-width="{fmt(width / k)}" stroke-linecap="round" '
                   f'stroke-linejoin="round"/>')
    return "".join(out)


def stroke_text_width(text, height, spacing=1.6):
    k = height / 6.0
    return (len(text) * 4 + (len(text) - 1) * spacing) * k


def keypad_key(name, rect, pressed, defs):
    left, top, right, bottom = rect
    w, h = right - left, bottom - top
    gid = "kpPressed" if pressed else "kpUp"
    if not any(f'id="{gid}"' in d for d in defs):
        defs.append(gradient(gid, BUTTON_PRESSED_STOPS if pressed else BUTTON_STOPS))
    radius = 3.5 if min(w, h) >= 16 else 3
    out = [f'<rect x="{fmt(left + 0.5)}" y="{fmt(top + 0.5)}" width="{w - 1}" height="{h - 1}" rx="{fmt(radius)}" '
           f'fill="url(#{gid})" stroke="{BUTTON_BORDER}" stroke-width="1"/>']
    if pressed:
        out.append(stroke(f"M{fmt(left + 3)},{fmt(top + 1.6)} h{w - 6}", "#000000", 1.2, "butt")
                   .replace("/>", ' stroke-opacity="0.55"/>'))
    else:
        out.append(stroke(f"M{fmt(left + 3)},{fmt(top + 1.5)} h{w - 6}", "#ffffff", 1.0, "butt")
                   .replace("/>", ' stroke-opacity="0.22"/>'))
    colour = GLYPH_PRESSED if pressed else GLYPH
    cx, cy = left + w / 2, top + h / 2 + (0.5 if pressed else 0)
    if pressed:
        out.append(f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{fmt(w * 0.34)}" ry="{fmt(h * 0.3)}" '
                   f'fill="{colour}" fill-opacity="0.10"/>')
    if name in STROKE_FONT:
        gh = 7.0 if h >= 16 else 6.0
        gw = stroke_text_width(name, gh)
        out.append(stroke_text(name, cx - gw / 2, cy - gh / 2, gh, colour, 1.45))
    elif name in ("<", ">"):
        s = -1 if name == "<" else 1
        out.append(stroke(f"M{fmt(cx - s * 2)},{fmt(cy - 4)} L{fmt(cx + s * 2)},{fmt(cy)} L{fmt(cx - s * 2)},{fmt(cy + 4)}",
                          colour, 2.0))
    elif name in ("list_up", "list_down"):
        out.append(chevron(cx, cy - (2.5 if name == "list_up" else -2.5), colour, name == "list_up", 5.5, 3.2))
        out.append(chevron(cx, cy + (2.5 if name == "list_up" else -2.5), colour, name == "list_up", 5.5, 3.2)
                   .replace("/>", ' stroke-opacity="0.45"/>'))
    elif name == "restore":
        # Back to the viewer: a small screen with its panel strip.
        out.append(f'<rect x="{fmt(cx - 6.5)}" y="{fmt(cy - 4)}" width="13" height="8" rx="1.2" fill="none" '
                   f'stroke="{colour}" stroke-width="1.3"/>')
        out.append(f'<rect x="{fmt(cx - 4.5)}" y="{fmt(cy + 0.6)}" width="9" height="1.6" fill="{colour}"/>')
    elif name == "minimise":
        out.append(stroke(f"M{fmt(cx - 3)},{fmt(cy + 2.5)} h6", colour, 1.6))
    return "".join(out)


def keypad_skin(pressed):
    defs = [gradient("kpBody", [(0.0, "#3f4650"), (0.12, "#30353d"), (0.6, "#24282e"), (1.0, "#1a1c21")],
                     0, 0, 0, KEYPAD_H, "userSpaceOnUse"),
            gradient("kpTitle", [(0.0, "#4f5762"), (1.0, "#2c3138")], 0, 0, 0, KEYPAD_TOP_STRIP, "userSpaceOnUse")]
    body = [f'<rect x="0" y="0" width="{KEYPAD_W}" height="{KEYPAD_H}" fill="url(#kpBody)"/>',
            # The title strip: the program's name at the left.
            f'<rect x="0" y="0" width="{KEYPAD_W}" height="{KEYPAD_TOP_STRIP + 1}" fill="url(#kpTitle)"/>',
            f'<rect x="0" y="{KEYPAD_TOP_STRIP + 1}" width="{KEYPAD_W}" height="1" fill="#0b0c0e"/>',
            f'<rect x="0" y="{KEYPAD_TOP_STRIP + 2}" width="{KEYPAD_W}" height="1" fill="#ffffff" fill-opacity="0.06"/>',
            f'<circle cx="8" cy="7.5" r="2.2" fill="{GLYPH_PRESSED}" fill-opacity="0.85"/>',
            f'<circle cx="8" cy="7.5" r="3.6" fill="{GLYPH_PRESSED}" fill-opacity="0.15"/>',
            stroke_text("KELTO", 14, 5, 5, "#c9d1da", 1.1, 1.8),
            # The outer edge: dark outline, light bevel above and left.
            f'<rect x="0.5" y="0.5" width="{KEYPAD_W - 1}" height="{KEYPAD_H - 1}" fill="none" stroke="#0a0b0d"/>',
            f'<rect x="1" y="1" width="{KEYPAD_W - 2}" height="1" fill="#ffffff" fill-opacity="0.12"/>',
            f'<rect x="1" y="1" width="1" height="{KEYPAD_H - 2}" fill="#ffffff" fill-opacity="0.07"/>',
            f'<rect x="{KEYPAD_W - 2}" y="2" width="1" height="{KEYPAD_H - 3}" fill="#000000" fill-opacity="0.35"/>',
            f'<rect x="2" y="{KEYPAD_H - 2}" width="{KEYPAD_W - 3}" height="1" fill="#000000" fill-opacity="0.35"/>',
            well(*KEYPAD_GLASS, defs),
            # The groove between the number keys and the list keys, and above the bottom row.
            f'<rect x="83" y="58" width="1" height="90" fill="#0b0c0e" fill-opacity="0.85"/>',
            f'<rect x="84" y="58" width="1" height="90" fill="#ffffff" fill-opacity="0.07"/>',
            f'<rect x="8" y="151" width="104" height="1" fill="#0b0c0e" fill-opacity="0.85"/>',
            f'<rect x="8" y="152" width="104" height="1" fill="#ffffff" fill-opacity="0.07"/>',
            # "CH" between the list keys.
            stroke_text("CH", 101.5 - stroke_text_width("CH", 6) / 2, 88.5, 6, "#8fa3b3", 1.2)]
    # A speaker grille under the list keys.
    for row in range(4):
        for col in range(5):
            body.append(f'<circle cx="{fmt(93 + col * 4.25)}" cy="{fmt(132 + row * 4.5)}" r="1.1" fill="#0b0c0e"/>')
            body.append(f'<circle cx="{fmt(93 + col * 4.25)}" cy="{fmt(132.6 + row * 4.5)}" r="1.1" fill="#ffffff" '
                        f'fill-opacity="0.05"/>')
    for name, rect in KEYPAD_KEYS.items():
        body.append(keypad_key(name, rect, pressed, defs))
    return svg(KEYPAD_W, KEYPAD_H, defs, body)


def write(name, text):
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as f:
        f.write(text)


def main():
    write("bitmap-163.svg", background(WIDE))
    write("bitmap-164.svg", background(MEDIUM))
    write("bitmap-165.svg", background(NARROW))
    for number, name in PRESSED_IMAGES.items():
        write(f"bitmap-{number}.svg", pressed_image(name))
    write("bitmap-8.svg", pressed_image("mute", "lit"))
    for number, (kind, where) in FRAME_PIECES.items():
        write(f"bitmap-{number}.svg", frame_corner(where) if kind == "corner" else frame_edge(where))
    write("bitmap-184.svg", keypad_skin(False))
    write("bitmap-185.svg", keypad_skin(True))
    write("icon-128.svg", icon())
    for number, text in cursors().items():
        write(f"cursor-{number}.svg", text)


if __name__ == "__main__":
    main()
