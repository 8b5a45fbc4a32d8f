#!/usr/bin/env python3
"""Writes the SVG sources of the race pictures into this folder; run it after editing it."""
# The build renders the committed SVGs, not this script: run it by hand, look at the
# pictures, commit both. Random details use fixed seeds, so a rerun writes the same files.
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))

# One palette for the whole race screen.
OUTLINE = "#151a2c"
GRASS_A = "#4dbb46"
GRASS_B = "#45ad40"
GRASS_DARK = "#2f8c33"
DIRT = "#cf9a5c"
DIRT_DARK = "#ae7a43"
DIRT_LIGHT = "#e3b87e"
ASPHALT = "#454b58"
PAINT = "#f3f5f9"
KERB_RED = "#e33a3a"
PANEL_TOP = "#17284b"
PANEL_BOTTOM = "#0c1530"
NEON = "#34d6ff"
AMBER = "#ffb11f"
FONT = "font-family=\"DejaVu Sans\" font-weight=\"bold\""


def f(v):
    """Short decimal for coordinates."""
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def svg(w, h, body, defs=""):
    d = f"<defs>{defs}</defs>\n" if defs else ""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">\n{d}{body}\n</svg>\n')


def write(name, text):
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as out:
        out.write(text)


def lin(gid, stops, x1=0, y1=0, x2=0, y2=1):
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return (f'<linearGradient id="{gid}" x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}">'
            f"{s}</linearGradient>")


def rad(gid, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    fxy = f' fx="{fx}" fy="{fy}"' if fx is not None else ""
    return f'<radialGradient id="{gid}" cx="{cx}" cy="{cy}" r="{r}"{fxy}>{s}</radialGradient>'


def text(x, y, size, content, fill, anchor="middle", extra=""):
    return (f'<text x="{f(x)}" y="{f(y)}" font-size="{size}" {FONT} text-anchor="{anchor}" '
            f'fill="{fill}" {extra}>{content}</text>')


# ---------------------------------------------------------------- road tile

ROAD_W, ROAD_H = 676, 256   # 256 divides the 512-pixel scroll wrap
DIRT_X, ASPHALT_X, ASPHALT_END = 46, 159, 491
LANE_LINES = (268, 378)
DASH_PERIOD, DASH_LEN = 128, 56


def wrapped(y, h, draw):
    """Draws an item at y, and again one tile up or down where it crosses an edge."""
    out = draw(y)
    if y < h:
        out += draw(y + ROAD_H)
    if y > ROAD_H - h:
        out += draw(y - ROAD_H)
    return out


BUSH_LOBES = ((0, 0, 0.75), (-0.5, 0.3, 0.55), (0.5, 0.35, 0.55), (0, -0.45, 0.55))


def road_tile():
    rnd = random.Random(4)
    b = []
    # grass in mowing bands: they scroll with the road and show the speed
    b.append(f'<rect width="{ROAD_W}" height="{ROAD_H}" fill="{GRASS_A}"/>')
    for y in range(0, ROAD_H, 64):
        b.append(f'<rect y="{y + 32}" width="{ROAD_W}" height="32" fill="{GRASS_B}"/>')
    for _ in range(260):
        x = rnd.choice([rnd.uniform(0, DIRT_X), rnd.uniform(ASPHALT_END + 12, ROAD_W)])
        y = rnd.uniform(0, ROAD_H)
        c = rnd.choice([GRASS_DARK, "#5fcd55", "#3a9e3b"])
        b.append(wrapped(y, 6, lambda yy, x=x, c=c:
                         f'<path d="M{f(x)} {f(yy + 5)}l2 -5l1 5l2 -4l0.5 4z" fill="{c}"/>'))
    for _ in range(26):
        x = rnd.choice([rnd.uniform(3, DIRT_X - 6), rnd.uniform(ASPHALT_END + 16, 530)])
        y = rnd.uniform(0, ROAD_H)
        c = rnd.choice(["#ffffff", "#ffe14d", "#ffd0ea"])
        b.append(wrapped(y, 4, lambda yy, x=x, c=c:
                         f'<circle cx="{f(x)}" cy="{f(yy)}" r="1.6" fill="{c}"/>'
                         f'<circle cx="{f(x)}" cy="{f(yy)}" r="0.6" fill="#f5a623"/>'))
    # bushes peeking out from under the two panels
    for x, y, r in ((8, 40, 13), (5, 150, 11), (9, 212, 14), (534, 20, 13), (533, 120, 11),
                    (535, 190, 14)):
        def bush(yy, x=x, r=r):
            return "".join(
                f'<circle cx="{f(x + dx * r)}" cy="{f(yy + dy * r)}" r="{f(r * k + 1.3)}" '
                f'fill="{OUTLINE}"/>' for dx, dy, k in BUSH_LOBES) + "".join(
                f'<circle cx="{f(x + dx * r)}" cy="{f(yy + dy * r)}" r="{f(r * k)}" '
                f'fill="#2f9b3a"/>' for dx, dy, k in BUSH_LOBES) + "".join(
                f'<circle cx="{f(x + dx * r - r * 0.2)}" cy="{f(yy + dy * r - r * 0.25)}" '
                f'r="{f(r * k * 0.55)}" fill="#5fd25a"/>' for dx, dy, k in BUSH_LOBES)
        b.append(wrapped(y, 2 * r, bush))
    # dirt shoulder with a ragged grass edge (one wave per 128 pixels keeps it periodic)
    pts = []
    for i in range(0, ROAD_H + 1, 4):
        wob = 2.5 * math.sin(2 * math.pi * i / 128) + 1.5 * math.sin(2 * math.pi * i / 32)
        pts.append((DIRT_X + wob, i))
    edge = " ".join(f"{f(x)},{f(y)}" for x, y in pts)
    b.append(f'<polygon points="{edge} {ASPHALT_X + 1},{ROAD_H} {ASPHALT_X + 1},0" '
             f'fill="url(#dirt)"/>')
    b.append(f'<polyline points="{edge}" fill="none" stroke="{GRASS_DARK}" stroke-width="2"/>')
    for cx in (86, 124):   # wheel ruts
        b.append(f'<rect x="{cx - 7}" width="14" height="{ROAD_H}" fill="{DIRT_DARK}" '
                 f'opacity="0.45"/>')
        b.append(f'<rect x="{cx - 4}" width="8" height="{ROAD_H}" fill="{DIRT_DARK}" '
                 f'opacity="0.35"/>')
    for _ in range(120):
        x = rnd.uniform(DIRT_X + 6, ASPHALT_X - 4)
        y = rnd.uniform(0, ROAD_H)
        r = rnd.uniform(0.8, 2.4)
        c = rnd.choice([DIRT_DARK, DIRT_LIGHT, "#9c6b3a", "#f0cd98"])
        b.append(wrapped(y, 3, lambda yy, x=x, r=r, c=c:
                         f'<ellipse cx="{f(x)}" cy="{f(yy)}" rx="{f(r)}" ry="{f(r * 0.75)}" '
                         f'fill="{c}"/>'))
    # asphalt with a fine grain
    b.append(f'<rect x="{ASPHALT_X}" width="{ASPHALT_END - ASPHALT_X}" height="{ROAD_H}" '
             f'fill="url(#asphalt)"/>')
    for _ in range(900):
        x = rnd.uniform(ASPHALT_X + 2, ASPHALT_END - 2)
        y = rnd.uniform(0, ROAD_H)
        c = rnd.choice(["#3c414d", "#525968", "#4d5361", "#383d48"])
        b.append(wrapped(y, 2, lambda yy, x=x, c=c:
                         f'<rect x="{f(x)}" y="{f(yy)}" width="1.5" height="1.5" fill="{c}"/>'))
    # edge lines, kerb and lane dashes
    b.append(f'<rect x="{ASPHALT_X}" width="3" height="{ROAD_H}" fill="#2f333d"/>')
    b.append(f'<rect x="{ASPHALT_X + 3}" width="5" height="{ROAD_H}" fill="{PAINT}"/>')
    b.append(f'<rect x="{ASPHALT_END - 10}" width="5" height="{ROAD_H}" fill="{PAINT}"/>')
    for y in range(0, ROAD_H, 32):
        b.append(f'<rect x="{ASPHALT_END}" y="{y}" width="12" height="16" fill="{KERB_RED}"/>')
        b.append(f'<rect x="{ASPHALT_END}" y="{y + 16}" width="12" height="16" fill="{PAINT}"/>')
    b.append(f'<rect x="{ASPHALT_END + 12}" width="2" height="{ROAD_H}" fill="{GRASS_DARK}"/>')
    for y in range(100, ROAD_H, DASH_PERIOD):   # straight joints between concrete slabs
        b.append(f'<rect x="{ASPHALT_X + 8}" y="{y}" width="{ASPHALT_END - ASPHALT_X - 18}" '
                 f'height="1.5" fill="#3a3e48"/>')
    for lx in LANE_LINES:
        for y in range(0, ROAD_H, DASH_PERIOD):
            b.append(f'<rect x="{lx - 2.5}" y="{y + 36}" width="5" height="{DASH_LEN}" '
                     f'fill="{PAINT}"/>')
            # a cat's eye halfway along each gap (the gap wraps round the tile's top)
            b.append(f'<rect x="{lx - 1.5}" y="{(y + 36 + DASH_LEN + 36) % ROAD_H}" width="3" '
                     f'height="3" rx="1" fill="#ffc83a"/>')
    # the right edge column meets the right panel's frame
    b.append(f'<rect x="{ROAD_W - 1}" width="1" height="{ROAD_H}" fill="{PANEL_BOTTOM}"/>')
    defs = (lin("dirt", [(0, DIRT), (0.5, "#d6a468"), (1, DIRT)], 0, 0, 1, 0)
            + lin("asphalt", [(0, "#41464f"), (0.5, ASPHALT), (1, "#41464f")], 0, 0, 1, 0))
    write("ground_left.svg", svg(ROAD_W, ROAD_H, "\n".join(b), defs))


# ---------------------------------------------------------------- cars, seen from above, nose up

def shade(hex_colour, k):
    """Lighter (k > 0) or darker (k < 0) version of a colour."""
    r, g, b = (int(hex_colour[i:i + 2], 16) for i in (1, 3, 5))
    if k >= 0:
        r, g, b = (v + (255 - v) * k for v in (r, g, b))
    else:
        r, g, b = (v * (1 + k) for v in (r, g, b))
    return "#%02x%02x%02x" % tuple(int(round(min(255, max(0, v)))) for v in (r, g, b))


def paint_defs(gid, colour):
    """Body paint: dark flanks, a bright crown, as if lit from the upper left."""
    return lin(gid, [(0, shade(colour, -0.35)), (0.22, colour), (0.42, shade(colour, 0.35)),
                     (0.6, colour), (1, shade(colour, -0.45))], 0, 0, 1, 0)


GLASS = lin("glass", [(0, "#8fe3ff"), (0.45, "#2d5f8f"), (1, "#162c4c")], 0, 0, 0.4, 1)


def wheels(w, ys, wh=16, ww=7, inset=1):
    out = []
    for y in ys:
        for x in (inset, w - inset - ww):
            out.append(f'<rect x="{f(x)}" y="{f(y)}" width="{ww}" height="{wh}" rx="2" '
                       f'fill="#1c1f27" stroke="{OUTLINE}"/>')
    return "".join(out)


def indicators(w, h, on, front_y=6, rear_y=None):
    """Amber corner lamps; `on` lights them (the blinking frame)."""
    if not on:
        return ""
    rear_y = h - 8 if rear_y is None else rear_y
    out = []
    for x in (4.5, w - 4.5):
        for y in (front_y, rear_y):
            out.append(f'<circle cx="{f(x)}" cy="{f(y)}" r="3.6" fill="#ffd23a" '
                       f'stroke="#ff8a00" stroke-width="1.2"/>')
    return "".join(out)


def head_and_tail(w, h, front_y=5, rear_y=None, lamp_w=9, bright=False):
    rear_y = h - 6 if rear_y is None else rear_y
    out = []
    for x in (7, w - 7 - lamp_w):
        out.append(f'<rect x="{f(x)}" y="{f(front_y)}" width="{lamp_w}" height="4" rx="2" '
                   f'fill="#fffbe0" stroke="{OUTLINE}" stroke-width="0.8"/>')
        tail = "#ff3b3b" if not bright else "#ff9a9a"
        out.append(f'<rect x="{f(x)}" y="{f(rear_y)}" width="{lamp_w}" height="3.5" rx="1.5" '
                   f'fill="{tail}" stroke="{OUTLINE}" stroke-width="0.8"/>')
    return "".join(out)


def sports_car(colour, stripe, blink=None):
    """The player's racer, 48 x 90."""
    w, h = 48, 90
    defs = paint_defs("paint", colour) + GLASS
    body = ("M12 4 Q24 0 36 4 Q44 8 44 20 L43 44 Q42 50 43 56 L44 80 Q44 88 36 88 "
            "L12 88 Q4 88 4 80 L5 56 Q6 50 5 44 L4 20 Q4 8 12 4 Z")
    b = [wheels(w, (13, 63), wh=17)]
    b.append(f'<path d="{body}" fill="url(#paint)" stroke="{OUTLINE}" stroke-width="1.5"/>')
    b.append(f'<rect x="19.5" y="2" width="3" height="86" fill="{stripe}"/>'
             f'<rect x="25.5" y="2" width="3" height="86" fill="{stripe}"/>')
    b.append(f'<path d="M9 22 Q24 17 39 22" fill="none" stroke="{shade(colour, -0.4)}" '
             f'stroke-width="1"/>')   # bonnet crease
    b.append(f'<path d="M10 42 L38 42 L35 29 Q24 26 13 29 Z" fill="url(#glass)" '
             f'stroke="{OUTLINE}" stroke-width="1.2"/>')
    b.append('<path d="M14 31 L19 31 L15 40 L12 40 Z" fill="#d8f6ff" opacity="0.8"/>')
    b.append(f'<rect x="11" y="43" width="26" height="16" rx="4" fill="{shade(colour, 0.12)}" '
             f'stroke="{shade(colour, -0.45)}" stroke-width="1"/>')
    b.append(f'<rect x="19.5" y="43" width="3" height="16" fill="{stripe}"/>'
             f'<rect x="25.5" y="43" width="3" height="16" fill="{stripe}"/>')
    b.append(f'<path d="M12 60 L36 60 L34 68 L14 68 Z" fill="url(#glass)" stroke="{OUTLINE}" '
             f'stroke-width="1.2"/>')
    b.append(f'<rect x="2" y="34" width="4" height="5" rx="1.5" fill="{colour}" '
             f'stroke="{OUTLINE}"/><rect x="42" y="34" width="4" height="5" rx="1.5" '
             f'fill="{colour}" stroke="{OUTLINE}"/>')   # mirrors
    b.append(f'<rect x="5" y="79" width="38" height="6" rx="2" fill="{shade(colour, -0.5)}" '
             f'stroke="{OUTLINE}"/>')   # rear wing
    b.append(head_and_tail(w, h, front_y=5.5, rear_y=85.5))
    if blink is not None:
        b.append(indicators(w, h, blink))
    return svg(w, h, "".join(b), defs)


PLAYER_CARS = (   # body, stripes; the turbo colours are red, blue, yellow, red
    ("#e8302f", "#ffffff"),
    ("#2a74e6", "#ffffff"),
    ("#ffc21a", "#1d2333"),
    ("#2fbf5a", "#ffffff"),
)


def player_cars():
    for i, (body, stripe) in enumerate(PLAYER_CARS, start=1):
        write(f"car{i}.svg", sports_car(body, stripe))


def body_path(x0, y0, x1, y1, rn, rt):
    """Rounded body outline: nose radius rn at the top, tail radius rt at the bottom."""
    return (f"M{f(x0 + rn)} {f(y0)} L{f(x1 - rn)} {f(y0)} Q{f(x1)} {f(y0)} {f(x1)} {f(y0 + rn)} "
            f"L{f(x1)} {f(y1 - rt)} Q{f(x1)} {f(y1)} {f(x1 - rt)} {f(y1)} L{f(x0 + rt)} {f(y1)} "
            f"Q{f(x0)} {f(y1)} {f(x0)} {f(y1 - rt)} L{f(x0)} {f(y0 + rn)} "
            f"Q{f(x0)} {f(y0)} {f(x0 + rn)} {f(y0)} Z")


def cabin(w, top, bottom, colour, screen=10, rear=7, inset=6):
    """Windscreen, roof and rear window between y top and bottom."""
    l, r = inset, w - inset
    return (f'<path d="M{f(l)} {f(top + screen)} L{f(r)} {f(top + screen)} L{f(r - 3)} {f(top)} '
            f'Q{f(w / 2)} {f(top - 3)} {f(l + 3)} {f(top)} Z" fill="url(#glass)" '
            f'stroke="{OUTLINE}" stroke-width="1.2"/>'
            f'<path d="M{f(l + 4)} {f(top + 2)} L{f(l + 9)} {f(top + 2)} L{f(l + 5)} '
            f'{f(top + screen - 2)} L{f(l + 2)} {f(top + screen - 2)} Z" fill="#d8f6ff" '
            f'opacity="0.8"/>'
            f'<rect x="{f(l + 1)}" y="{f(top + screen + 1)}" width="{f(r - l - 2)}" '
            f'height="{f(bottom - top - screen - rear - 2)}" rx="3" fill="{shade(colour, 0.1)}" '
            f'stroke="{shade(colour, -0.45)}"/>'
            f'<path d="M{f(l + 1)} {f(bottom - rear)} L{f(r - 1)} {f(bottom - rear)} '
            f'L{f(r - 3)} {f(bottom)} L{f(l + 3)} {f(bottom)} Z" fill="url(#glass)" '
            f'stroke="{OUTLINE}" stroke-width="1.2"/>')


def car_shell(w, h, colour, rn, rt, wheel_ys, wheel_h=16):
    return (wheels(w, wheel_ys, wh=wheel_h)
            + f'<path d="{body_path(3.5, 2, w - 3.5, h - 2, rn, rt)}" fill="url(#paint)" '
              f'stroke="{OUTLINE}" stroke-width="1.5"/>')


def mirrors(w, y, colour):
    return (f'<rect x="1" y="{y}" width="4" height="5" rx="1.5" fill="{colour}" stroke="{OUTLINE}"/>'
            f'<rect x="{w - 5}" y="{y}" width="4" height="5" rx="1.5" fill="{colour}" '
            f'stroke="{OUTLINE}"/>')


def finish_vehicle(b, w, h, c, mirror_y, lamp_w, frame, front_y=4.5, rear_gap=6):
    """Mirrors, lamps and the blinking indicators common to the traffic cars."""
    b.append(mirrors(w, mirror_y, c))
    b.append(head_and_tail(w, h, front_y, h - rear_gap, lamp_w))
    b.append(indicators(w, h, frame == 1))
    return svg(w, h, "".join(b), paint_defs("paint", c) + GLASS)


def taxi(frame):
    w, h, c = 46, 86, "#ffb81c"
    b = [car_shell(w, h, c, 11, 8, (12, 60)), cabin(w, 26, 66, c)]
    checks = "".join(f'<rect x="{f(10 + 3.25 * i)}" y="{f(37 + 3 * (i % 2))}" width="3.25" '
                     f'height="3" fill="{OUTLINE}"/>' for i in range(8))
    b.append(f'<rect x="10" y="37" width="26" height="6" fill="#ffffff" stroke="{OUTLINE}" '
             f'stroke-width="0.8"/>{checks}')
    lamp = "#fff6a8" if frame else "#e0c060"
    b.append(f'<rect x="17" y="47" width="12" height="6" rx="2" fill="{lamp}" '
             f'stroke="{OUTLINE}" stroke-width="0.8"/>')
    return finish_vehicle(b, w, h, c, 32, 8, frame, front_y=5, rear_gap=6.5)


def police(frame):
    w, h, c = 46, 90, "#f4f6fb"
    b = [car_shell(w, h, c, 11, 8, (13, 63))]
    b.append('<path d="M4.5 26 L41.5 26 L41.5 68 L4.5 68 Z" fill="#2456c9"/>')   # blue doors
    b.append(cabin(w, 26, 70, c))
    b.append(mirrors(w, 33, "#2456c9"))
    left, right = ("#ff2d2d", "#5a1b1b") if frame == 0 else ("#5a1b1b", "#ff2d2d")
    blue_l, blue_r = ("#1b2d66", "#3fa0ff") if frame == 0 else ("#3fa0ff", "#1b2d66")
    b.append(f'<rect x="9" y="44" width="28" height="7" rx="2" fill="#2b2f3a" stroke="{OUTLINE}"/>'
             f'<rect x="10.5" y="45.5" width="6" height="4" rx="1" fill="{left}"/>'
             f'<rect x="16.5" y="45.5" width="6" height="4" rx="1" fill="{blue_l}"/>'
             f'<rect x="23.5" y="45.5" width="6" height="4" rx="1" fill="{right}"/>'
             f'<rect x="29.5" y="45.5" width="6" height="4" rx="1" fill="{blue_r}"/>')
    b.append(head_and_tail(w, h, 5, h - 6.5, 8))
    return svg(w, h, "".join(b), paint_defs("paint", c) + GLASS)


def van(frame):
    w, h, c = 52, 100, "#dfe9f2"
    b = [car_shell(w, h, c, 9, 4, (12, 74), wheel_h=17)]
    b.append(f'<path d="M7 26 L45 26 L43 14 Q26 11 9 14 Z" fill="url(#glass)" '
             f'stroke="{OUTLINE}" stroke-width="1.2"/>'
             f'<path d="M11 16 L16 16 L12 24 L9 24 Z" fill="#d8f6ff" opacity="0.8"/>')
    b.append(f'<rect x="6" y="28" width="40" height="66" rx="3" fill="{shade(c, 0.3)}" '
             f'stroke="{shade(c, -0.35)}"/>')
    for y in (40, 54, 68, 82):   # roof ribs
        b.append(f'<rect x="8" y="{y}" width="36" height="2" fill="{shade(c, -0.18)}"/>')
    b.append(f'<rect x="6" y="46" width="40" height="9" fill="#1f9e8a"/>'
             f'<text x="26" y="53.5" font-size="7" {FONT} text-anchor="middle" '
             f'fill="#ffffff">ПОЧТА</text>')
    return finish_vehicle(b, w, h, c, 20, 9, frame)


def hatch(frame):
    w, h, c = 44, 76, "#9b4fe0"
    b = [car_shell(w, h, c, 12, 7, (10, 52), wheel_h=15), cabin(w, 22, 64, c, screen=11, rear=8)]
    b.append(f'<circle cx="22" cy="43" r="6" fill="{shade(c, 0.3)}" stroke="{shade(c, -0.4)}"/>')
    return finish_vehicle(b, w, h, c, 28, 8, frame)


def pickup(frame):
    w, h, c = 50, 96, "#1fa7a0"
    b = [car_shell(w, h, c, 10, 4, (13, 70), wheel_h=17), cabin(w, 22, 52, c, screen=10, rear=5)]
    b.append(f'<rect x="7" y="55" width="36" height="35" rx="2" fill="{shade(c, -0.5)}" '
             f'stroke="{OUTLINE}"/>')   # open bed with crates
    b.append(f'<rect x="10" y="58" width="14" height="13" fill="#c98b4a" stroke="{OUTLINE}"/>'
             f'<rect x="26" y="62" width="14" height="13" fill="#d9a05f" stroke="{OUTLINE}"/>'
             f'<rect x="12" y="74" width="12" height="12" fill="#b57a3c" stroke="{OUTLINE}"/>'
             f'<path d="M10 58 L24 71 M26 62 L40 75" stroke="{shade("#c98b4a", -0.4)}"/>')
    return finish_vehicle(b, w, h, c, 28, 9, frame)


def truck(frame):
    w, h, c = 58, 140, "#ff7a1a"
    b = [wheels(w, (12, 88, 106, 122), wh=15, ww=7, inset=0)]
    b.append(f'<path d="{body_path(3, 2, w - 3, 36, 8, 3)}" fill="url(#paint)" '
             f'stroke="{OUTLINE}" stroke-width="1.5"/>')   # cab
    b.append(f'<path d="M8 18 L50 18 L48 9 Q29 6 10 9 Z" fill="url(#glass)" stroke="{OUTLINE}" '
             f'stroke-width="1.2"/><path d="M12 10 L17 10 L13 17 L10 17 Z" fill="#d8f6ff" '
             f'opacity="0.8"/>')
    b.append(f'<rect x="9" y="21" width="40" height="12" rx="2" fill="{shade(c, 0.25)}" '
             f'stroke="{shade(c, -0.4)}"/>')
    marker = "#ffe45c" if frame else "#c9962c"
    for x in (14, 26, 38):
        b.append(f'<rect x="{x}" y="22.5" width="6" height="3" rx="1" fill="{marker}"/>')
    b.append(f'<rect x="2" y="39" width="{w - 4}" height="{h - 41}" rx="2" fill="url(#box)" '
             f'stroke="{OUTLINE}" stroke-width="1.5"/>')   # container
    for y in range(48, h - 6, 12):
        b.append(f'<rect x="4" y="{y}" width="{w - 8}" height="2" fill="#8d99aa"/>')
    b.append(f'<rect x="10" y="60" width="{w - 20}" height="44" rx="4" fill="#2f6fd6" '
             f'stroke="#1c3f80"/>' + text(w / 2, 78, 9, "ГРУЗ", "#ffffff")
             + text(w / 2, 93, 9, "24/7", "#ffd23a"))
    b.append(head_and_tail(w, 36, 3.5, 0, 10).split('<rect x="7" y="0"')[0])
    b.append(f'<rect x="6" y="{h - 5}" width="10" height="3" rx="1.5" fill="#ff3b3b"/>'
             f'<rect x="{w - 16}" y="{h - 5}" width="10" height="3" rx="1.5" fill="#ff3b3b"/>')
    b.append(mirrors(w, 12, c))
    if frame:
        b.append(indicators(w, h, True, front_y=6, rear_y=h - 6))
    defs = (paint_defs("paint", c) + GLASS
            + lin("box", [(0, "#9aa5b5"), (0.3, "#d5dde8"), (0.7, "#c3ccd8"), (1, "#8590a1")],
                  0, 0, 1, 0))
    return svg(w, h, "".join(b), defs)


TRAFFIC = (taxi, police, van, hatch, pickup, truck)   # Car5 .. Car10
TRAFFIC_FRAMES = 2


def flipped(svg_text):
    """The same vehicle turned round: it comes down the screen towards the player."""
    head, rest = svg_text.split(">\n", 1)
    w = float(head.split('width="')[1].split('"')[0])
    h = float(head.split('height="')[1].split('"')[0])
    body, tail = rest.rsplit("\n</svg>", 1)
    if body.startswith("<defs>"):
        defs, body = body.split("</defs>\n", 1)
        defs += "</defs>\n"
    else:
        defs = ""
    return f'{head}>\n{defs}<g transform="rotate(180 {f(w / 2)} {f(h / 2)})">{body}</g>\n</svg>{tail}'


def traffic_cars():
    for n, draw in enumerate(TRAFFIC, start=5):
        for fr in range(TRAFFIC_FRAMES):
            pic = draw(fr)
            write(f"car{n}_{fr}.svg", pic)
            write(f"car{n}inv_{fr}.svg", flipped(pic))


# ---------------------------------------------------------------- road objects

def barrier(w, h):
    """Concrete block with red and white warning chevrons."""
    b = [f'<rect x="1" y="{h - 9}" width="{w - 2}" height="8" rx="2" fill="#8a919c" '
         f'stroke="{OUTLINE}" stroke-width="1.5"/>',   # footing seen below the face
         f'<rect x="1" y="1" width="{w - 2}" height="{h - 8}" rx="3" fill="url(#face)" '
         f'stroke="{OUTLINE}" stroke-width="1.5"/>',
         f'<clipPath id="c"><rect x="4" y="5" width="{w - 8}" height="{h - 16}" rx="1"/></clipPath>',
         f'<g clip-path="url(#c)"><rect x="4" y="5" width="{w - 8}" height="{h - 16}" '
         f'fill="{PAINT}"/>']
    for x in range(-h, w + h, 16):
        b.append(f'<path d="M{x} 5 l8 0 l{h - 16} {h - 16} l-8 0 Z" fill="{KERB_RED}"/>')
    b.append(f'</g><rect x="4" y="5" width="{w - 8}" height="{h - 16}" rx="1" fill="none" '
             f'stroke="{OUTLINE}"/>')
    for x in (7, w - 11):   # warning lamps on top
        b.append(f'<circle cx="{x + 2}" cy="3" r="2.6" fill="#ffcc2a" stroke="{OUTLINE}"/>')
    defs = lin("face", [(0, "#e6e9ee"), (1, "#aab1bb")])
    return svg(w, h, "".join(b), defs)


def spike_strip():
    w, h = 100, 24
    b = [f'<rect x="2" y="9" width="{w - 4}" height="8" rx="2" fill="#3b404a" stroke="{OUTLINE}" '
         f'stroke-width="1.5"/>']
    for x in range(6, w - 6, 8):
        b.append(f'<path d="M{x} 11 L{x + 4} 1 L{x + 8} 11 Z" fill="url(#steel)" '
                 f'stroke="{OUTLINE}" stroke-width="1"/>')
        b.append(f'<path d="M{x} 15 L{x + 4} 23 L{x + 8} 15 Z" fill="url(#steel)" '
                 f'stroke="{OUTLINE}" stroke-width="1"/>')
    for x in (2, w - 12):   # hazard ends
        b.append(f'<rect x="{x}" y="8" width="10" height="10" rx="2" fill="#ffcc2a" '
                 f'stroke="{OUTLINE}" stroke-width="1.2"/><path d="M{x + 2} 16 l6 -6 l0 3 l-3 3 Z" '
                 f'fill="{OUTLINE}"/>')
    defs = lin("steel", [(0, "#ffffff"), (0.5, "#b8c2d0"), (1, "#6c7686")], 0, 0, 1, 0)
    return svg(w, h, "".join(b), defs)


WATER_FRAMES = 4


def puddle(w, h, seed, frame):
    """A puddle; its ripples and glints move on with each frame, so it shimmers."""
    rnd = random.Random(seed)
    pts = []
    n = 14
    for i in range(n):
        a = 2 * math.pi * i / n
        k = rnd.uniform(0.8, 1.0)
        pts.append((w / 2 + math.cos(a) * (w / 2 - 2) * k, h / 2 + math.sin(a) * (h / 2 - 2) * k))
    d = "M" + " ".join(
        f"Q{f(pts[i][0])} {f(pts[i][1])} "
        f"{f((pts[i][0] + pts[(i + 1) % n][0]) / 2)} {f((pts[i][1] + pts[(i + 1) % n][1]) / 2)}"
        for i in range(n))
    first = f"{f((pts[-1][0] + pts[0][0]) / 2)} {f((pts[-1][1] + pts[0][1]) / 2)} "
    d = "M" + first + d[1:] + " Z"
    b = [f'<path d="{d}" fill="url(#water)" stroke="#1d5fa8" stroke-width="2"/>']
    b.append(f'<clipPath id="c"><path d="{d}"/></clipPath><g clip-path="url(#c)">')
    phase = frame / WATER_FRAMES
    for j in range(3):   # ripple rings grow and fade in turn
        t = (phase + j / 3) % 1
        b.append(f'<ellipse cx="{f(w * 0.45)}" cy="{f(h * 0.5)}" rx="{f(6 + t * w * 0.45)}" '
                 f'ry="{f(3 + t * h * 0.42)}" fill="none" stroke="#bfeaff" '
                 f'stroke-width="{f(2.2 - 1.4 * t)}" opacity="{f(0.95 - 0.3 * t)}"/>')
    for j in range(4):   # glints drift round the middle
        a = rnd.uniform(0, 2 * math.pi) + frame * math.pi / 2 / WATER_FRAMES
        r = rnd.uniform(0.25, 0.6)
        gx, gy = w / 2 + math.cos(a) * w * r / 2 - 3, h / 2 + math.sin(a) * h * r / 2
        b.append(f'<rect x="{f(gx)}" y="{f(gy)}" width="7" height="2" rx="1" fill="#ffffff"/>')
    b.append("</g>")
    defs = rad("water", [(0, "#6fd0ff"), (0.7, "#2e8fe0"), (1, "#1f6cc0")], 0.42, 0.4, 0.6)
    return svg(w, h, "".join(b), defs)


def boulder(w, h, seed, small=False):
    rnd = random.Random(seed)
    if small:
        rocks = [(0.3, 0.58, 0.3, 0.4), (0.68, 0.45, 0.28, 0.42), (0.52, 0.78, 0.2, 0.22)]
    else:
        rocks = [(0.5, 0.55, 0.47, 0.43)]
    b = []
    for i, (cx, cy, rx, ry) in enumerate(rocks):
        pts = []
        n = 9
        for k in range(n):
            a = 2 * math.pi * k / n + rnd.uniform(-0.15, 0.15)
            r = rnd.uniform(0.85, 1.0)
            pts.append(f"{f(w * cx + math.cos(a) * w * rx * r)},{f(h * cy + math.sin(a) * h * ry * r)}")
        b.append(f'<polygon points="{" ".join(pts)}" fill="url(#rock)" stroke="{OUTLINE}" '
                 f'stroke-width="1.5" stroke-linejoin="round"/>')
        hx, hy = w * (cx - rx * 0.35), h * (cy - ry * 0.4)
        b.append(f'<path d="M{f(hx - rx * w * 0.3)} {f(hy + 2)} Q{f(hx)} {f(hy - ry * h * 0.35)} '
                 f'{f(hx + rx * w * 0.35)} {f(hy)}" fill="none" stroke="#e4e0da" '
                 f'stroke-width="2" stroke-linecap="round"/>')
        b.append(f'<path d="M{f(w * cx)} {f(h * (cy + ry * 0.1))} l{f(rx * w * 0.3)} '
                 f'{f(ry * h * 0.35)}" stroke="#5b5650" stroke-width="1.2"/>')
    defs = rad("rock", [(0, "#c9c3bb"), (0.6, "#958d84"), (1, "#6b645d")], 0.35, 0.3, 0.8)
    return svg(w, h, "".join(b), defs)


def crack():
    """Broken asphalt: a sunken patch with cracks running out of it."""
    w, h = 92, 42
    rnd = random.Random(7)
    pts = []
    for k in range(12):
        a = 2 * math.pi * k / 12
        r = rnd.uniform(0.55, 1.0)
        pts.append((w / 2 + math.cos(a) * 26 * r, h / 2 + math.sin(a) * 12 * r))
    hole = " ".join(f"{f(x)},{f(y)}" for x, y in pts)
    b = []
    for k in range(0, 12, 2):   # cracks from the patch's corners outwards
        x, y = pts[k]
        dx, dy = x - w / 2, y - h / 2
        n = math.hypot(dx, dy) or 1
        ex, ey = x + dx / n * rnd.uniform(9, 18), y + dy / n * rnd.uniform(5, 9)
        mx, my = (x + ex) / 2 + rnd.uniform(-3, 3), (y + ey) / 2 + rnd.uniform(-2, 2)
        ex, ey = min(w - 2, max(2, ex)), min(h - 2, max(2, ey))
        line = f"M{f(x)} {f(y)} L{f(mx)} {f(my)} L{f(ex)} {f(ey)}"
        b.append(f'<path d="{line}" fill="none" stroke="#5f6673" stroke-width="4.5" '
                 f'stroke-linecap="round" stroke-linejoin="round"/>'
                 f'<path d="{line}" fill="none" stroke="#1b1e25" stroke-width="2" '
                 f'stroke-linecap="round" stroke-linejoin="round"/>')
    b.append(f'<polygon points="{hole}" fill="#2a2e36" stroke="#646b78" stroke-width="2.5" '
             f'stroke-linejoin="round"/>')
    for _ in range(7):   # loose chunks in the hole
        x, y = w / 2 + rnd.uniform(-16, 16), h / 2 + rnd.uniform(-6, 6)
        s = rnd.uniform(2.5, 4.5)
        b.append(f'<rect x="{f(x)}" y="{f(y)}" width="{f(s)}" height="{f(s * 0.8)}" '
                 f'fill="{rnd.choice(["#555c69", "#6b7280", "#484e5a"])}" '
                 f'transform="rotate({rnd.randint(0, 80)} {f(x)} {f(y)})"/>')
    return svg(w, h, "".join(b))


RABBIT_FRAMES = 4


def rabbit(frame):
    """Hopping rabbit seen from above and behind; frames: crouch, push, flight, land."""
    w, h = 34, 48
    stretch = (0.0, 0.5, 1.0, 0.35)[frame]
    lift = (0, 2, 4, 1)[frame]
    body_ry = 9 + stretch * 2
    cy = 32 - lift
    shadow = f'<ellipse cx="17" cy="41" rx="{f(11 - lift)}" ry="3" fill="#2b2f38"/>' if lift else ""
    ear_tilt = (-6, -2, 4, -3)[frame]
    b = [shadow,
         f'<ellipse cx="17" cy="{f(cy)}" rx="11" ry="{f(body_ry)}" fill="url(#fur)" '
         f'stroke="{OUTLINE}" stroke-width="1.5"/>',
         f'<circle cx="17" cy="{f(cy + body_ry - 2)}" r="4" fill="#ffffff" stroke="{OUTLINE}"/>']
    hy = cy - body_ry - 2
    for sx in (-1, 1):
        b.append(f'<ellipse cx="{f(17 + sx * 4)}" cy="{f(hy - 7)}" rx="3" ry="7" fill="#a98467" '
                 f'stroke="{OUTLINE}" stroke-width="1.3" transform="rotate({sx * ear_tilt} '
                 f'{f(17 + sx * 4)} {f(hy - 1)})"/>')
        b.append(f'<ellipse cx="{f(17 + sx * 4)}" cy="{f(hy - 7)}" rx="1.3" ry="4.5" fill="#ffb3c0" '
                 f'transform="rotate({sx * ear_tilt} {f(17 + sx * 4)} {f(hy - 1)})"/>')
    b.append(f'<ellipse cx="17" cy="{f(hy + 1)}" rx="7" ry="6" fill="url(#fur)" stroke="{OUTLINE}" '
             f'stroke-width="1.3"/>')
    for sx in (-1, 1):   # hind feet stretch out behind on the push
        fy = cy + body_ry - 3 + stretch * 4
        b.append(f'<ellipse cx="{f(17 + sx * 9)}" cy="{f(fy)}" rx="3" ry="{f(4 + stretch * 2)}" '
                 f'fill="#8d6c52" stroke="{OUTLINE}"/>')
    return svg(w, h, "".join(b), rad("fur", [(0, "#d2b394"), (1, "#9c7a5c")], 0.4, 0.35, 0.7))


def road_objects():
    write("wall05.svg", barrier(54, 30))
    write("wall10.svg", barrier(104, 30))
    write("spike10.svg", spike_strip())
    for fr in range(WATER_FRAMES):
        write(f"water10_{fr}.svg", puddle(100, 48, 10, fr))
        write(f"water05_{fr}.svg", puddle(54, 40, 5, fr))
    write("stone05.svg", boulder(50, 42, 3))
    write("stonesmall05.svg", boulder(44, 32, 8, small=True))
    write("crack.svg", crack())
    for fr in range(RABBIT_FRAMES):
        write(f"rabbit_{fr}.svg", rabbit(fr))


# ---------------------------------------------------------------- pick-ups

BONUS_FRAMES = 4
BONUS_STYLE = {   # name: rim, face light, face dark
    "bonus10": ("#1d8f3a", "#7dff8f", "#23b54a"),
    "bonus20": ("#1a56b8", "#8fd0ff", "#2f7de8"),
    "bonus50": ("#7a2bb8", "#e3a6ff", "#9b45e6"),
    "bonus100": ("#b8750d", "#fff07a", "#f5b316"),
    "bonusgun": ("#a3172a", "#ff9aa6", "#e0283e"),
    "bonusturbo": ("#b84a0a", "#ffd07a", "#ff7a1a"),
    "bonuslive": ("#b0125f", "#ffb0d8", "#ff3f8f"),
}


def emblem(name):
    if name.startswith("bonus") and name[5:].isdigit():
        num = name[5:]
        size = 15 if len(num) < 3 else 12
        return (text(20, 20 + size * 0.36, size, num, OUTLINE, extra='stroke="#151a2c" '
                     'stroke-width="3" stroke-linejoin="round"')
                + text(20, 20 + size * 0.36, size, num, "#ffffff"))
    if name == "bonusgun":   # crosshair
        return (f'<circle cx="20" cy="20" r="8" fill="none" stroke="{OUTLINE}" stroke-width="4.5"/>'
                f'<circle cx="20" cy="20" r="8" fill="none" stroke="#ffffff" stroke-width="2.2"/>'
                f'<path d="M20 7 V14 M20 26 V33 M7 20 H14 M26 20 H33" stroke="{OUTLINE}" '
                f'stroke-width="4.5" stroke-linecap="round"/>'
                f'<path d="M20 7 V14 M20 26 V33 M7 20 H14 M26 20 H33" stroke="#ffffff" '
                f'stroke-width="2.2" stroke-linecap="round"/><circle cx="20" cy="20" r="2" '
                f'fill="#ffffff" stroke="{OUTLINE}"/>')
    if name == "bonusturbo":   # lightning bolt
        return (f'<path d="M23 7 L12 22 L19 22 L16 33 L28 17 L21 17 Z" fill="#ffffff" '
                f'stroke="{OUTLINE}" stroke-width="1.8" stroke-linejoin="round"/>')
    return (f'<path d="M20 31 C8 23 9 12 15 12 C18 12 20 15 20 16 C20 15 22 12 25 12 '
            f'C31 12 32 23 20 31 Z" fill="#ffffff" stroke="{OUTLINE}" stroke-width="1.8" '
            f'stroke-linejoin="round"/>')   # heart: one more life


def bonus(name, frame):
    rim, light, dark = BONUS_STYLE[name]
    t = frame / BONUS_FRAMES
    b = []
    pulse = 19.5 - 1.5 * abs(math.sin(math.pi * t))   # the token breathes
    b.append(f'<circle cx="20" cy="20" r="{f(pulse)}" fill="{rim}" stroke="{OUTLINE}" '
             f'stroke-width="1.5"/>')
    b.append(f'<circle cx="20" cy="20" r="{f(pulse - 4)}" fill="url(#face)" stroke="{shade(rim, -0.3)}"/>')
    a = 2 * math.pi * t - math.pi * 0.75   # a glint runs round the rim
    for k, (da, r) in enumerate(((0, 2.6), (0.35, 1.7), (0.62, 1.1))):
        gx, gy = 20 + math.cos(a - da) * (pulse - 2), 20 + math.sin(a - da) * (pulse - 2)
        b.append(f'<circle cx="{f(gx)}" cy="{f(gy)}" r="{f(r)}" fill="#ffffff"/>')
    b.append(f'<path d="M{f(20 - pulse + 6)} 17 A{f(pulse - 6)} {f(pulse - 6)} 0 0 1 '
             f'{f(20 + pulse - 6)} 17" fill="none" stroke="{shade(light, 0.5)}" stroke-width="1.6" '
             f'stroke-linecap="round" opacity="0.8"/>')
    b.append(emblem(name))
    defs = rad("face", [(0, light), (1, dark)], 0.38, 0.32, 0.75)
    return svg(40, 40, "".join(b), defs)


def bonuses():
    for name in BONUS_STYLE:
        for fr in range(BONUS_FRAMES):
            write(f"{name}_{fr}.svg", bonus(name, fr))


# ---------------------------------------------------------------- roadside scenery

def chevron_sign(colour, pointing_right):
    """A chevron board on two posts, seen from above; it points towards the road."""
    w, h = 28, 50
    b = ['<ellipse cx="14" cy="45" rx="12" ry="4" fill="#2f7a31"/>',   # shade on the grass
         f'<rect x="6" y="20" width="3" height="26" fill="#9aa3ad" stroke="{OUTLINE}"/>'
         f'<rect x="19" y="20" width="3" height="26" fill="#9aa3ad" stroke="{OUTLINE}"/>',
         f'<rect x="1.5" y="2" width="25" height="28" rx="3" fill="{colour}" stroke="{OUTLINE}" '
         f'stroke-width="1.5"/>',
         '<rect x="3.5" y="4" width="21" height="24" rx="2" fill="none" stroke="#ffffff" '
         'stroke-width="1.2"/>']
    pts = "M9 8 L17 16 L9 24 L13 24 L21 16 L13 8 Z" if pointing_right else \
          "M19 8 L11 16 L19 24 L15 24 L7 16 L15 8 Z"
    b.append(f'<path d="{pts}" fill="#ffffff"/>')
    return svg(w, h, "".join(b))


def roadside_wall(light_on_right):
    """A low stone wall along the verge; its road side catches the light."""
    w, h = 24, 128
    rnd = random.Random(21 if light_on_right else 22)
    b = [f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="3" fill="#7d7468" '
         f'stroke="{OUTLINE}" stroke-width="1.5"/>']
    y = 3.0
    row = 0
    while y < h - 4:
        bh = rnd.uniform(9, 13)
        bh = min(bh, h - 3 - y)
        x = 3.0 if row % 2 == 0 else 3.0 - 6
        while x < w - 3:
            bw = rnd.uniform(8, 12)
            x0, x1 = max(3.0, x), min(w - 3.0, x + bw)
            if x1 - x0 > 2:
                c = rnd.choice(["#b8ada0", "#a89d8f", "#c7bdb0", "#9e9385"])
                b.append(f'<rect x="{f(x0)}" y="{f(y)}" width="{f(x1 - x0 - 1)}" '
                         f'height="{f(bh - 1)}" rx="2" fill="{c}"/>')
            x += bw
        y += bh
        row += 1
    lit = w - 5 if light_on_right else 2
    b.append(f'<rect x="{lit}" y="3" width="3" height="{h - 6}" fill="#e6ded2" opacity="0.7"/>')
    for yy in (18, 70, 104):   # moss
        b.append(f'<ellipse cx="{12 + rnd.uniform(-5, 5):.1f}" cy="{yy}" rx="4" ry="2.5" '
                 f'fill="#5c9a3c"/>')
    return svg(w, h, "".join(b))


def finish_line():
    """332 pixels across the asphalt: posts at the edges, two rows of 16-pixel checks."""
    w, h = 332, 36
    b = [f'<rect width="{w}" height="{h}" fill="{PAINT}"/>',
         f'<rect y="0" width="{w}" height="2" fill="{OUTLINE}"/>',
         f'<rect y="{h - 2}" width="{w}" height="2" fill="{OUTLINE}"/>']
    for col in range(20):
        for row in range(2):
            if (col + row) % 2 == 0:
                b.append(f'<rect x="{6 + 16 * col}" y="{2 + 16 * row}" width="16" height="16" '
                         f'fill="#1b1f2a"/>')
    for x in (0, w - 6):
        b.append(f'<rect x="{x}" y="0" width="6" height="{h}" fill="{KERB_RED}"/>'
                 f'<rect x="{x}" y="12" width="6" height="12" fill="{PAINT}"/>')
    return svg(w, h, "".join(b))


def scenery():
    write("signleftblue.svg", chevron_sign("#1f6fe0", True))
    write("signleftred.svg", chevron_sign("#e3262b", True))
    write("signrightblue.svg", chevron_sign("#1f6fe0", False))
    write("signrightred.svg", chevron_sign("#e3262b", False))
    write("wallleft.svg", roadside_wall(True))
    write("wallright.svg", roadside_wall(False))
    write("finishline.svg", finish_line())


# ---------------------------------------------------------------- race HUD

PANEL_H = 600
LEFT_W, RIGHT_W = 124, 140
RIGHT_X = 799 - RIGHT_W            # where the race places the right panel
# speedometer centre inside the right panel, on the middle of pixel (736, 537)
DIAL_X, DIAL_Y = 736 - RIGHT_X + 0.5, 537.5
# The needle points at 0 km/h unturned (down and to the left, 120 degrees clockwise from
# the +x axis); the race turns it by trunc(speed * 10) 256ths of a turn, and speed * 14 is
# km/h, so one km/h is 10/14 of a 256th.
NEEDLE_REST_DEG = 120.0
DEG_PER_KMH = 10 / 14 * 360 / 256
# The needle turns about 20/23 of its width and 4/39 of its height; at twice that
# picture's size it reaches the scale's ticks.
NEEDLE_W, NEEDLE_H = 46, 78
NEEDLE_PIVOT = (NEEDLE_W * 20 / 23 + 0.5, NEEDLE_H * 4 / 39 + 0.5)


def panel_back(w, inner_edge_x):
    return (f'<rect width="{w}" height="{PANEL_H}" fill="url(#panel)"/>'
            f'<rect x="{inner_edge_x}" width="3" height="{PANEL_H}" fill="{NEON}"/>'
            f'<rect x="{inner_edge_x + (3 if inner_edge_x == 0 else -2)}" width="2" '
            f'height="{PANEL_H}" fill="#0a1022"/>')


PANEL_DEFS = (lin("panel", [(0, PANEL_TOP), (1, PANEL_BOTTOM)])
              + lin("slot", [(0, "#050a17"), (1, "#101c38")])
              + lin("label", [(0, "#ffffff"), (1, "#9fe9ff")]))


def readout(x, y, w, h):
    """A sunken window that the HUD numbers are printed into."""
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="6" fill="url(#slot)" '
            f'stroke="#2a4478" stroke-width="2"/>'
            f'<rect x="{x + 2}" y="{y + h - 3}" width="{w - 4}" height="1.5" fill="{NEON}" '
            f'opacity="0.6"/>')


def label(x, y, content, size=13, anchor="middle"):
    return text(x, y, size, content, "url(#label)", anchor, 'letter-spacing="1"')


def left_panel():
    w = LEFT_W
    b = [panel_back(w, w - 3)]
    b.append(f'<rect x="8" y="10" width="{w - 19}" height="34" rx="7" fill="{AMBER}" '
             f'stroke="{OUTLINE}" stroke-width="1.5"/>'
             + text((w - 3) / 2, 32, 11.5, "ГОНКОСТРЕЛЬ", OUTLINE, extra='letter-spacing="0.2"'))
    # the numbers are printed at y 90, 180, 270 and 360 with their right end near x 80-110
    for y, name in ((90, "УРОВЕНЬ"), (180, "ОЧКИ"), (270, "ВРЕМЯ"), (360, "ЖИЗНИ")):
        b.append(label((w - 3) / 2, y - 12, name))
        b.append(readout(9, y - 6, w - 21, 34))
    # key hints for the driver
    hints = (("СТРЕЛКИ", "руль, газ, тормоз"), ("ПРОБЕЛ, CTRL", "огонь"), ("P", "пауза"),
             ("ESC", "выход"))
    y = 430
    b.append(f'<rect x="9" y="{y - 18}" width="{w - 21}" height="2" fill="#2a4478"/>')
    for key, what in hints:
        b.append(text(14, y, 11, key, AMBER, "start"))
        b.append(f'<text x="14" y="{y + 14}" font-size="10.5" font-family="DejaVu Sans" '
                 f'fill="#cfe6ff">{what}</text>')
        y += 36
    for col in range(15):   # chequered foot
        for row in range(2):
            check = "#e9eef7" if (col + row) % 2 == 0 else "#1b2747"
            b.append(f'<rect x="{9 + 7 * col}" y="{576 + 7 * row}" width="7" height="7" '
                     f'fill="{check}"/>')
    b.append('<rect x="9" y="576" width="105" height="14" fill="none" stroke="#2a4478" '
             'stroke-width="1.5"/>')
    write("leftpanel.svg", svg(w, PANEL_H, "".join(b), PANEL_DEFS))


def polar(cx, cy, deg, r):
    a = math.radians(deg)
    return cx + math.cos(a) * r, cy + math.sin(a) * r


def dial():
    cx, cy = DIAL_X, DIAL_Y
    b = [f'<circle cx="{cx}" cy="{cy}" r="60" fill="#0a1022" stroke="{NEON}" stroke-width="2.5"/>',
         f'<circle cx="{cx}" cy="{cy}" r="56" fill="url(#dialface)"/>']

    def arc(k0, k1, r, colour, width):
        a0 = NEEDLE_REST_DEG + k0 * DEG_PER_KMH
        a1 = NEEDLE_REST_DEG + k1 * DEG_PER_KMH
        x0, y0 = polar(cx, cy, a0, r)
        x1, y1 = polar(cx, cy, a1, r)
        large = 1 if a1 - a0 > 180 else 0
        return (f'<path d="M{f(x0)} {f(y0)} A{r} {r} 0 {large} 1 {f(x1)} {f(y1)}" fill="none" '
                f'stroke="{colour}" stroke-width="{width}"/>')

    b.append(arc(0, 150, 50, "#2fd36b", 5))
    b.append(arc(150, 250, 50, AMBER, 5))
    b.append(arc(250, 300, 50, "#ff3b4a", 5))   # turbo only
    for kmh in range(0, 301, 10):
        a = NEEDLE_REST_DEG + kmh * DEG_PER_KMH
        major = kmh % 50 == 0
        x0, y0 = polar(cx, cy, a, 42 if major else 46)
        x1, y1 = polar(cx, cy, a, 53)
        b.append(f'<line x1="{f(x0)}" y1="{f(y0)}" x2="{f(x1)}" y2="{f(y1)}" stroke="#ffffff" '
                 f'stroke-width="{2.2 if major else 1.2}"/>')
        if major:
            tx, ty = polar(cx, cy, a, 32)
            b.append(text(tx, ty + 3.5, 9.5, str(kmh), "#ffffff" if kmh < 250 else "#ff8a94"))
    b.append(text(cx, cy + 24, 9, "КМ/Ч", "#9fe9ff"))
    b.append(f'<circle cx="{cx}" cy="{cy}" r="7" fill="#2a3550" stroke="#8aa0c8" '
             f'stroke-width="1.5"/>')
    return "".join(b)


def right_panel():
    w = RIGHT_W
    track_x = 734 - RIGHT_X    # the progress marker's centre line
    b = [panel_back(w, 0)]
    # progress track: the marker's top runs from y 322 (start) up to y 41 (finish)
    b.append(label(w / 2 + 1, 22, "ФИНИШ"))
    b.append(f'<rect x="{track_x - 14}" y="34" width="28" height="318" rx="8" fill="url(#slot)" '
             f'stroke="#2a4478" stroke-width="2"/>')
    for i in range(4):   # chequered finish at the top
        for j in range(2):
            if (i + j) % 2 == 0:
                b.append(f'<rect x="{track_x - 12 + 6 * i}" y="{36 + 5 * j}" width="6" height="5" '
                         f'fill="#ffffff"/>')
            else:
                b.append(f'<rect x="{track_x - 12 + 6 * i}" y="{36 + 5 * j}" width="6" height="5" '
                         f'fill="#1b1f2a"/>')
    for y in range(58, 340, 16):
        b.append(f'<rect x="{track_x - 1}" y="{y}" width="2" height="8" fill="#3d5a8f"/>')
    for k in range(5):   # quarter marks beside the track
        y = 41 + 11 + (322 - 41) * k / 4
        b.append(f'<rect x="{track_x - 24}" y="{f(y - 1)}" width="8" height="2" fill="{NEON}"/>'
                 f'<rect x="{track_x + 16}" y="{f(y - 1)}" width="8" height="2" fill="{NEON}"/>')
    b.append(label(w / 2 + 1, 370, "СТАРТ", size=11))
    # bonus slot: the icon is centred on (715, 440), the seconds printed at (764, 430)
    b.append(label(w / 2 + 1, 402, "БОНУС"))
    b.append(f'<rect x="{715 - RIGHT_X - 32}" y="412" width="64" height="56" rx="8" '
             f'fill="url(#slot)" stroke="#2a4478" stroke-width="2"/>')
    b.append(readout(758 - RIGHT_X, 422, 36, 34))
    b.append(dial())
    defs = PANEL_DEFS + rad("dialface", [(0, "#1d2f57"), (1, "#0c1530")], 0.5, 0.45, 0.6)
    write("rightpanel.svg", svg(w, PANEL_H, "".join(b), defs))


def needle():
    """Unturned, the needle points from its hub down and to the left, at 0 km/h."""
    px, py = NEEDLE_PIVOT
    tip = polar(px, py, NEEDLE_REST_DEG, 50)
    back = polar(px, py, NEEDLE_REST_DEG + 180, 6)

    def side(point, half, sign):
        return polar(point[0], point[1], NEEDLE_REST_DEG + 90 * sign, half)

    pts = [side(tip, 1.1, 1), side((px, py), 3.4, 1), side(back, 2.6, 1),
           side(back, 2.6, -1), side((px, py), 3.4, -1), side(tip, 1.1, -1)]
    d = "M" + " L".join(f"{f(x)} {f(y)}" for x, y in pts) + " Z"
    mid = polar(px, py, NEEDLE_REST_DEG, 36)
    b = [f'<path d="{d}" fill="#ff4d2e" stroke="#6e1204" stroke-width="1" stroke-linejoin="round"/>',
         f'<line x1="{f(px)}" y1="{f(py)}" x2="{f(mid[0])}" y2="{f(mid[1])}" stroke="#ffc9b8" '
         f'stroke-width="1.2" stroke-linecap="round"/>',
         f'<circle cx="{f(px)}" cy="{f(py)}" r="5" fill="url(#cap)" stroke="#2a3550" '
         f'stroke-width="1.2"/>']
    defs = rad("cap", [(0, "#ffffff"), (1, "#8c9ab5")], 0.35, 0.35, 0.7)
    write("pointer.svg", svg(NEEDLE_W, NEEDLE_H, "".join(b), defs))


def mini_car():
    """The progress marker: a small bright car on the track."""
    w, h = 16, 24
    b = ['<rect x="0.5" y="4" width="3" height="6" rx="1" fill="#1c1f27"/>'
         '<rect x="12.5" y="4" width="3" height="6" rx="1" fill="#1c1f27"/>'
         '<rect x="0.5" y="15" width="3" height="6" rx="1" fill="#1c1f27"/>'
         '<rect x="12.5" y="15" width="3" height="6" rx="1" fill="#1c1f27"/>',
         f'<path d="{body_path(2, 1, 14, 23, 5, 3)}" fill="{AMBER}" stroke="{OUTLINE}" '
         f'stroke-width="1.2"/>',
         '<path d="M4 10 L12 10 L11 6.5 Q8 5.5 5 6.5 Z" fill="#1f3d66"/>',
         '<rect x="4.5" y="15.5" width="7" height="3" rx="1" fill="#1f3d66"/>',
         '<rect x="7.2" y="1.5" width="1.6" height="21" fill="#ffffff" opacity="0.85"/>']
    write("carsmall.svg", svg(w, h, "".join(b)))


def hud_icons():
    # gun and turbo icons centred on the bonus slot (715, 440)
    gun = (f'<rect x="12" y="18" width="16" height="14" rx="3" fill="url(#metal)" stroke="{OUTLINE}" '
           f'stroke-width="1.5"/><rect x="15" y="4" width="4" height="16" rx="1" fill="#c9d3e0" '
           f'stroke="{OUTLINE}"/><rect x="21" y="4" width="4" height="16" rx="1" fill="#c9d3e0" '
           f'stroke="{OUTLINE}"/><path d="M13 4 l4 -3 l4 3 M19 4 l4 -3 l4 3" fill="#ffd23a" '
           f'stroke="#ff8a00" stroke-width="1.2" stroke-linejoin="round"/>'
           f'<circle cx="20" cy="25" r="3" fill="{KERB_RED}" stroke="{OUTLINE}"/>')
    write("gunsmall.svg", svg(40, 34, gun, lin("metal", [(0, "#eef3f9"), (1, "#7d8899")], 0, 0, 1, 1)))
    turbo = (f'<path d="M20 3 L9 19 L18 19 L14 32 L31 13 L21 13 Z" fill="{AMBER}" '
             f'stroke="{OUTLINE}" stroke-width="1.8" stroke-linejoin="round"/>'
             f'<path d="M20 6 L12 18 L17 18" fill="none" stroke="#fff3c4" stroke-width="1.5" '
             f'stroke-linecap="round"/>')
    write("turbosmall.svg", svg(40, 34, turbo))
    # the empty slot and the skid warning, both 28 high around y 440
    write("none.svg", svg(46, 28, text(23, 19, 13, "НЕТ", "#5f7db3", extra='letter-spacing="1"')))
    skid = (text(26, 19, 11, "ЗАНОС", OUTLINE, extra='stroke="#151a2c" stroke-width="3" '
                 'stroke-linejoin="round"')
            + text(26, 19, 11, "ЗАНОС", "#ff9a1f"))
    write("drifting.svg", svg(52, 28, skid))


# ---------------------------------------------------------------- banners

def banner(line1, line2, top, bottom, icon):
    w, h = 400, 160
    b = [f'<rect x="3" y="3" width="{w - 6}" height="{h - 6}" rx="22" fill="{OUTLINE}"/>',
         f'<rect x="7" y="7" width="{w - 14}" height="{h - 14}" rx="18" fill="url(#plate)" '
         f'stroke="#ffffff" stroke-width="3"/>',
         f'<path d="M20 12 H{w - 20} Q{w - 12} 12 {w - 12} 22 V58 Q{w / 2} 78 12 58 V22 Q12 12 20 12 Z" '
         f'fill="#ffffff" opacity="0.22"/>']
    for y, line in ((72, line1), (128, line2)):
        size = 46 if len(line) <= 6 else 40   # long words shrink to keep clear of the rim
        b.append(text(w / 2 + 28, y, size, line, OUTLINE, extra='stroke="#151a2c" stroke-width="8" '
                      'stroke-linejoin="round" letter-spacing="2"'))
        b.append(text(w / 2 + 28, y, size, line, "url(#letters)", extra='letter-spacing="2"'))
    b.append(icon)
    defs = (lin("plate", [(0, top), (1, bottom)])
            + lin("letters", [(0, "#ffffff"), (0.55, "#fff4b8"), (1, "#ffc53d")]))
    return svg(w, h, "".join(b), defs)


def stopwatch(cx, cy):
    return (f'<rect x="{cx - 5}" y="{cy - 35}" width="10" height="8" rx="2" fill="#e6ecf5" '
            f'stroke="{OUTLINE}" stroke-width="2"/>'
            f'<circle cx="{cx}" cy="{cy}" r="27" fill="#ffffff" stroke="{OUTLINE}" stroke-width="4"/>'
            f'<path d="M{cx} {cy} L{cx} {cy - 27} A27 27 0 0 1 {f(cx + 27)} {cy} Z" fill="#ff4d3a"/>'
            f'<circle cx="{cx}" cy="{cy}" r="27" fill="none" stroke="{OUTLINE}" stroke-width="4"/>'
            f'<path d="M{cx} {cy} L{cx} {cy - 20}" stroke="{OUTLINE}" stroke-width="3.5" '
            f'stroke-linecap="round"/><circle cx="{cx}" cy="{cy}" r="4" fill="{OUTLINE}"/>')


def broken_wheel(cx, cy):
    spokes = "".join(
        f'<line x1="{cx}" y1="{cy}" x2="{f(polar(cx, cy, a, 18)[0])}" '
        f'y2="{f(polar(cx, cy, a, 18)[1])}" stroke="#c9d3e0" stroke-width="4"/>'
        for a in (0, 72, 144, 216, 288))
    return (f'<circle cx="{cx}" cy="{cy}" r="29" fill="#20242e" stroke="{OUTLINE}" stroke-width="4"/>'
            f'<circle cx="{cx}" cy="{cy}" r="20" fill="#5b6476"/>' + spokes
            + f'<circle cx="{cx}" cy="{cy}" r="6" fill="#e6ecf5" stroke="{OUTLINE}" stroke-width="2"/>'
            f'<path d="M{cx + 6} {cy - 34} L{cx - 4} {cy - 8} L{cx + 6} {cy - 2} L{cx - 6} {cy + 32}" '
            f'fill="none" stroke="{OUTLINE}" stroke-width="7" stroke-linejoin="round"/>'
            f'<path d="M{cx + 6} {cy - 34} L{cx - 4} {cy - 8} L{cx + 6} {cy - 2} L{cx - 6} {cy + 32}" '
            f'fill="none" stroke="#ffd23a" stroke-width="3" stroke-linejoin="round"/>')


def banners():
    write("timeisovernb.svg",
          banner("ВРЕМЯ", "ВЫШЛО", "#ffb11f", "#e0560f", stopwatch(58, 84)))
    write("gameovernb.svg",
          banner("ИГРА", "ОКОНЧЕНА", "#ff4a5a", "#9c1030", broken_wheel(52, 84)))


# ---------------------------------------------------------------- explosions

def explosion(size, frame, frames, seed, centre=None, scale=1.0):
    """Cartoon blast: a white flash, a fireball of lobes, then grey puffs and embers.

    `centre` and `scale` move and shrink the blast inside its frame."""
    rnd = random.Random(seed)
    c = size / 2
    t = frame / (frames - 1)
    b = []
    lobes = [(rnd.uniform(0, 360), rnd.uniform(0.55, 0.8), rnd.uniform(0.3, 0.42))
             for _ in range(9)]
    grow = min(1.0, 0.35 + t * 1.6)
    fire = max(0.0, 1 - t * 1.25)   # how much of the ball still burns
    # smoke takes over in the second half: puffs drawn as one outlined cloud, lit from above
    if t > 0.3:
        k = (t - 0.3) / 0.7
        puffs = []
        for ang, dist, r in lobes:
            x, y = polar(c, c, ang, c * dist * (0.6 + 0.45 * k))
            puffs.append((x, y - k * c * 0.18, c * r * (1.0 - 0.5 * k)))
        g = int(150 - 55 * k)
        b += [f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(r + 1.3)}" fill="{OUTLINE}"/>'
              for x, y, r in puffs]
        b += [f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(r)}" fill="#{g:02x}{g - 4:02x}{g - 8:02x}"/>'
              for x, y, r in puffs]
        b += [f'<circle cx="{f(x - r * 0.25)}" cy="{f(y - r * 0.3)}" r="{f(r * 0.55)}" '
              f'fill="#{g + 30:02x}{g + 26:02x}{g + 22:02x}"/>' for x, y, r in puffs]
    if fire > 0:
        s0 = grow * (0.55 + 0.45 * fire)
        for ang, dist, r in lobes:   # one dark rim round the whole ball
            x, y = polar(c, c, ang, c * dist * s0 * 0.75)
            b.append(f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(c * r * s0 + 1.3)}" fill="#7a1608"/>')
        for layer, (colour, part) in enumerate((("#e8301e", 1.0), ("#ff8a1a", 0.78),
                                                ("#ffd23a", 0.55), ("#fffbe6", 0.3))):
            s = part * s0
            if layer == 3 and fire < 0.5:
                continue
            for ang, dist, r in lobes:
                x, y = polar(c, c, ang, c * dist * s * 0.75)
                b.append(f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(c * r * s)}" fill="{colour}"/>')
            b.append(f'<circle cx="{c}" cy="{c}" r="{f(c * 0.5 * s)}" fill="{colour}"/>')
    # embers fly out
    for k in range(10):
        ang = rnd.uniform(0, 360)
        d = c * (0.3 + 0.65 * t) * rnd.uniform(0.8, 1.1)
        if d > c - 3:
            continue
        x, y = polar(c, c, ang, d)
        r = max(0.9, 2.2 * (1 - t))
        b.append(f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(r)}" fill="#ffcf3a" stroke="#b8360a" '
                 f'stroke-width="0.6"/>')
    if t < 0.15:   # first frame: bright star flash
        pts = []
        for k in range(16):
            r = c * (0.95 if k % 2 == 0 else 0.42)
            pts.append("%s,%s" % tuple(map(f, polar(c, c, k * 22.5 + 11, r))))
        b.insert(0, f'<polygon points="{" ".join(pts)}" fill="#fff3b0" stroke="#ff9a1f" '
                    f'stroke-width="1.5"/>')
    if centre is not None:
        b.insert(0, f'<g transform="translate({f(centre[0] - c * scale)} {f(centre[1] - c * scale)}) '
                    f'scale({scale})">')
        b.append("</g>")
    return svg(size, size, "".join(b))


def spark(frame):
    """The gun's hit marker: its top-left corner sits on the point of impact."""
    w = h = 18
    r_out = (8, 7, 5)[frame]
    pts = []
    for k in range(8):
        r = r_out if k % 2 == 0 else r_out * 0.38
        pts.append("%s,%s" % tuple(map(f, polar(w / 2, h / 2, k * 45 + frame * 20, r))))
    b = [f'<polygon points="{" ".join(pts)}" fill="#fff6b0" stroke="#ff7a1a" stroke-width="1.2"/>',
         f'<circle cx="{w / 2}" cy="{h / 2}" r="2.2" fill="#ffffff"/>']
    return svg(w, h, "".join(b))


# name: size, frames, blast centre, blast scale. The crash and the traffic explosions are
# placed at the car's top-left corner, so the big blast sits left of the middle of its frame,
# nearer the middle of a car (about 24 across) yet still over a whole-lane wall (52).
EXPLOSIONS = {
    "explosionsmall": (64, 8, None, 1.0),
    "explosionbig": (110, 10, (45, 52), 0.8),
}


def explosions():
    for name, (size, frames, centre, scale) in EXPLOSIONS.items():
        for fr in range(frames):
            write(f"{name}_{fr:02d}.svg", explosion(size, fr, frames, size, centre, scale))
    for fr in range(3):
        write(f"explosionmicro_{fr}.svg", spark(fr))


# ---------------------------------------------------------------- bonus overlays on the car

GUN_W, GUN_H = 18, 30
GUN_BARRELS = (5.5, 12.5)   # barrel centres across the gun picture
GUNFIRE_FRAMES = 3
TURBO_W, TURBO_H = 34, 16
TURBOFIRE_FRAMES = 4


def gun():
    """Twin cannon on the roof, barrels forward."""
    b = [f'<rect x="1" y="14" width="16" height="15" rx="4" fill="url(#metal)" stroke="{OUTLINE}" '
         f'stroke-width="1.4"/>',
         '<rect x="2.5" y="25" width="13" height="2.5" fill="#ffcc2a"/>']
    for bx in GUN_BARRELS:
        b.append(f'<rect x="{bx - 2}" y="2" width="4" height="16" rx="1" fill="#c9d3e0" '
                 f'stroke="{OUTLINE}"/><rect x="{bx - 2.5}" y="1" width="5" height="4" rx="1" '
                 f'fill="#4a5365" stroke="{OUTLINE}"/>')
    b.append(f'<circle cx="9" cy="19.5" r="4.2" fill="url(#metal)" stroke="{OUTLINE}"/>'
             f'<circle cx="9" cy="19.5" r="1.8" fill="{KERB_RED}"/>')
    write("gun.svg", svg(GUN_W, GUN_H, "".join(b),
                         lin("metal", [(0, "#eef3f9"), (1, "#6d7889")], 0, 0, 1, 1)))


def gun_fire(frame):
    """Muzzle flash over both barrels and tracer dashes running ahead; 10 wider than the gun."""
    w, h = GUN_W + 10, 44
    b = []
    flash = (9, 6.5, 8)[frame]
    for bx in (5 + GUN_BARRELS[0], 5 + GUN_BARRELS[1]):   # the flame sits 5 left of the gun
        pts = []
        for k in range(8):
            r = flash if k % 2 == 0 else flash * 0.4
            pts.append("%s,%s" % tuple(map(f, polar(bx, h - 5, k * 45 + 22 * frame, r))))
        b.append(f'<polygon points="{" ".join(pts)}" fill="#ffe45c" stroke="#ff8a00" '
                 f'stroke-width="1"/>')
        b.append(f'<circle cx="{f(bx)}" cy="{h - 5}" r="2.2" fill="#ffffff"/>')
        for k in range(3):
            y = (h - 16) - ((frame * 6 + k * 13) % 34)
            b.append(f'<rect x="{f(bx - 1)}" y="{f(y)}" width="2" height="7" rx="1" fill="#fff6c0" '
                     f'stroke="#ff9a1f" stroke-width="0.6"/>')
    return svg(w, h, "".join(b))


TURBO_COLOURS = {"turbored": "#e8302f", "turboblue": "#2a74e6", "turboyellow": "#ffc21a"}


def turbo(colour):
    """Booster pack on the rear bumper: coloured casing, two nozzles at the back."""
    w, h = TURBO_W, TURBO_H
    b = [f'<rect x="3" y="1" width="{w - 6}" height="10" rx="3" fill="url(#case)" stroke="{OUTLINE}" '
         f'stroke-width="1.4"/>',
         f'<rect x="7" y="9" width="8" height="6" rx="1.5" fill="#3a4150" stroke="{OUTLINE}"/>',
         f'<rect x="{w - 15}" y="9" width="8" height="6" rx="1.5" fill="#3a4150" stroke="{OUTLINE}"/>',
         f'<rect x="9" y="12" width="4" height="2" fill="#0d0f14"/>'
         f'<rect x="{w - 13}" y="12" width="4" height="2" fill="#0d0f14"/>',
         f'<rect x="6" y="3" width="{w - 12}" height="2" rx="1" fill="#ffffff" opacity="0.6"/>']
    defs = lin("case", [(0, shade(colour, 0.35)), (1, shade(colour, -0.35))])
    return svg(w, h, "".join(b), defs)


def turbo_fire(frame):
    """Two flames out of the nozzles, flickering in length; 4 narrower than the booster."""
    w, h = TURBO_W - 4, 34
    b = []
    lengths = ((30, 24), (24, 31), (33, 27), (26, 22))[frame]
    for (cx, ln) in zip((9, w - 9), lengths):
        for colour, k, wd in (("#ff4a1a", 1.0, 6), ("#ffb11f", 0.75, 4.2), ("#fff7d0", 0.45, 2.4)):
            L = ln * k
            b.append(f'<path d="M{f(cx - wd)} 1 Q{f(cx - wd)} {f(L * 0.55)} {f(cx)} {f(L)} '
                     f'Q{f(cx + wd)} {f(L * 0.55)} {f(cx + wd)} 1 Z" fill="{colour}"/>')
    return svg(w, h, "".join(b))


def overlays():
    gun()
    for fr in range(GUNFIRE_FRAMES):
        write(f"gunfire_{fr}.svg", gun_fire(fr))
    for name, colour in TURBO_COLOURS.items():
        write(f"{name}.svg", turbo(colour))
    for fr in range(TURBOFIRE_FRAMES):
        write(f"turbofire_{fr}.svg", turbo_fire(fr))


# ---------------------------------------------------------------- manifest

def size_of(name):
    with open(os.path.join(HERE, name), encoding="utf-8") as src:
        head = src.readline()
    return (int(head.split('width="')[1].split('"')[0]), int(head.split('height="')[1].split('"')[0]))


def frames_entry(name, stem):
    files = sorted(n for n in os.listdir(HERE) if n.startswith(stem + "_") and n.endswith(".svg")
                   and n[len(stem) + 1:-4].isdigit())
    w, h = size_of(files[0])
    return f"image {name} {stem}_*.svg pattern={w}x{h}"


def manifest():
    lines = ["# The race image list (Res3). Sources are the SVGs beside this file, written by",
             "# generate.py; several files of one glob are the frames of one image, left to right.",
             "",
             "# road, drawn at x 124 and repeated; 256 high, so it wraps with the 512-pixel scroll",
             "image GroundLeft ground_left.svg transparent=0", "",
             "# HUD",
             "image LeftPanel leftpanel.svg transparent=0",
             "image RightPanel rightpanel.svg transparent=0",
             "image CarSmall carsmall.svg",
             "image Pointer pointer.svg",
             "image GunSmall gunsmall.svg",
             "image TurboSmall turbosmall.svg",
             "image None none.svg",
             "image Drifting drifting.svg",
             "image TimeIsOverNB timeisovernb.svg",
             "image GameOverNB gameovernb.svg", "",
             "# the player's cars"]
    lines += [f"image Car{i} car{i}.svg" for i in range(1, 5)]
    lines += ["", "# traffic: up the screen, and _Inv coming down it"]
    for n in range(5, 11):
        lines.append(frames_entry(f"Car{n}", f"car{n}"))
        lines.append(frames_entry(f"Car{n}_Inv", f"car{n}inv"))
    lines += ["", "# road objects",
              "image Wall05 wall05.svg", "image Wall10 wall10.svg", "image Spike10 spike10.svg",
              frames_entry("Water10", "water10"), frames_entry("Water05", "water05"),
              "image Stone05 stone05.svg", "image StoneSmall05 stonesmall05.svg",
              "image Crack crack.svg", frames_entry("Rabbit", "rabbit"), "", "# pick-ups"]
    for stem, name in (("bonus10", "Bonus10"), ("bonus20", "Bonus20"), ("bonus50", "Bonus50"),
                       ("bonus100", "Bonus100"), ("bonusgun", "BonusGun"),
                       ("bonusturbo", "BonusTurbo"), ("bonuslive", "BonusLive")):
        lines.append(frames_entry(name, stem))
    lines += ["", "# roadside scenery and the finish",
              "image SignLeftBlue signleftblue.svg", "image SignLeftRed signleftred.svg",
              "image SignRightBlue signrightblue.svg", "image SignRightRed signrightred.svg",
              "image WallLeft wallleft.svg", "image WallRight wallright.svg",
              "image FinishLine finishline.svg", "", "# explosions",
              frames_entry("ExplosionSmall", "explosionsmall"),
              frames_entry("ExplosionBig", "explosionbig"),
              frames_entry("ExplosionMicro", "explosionmicro"), "",
              "# overlays on the player's car while a bonus runs",
              "image Gun gun.svg", frames_entry("GunFire", "gunfire"),
              "image TurboBlue turboblue.svg", "image TurboRed turbored.svg",
              "image TurboYellow turboyellow.svg", frames_entry("TurboFire", "turbofire")]
    write("images.txt", "\n".join(lines) + "\n")


def main():
    for old in os.listdir(HERE):   # every SVG here comes from this script
        if old.endswith(".svg"):
            os.remove(os.path.join(HERE, old))
    road_tile()
    player_cars()
    traffic_cars()
    road_objects()
    bonuses()
    scenery()
    left_panel()
    right_panel()
    needle()
    mini_car()
    hud_icons()
    banners()
    explosions()
    overlays()
    manifest()


if __name__ == "__main__":
    main()
