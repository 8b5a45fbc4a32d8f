#!/usr/bin/env python3
"""Writes the menu pictures (image list Res1) as SVG files beside this script.

The SVGs are committed and the build renders them; run this again only after changing it:
    python3 assets/images/res1/generate.py
One style for every screen: a night-blue glass look with cyan rims, orange-gold highlights
for whatever is chosen, and DejaVu type for the Russian texts.
"""
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
RES3 = os.path.join(HERE, "..", "res3")

SANS = "DejaVu Sans"
COND = "DejaVu Sans Condensed"

NAVY_TOP, NAVY_BOTTOM = "#1a2a6e", "#0b1236"
CYAN, CYAN_DARK = "#33d6ff", "#1178b8"
GOLD_TOP, GOLD_BOTTOM = "#ffe66b", "#ff7a18"
INK = "#0a0d1e"
WHITE = "#f4f8ff"
SOFT = "#b9cdf2"
YELLOW = "#ffd23a"


# ---------------------------------------------------------------- SVG helpers

def svg(w, h, body, defs=""):
    d = f"<defs>{defs}</defs>\n" if defs else ""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">\n{d}{body}\n</svg>\n')


def lin(gid, stops, x1=0, y1=0, x2=0, y2=1):
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return f'<linearGradient id="{gid}" x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}">{s}</linearGradient>'


def rad(gid, stops, cx=0.5, cy=0.5, r=0.5):
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return f'<radialGradient id="{gid}" cx="{cx}" cy="{cy}" r="{r}">{s}</radialGradient>'


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def text(x, y, s, size, fill=WHITE, anchor="start", family=SANS, weight="bold",
         stroke=None, sw=0, italic=False, spacing=None):
    extra = f' stroke="{stroke}" stroke-width="{sw}" stroke-linejoin="round" paint-order="stroke"' if stroke else ""
    extra += ' font-style="italic"' if italic else ""
    extra += f' letter-spacing="{spacing}"' if spacing is not None else ""
    return (f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" font-weight="{weight}" '
            f'fill="{fill}" text-anchor="{anchor}"{extra}>{esc(s)}</text>')


def lines(x, y, rows, size, step, fill=WHITE, family=COND, weight="bold", anchor="start"):
    return "".join(text(x, y + i * step, r, size, fill, anchor, family, weight) for i, r in enumerate(rows))


def glass_panel(x, y, w, h, r=16, gid="panel", rim=CYAN, rim_w=3):
    """A rounded dark-glass panel: dark rim, bright inner rim and a soft top sheen."""
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{INK}"/>'
            f'<rect x="{x + 2}" y="{y + 2}" width="{w - 4}" height="{h - 4}" rx="{r - 2}" fill="url(#{gid})" '
            f'stroke="{rim}" stroke-width="{rim_w}"/>'
            f'<rect x="{x + 8}" y="{y + 6}" width="{w - 16}" height="{min(26, h // 4)}" rx="{max(2, r - 8)}" '
            f'fill="#ffffff" fill-opacity="0.07"/>')


def panel_defs(gid="panel"):
    return lin(gid, [(0, "#1d2f78"), (0.5, "#121d52"), (1, "#0b1236")])


def write(name, content):
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as f:
        f.write(content)


# ---------------------------------------------------------------- icons (drawn in a 0..100 box)

def icon_flag():
    cells = []
    for r in range(4):
        for c in range(5):
            if (r + c) % 2 == 0:
                cells.append(f'<rect x="{30 + c * 11}" y="{18 + r * 9}" width="11" height="9" fill="{INK}"/>')
    return (f'<rect x="24" y="14" width="6" height="74" rx="2" fill="{SOFT}" stroke="{INK}" stroke-width="2"/>'
            f'<rect x="30" y="18" width="55" height="36" fill="{WHITE}" stroke="{INK}" stroke-width="2"/>'
            + "".join(cells))


def icon_gear():
    teeth = "".join(f'<rect x="44" y="8" width="12" height="20" rx="2" fill="{SOFT}" stroke="{INK}" stroke-width="2" '
                    f'transform="rotate({a} 50 50)"/>' for a in range(0, 360, 45))
    return (teeth + f'<circle cx="50" cy="50" r="30" fill="{SOFT}" stroke="{INK}" stroke-width="3"/>'
            f'<circle cx="50" cy="50" r="12" fill="{NAVY_BOTTOM}" stroke="{INK}" stroke-width="3"/>')


def icon_cup():
    return (f'<path d="M28 16 H72 V36 Q72 62 50 66 Q28 62 28 36 Z" fill="{YELLOW}" stroke="{INK}" stroke-width="3"/>'
            f'<path d="M28 24 H16 Q14 44 30 48 M72 24 H84 Q86 44 70 48" fill="none" stroke="{YELLOW}" stroke-width="5"/>'
            f'<rect x="44" y="64" width="12" height="12" fill="{GOLD_BOTTOM}" stroke="{INK}" stroke-width="2"/>'
            f'<rect x="30" y="76" width="40" height="10" rx="2" fill="{GOLD_BOTTOM}" stroke="{INK}" stroke-width="3"/>'
            f'<path d="M38 22 V40" stroke="#fff6c0" stroke-width="4" stroke-linecap="round"/>')


def icon_question():
    return (f'<circle cx="50" cy="50" r="38" fill="{CYAN}" stroke="{INK}" stroke-width="3"/>'
            + text(50, 72, "?", 62, INK, "middle"))


def icon_globe():
    return (f'<circle cx="50" cy="50" r="38" fill="{CYAN_DARK}" stroke="{INK}" stroke-width="3"/>'
            f'<ellipse cx="50" cy="50" rx="16" ry="38" fill="none" stroke="{WHITE}" stroke-width="3"/>'
            f'<path d="M12 50 H88 M18 30 H82 M18 70 H82 M50 12 V88" stroke="{WHITE}" stroke-width="3" fill="none"/>')


def icon_door():
    return (f'<rect x="22" y="12" width="46" height="78" rx="3" fill="{SOFT}" stroke="{INK}" stroke-width="3"/>'
            f'<path d="M22 12 L50 22 V96 L22 90 Z" fill="{GOLD_BOTTOM}" stroke="{INK}" stroke-width="3"/>'
            f'<circle cx="44" cy="58" r="3.5" fill="{INK}"/>'
            f'<path d="M66 50 H90 M80 40 L90 50 L80 60" fill="none" stroke="{INK}" stroke-width="9" stroke-linecap="round"/>'
            f'<path d="M66 50 H90 M80 40 L90 50 L80 60" fill="none" stroke="{YELLOW}" stroke-width="5" stroke-linecap="round"/>')


def badge(x, y, size, icon):
    k = size / 100
    return f'<g transform="translate({x} {y}) scale({k})">{icon}</g>'


# ---------------------------------------------------------------- main menu

def main_menu_background():
    w, h = 800, 600
    hz = 332  # horizon
    defs = (lin("sky", [(0, "#070a24"), (0.35, "#1b1650"), (0.62, "#5a1d6e"), (0.86, "#d3416a"), (1, "#ff8a3d")])
            + lin("sun", [(0, "#fff27a"), (0.5, "#ffb23a"), (1, "#ff4f6a")])
            + lin("ground", [(0, "#1a0f3a"), (1, "#05061a")])
            + lin("road", [(0, "#2a2150"), (1, "#121230")])
            + lin("hills", [(0, "#2b1a5c"), (1, "#140c33")]))
    b = [f'<rect width="{w}" height="{hz}" fill="url(#sky)"/>']
    # stars in the upper sky
    seed = 7
    for _ in range(70):
        seed = (seed * 1103515245 + 12345) % 2147483648
        sx = seed % 800
        seed = (seed * 1103515245 + 12345) % 2147483648
        sy = seed % 220
        b.append(f'<rect x="{sx}" y="{sy}" width="2" height="2" fill="#cfd8ff" fill-opacity="0.8"/>')
    # striped sun sinking behind the hills
    b.append('<clipPath id="sunclip"><circle cx="300" cy="300" r="128"/></clipPath>')
    b.append('<rect x="170" y="170" width="260" height="170" fill="url(#sun)" clip-path="url(#sunclip)"/>')
    for i, y0 in enumerate(range(258, 332, 13)):
        b.append(f'<rect x="160" y="{y0}" width="280" height="{3 + i}" fill="#5a1d6e" clip-path="url(#sunclip)"/>')
    # distant hills
    b.append(f'<path d="M0 {hz} L0 290 L60 270 L120 296 L190 254 L250 300 L330 276 L420 306 L500 262 '
             f'L590 298 L660 268 L740 292 L800 276 L800 {hz} Z" fill="url(#hills)"/>')
    b.append(f'<path d="M0 {hz} L0 312 L90 300 L170 318 L260 304 L350 320 L450 300 L560 318 L650 304 '
             f'L740 318 L800 308 L800 {hz} Z" fill="#10092a"/>')
    # ground with a perspective grid
    b.append(f'<rect y="{hz}" width="{w}" height="{h - hz}" fill="url(#ground)"/>')
    vx = 300
    for i in range(-14, 15):
        x_far = vx + i * 18
        x_near = vx + i * 150
        b.append(f'<line x1="{x_far}" y1="{hz}" x2="{x_near}" y2="{h}" stroke="#c23cff" stroke-opacity="0.55" stroke-width="1.5"/>')
    y, step = hz + 4, 4.0
    while y < h:
        b.append(f'<line x1="0" y1="{y:.1f}" x2="{w}" y2="{y:.1f}" stroke="#c23cff" stroke-opacity="0.5" stroke-width="1.5"/>')
        step *= 1.35
        y += step
    # the road to the horizon
    b.append(f'<path d="M{vx - 14} {hz} L{vx + 14} {hz} L{vx + 330} {h} L{vx - 330} {h} Z" fill="url(#road)"/>')
    b.append(f'<path d="M{vx - 14} {hz} L{vx - 330} {h} M{vx + 14} {hz} L{vx + 330} {h}" stroke="{CYAN}" stroke-width="4"/>')
    yy, seg = hz + 6, 6.0
    while yy < h:
        t0 = (yy - hz) / (h - hz)
        t1 = (min(h, yy + seg) - hz) / (h - hz)
        b.append(f'<path d="M{vx - 1 - 6 * t0} {yy:.1f} L{vx + 1 + 6 * t0} {yy:.1f} L{vx + 1 + 6 * t1} {yy + seg:.1f} '
                 f'L{vx - 1 - 6 * t1} {yy + seg:.1f} Z" fill="{YELLOW}"/>')
        yy += seg * 2.2
        seg *= 1.45
    # speed streaks across the right half, behind the buttons
    for i, (sy, ln) in enumerate(((140, 300), (205, 220), (268, 340), (392, 260), (452, 320))):
        b.append(f'<rect x="{800 - ln}" y="{sy}" width="{ln}" height="{3 if i % 2 else 2}" fill="{CYAN}" fill-opacity="0.35"/>')
    return svg(w, h, "".join(b), defs)


def up_panel():
    w, h = 800, 100
    defs = (lin("metal", [(0, "#2c3f95"), (0.55, "#16215a"), (1, "#0c1340")])
            + lin("title", [(0, "#fff7b0"), (0.45, YELLOW), (1, "#ff6a1a")]))
    b = [f'<path d="M0 0 H800 V78 H560 L536 96 H264 L240 78 H0 Z" fill="{INK}"/>',
         f'<path d="M0 0 H800 V74 H558 L534 92 H266 L242 74 H0 Z" fill="url(#metal)" stroke="{CYAN}" stroke-width="3"/>',
         '<rect x="0" y="4" width="800" height="18" fill="#ffffff" fill-opacity="0.06"/>']
    # chequered ends
    for side in (0, 1):
        for r in range(3):
            for c in range(9):
                if (r + c) % 2 == 0:
                    x0 = (18 + c * 12) if side == 0 else (674 + c * 12)
                    b.append(f'<rect x="{x0}" y="{26 + r * 12}" width="12" height="12" fill="{WHITE}" fill-opacity="0.85"/>')
    b.append(text(402, 68, "ГОНКОСТРЕЛЬ", 50, INK, "middle", SANS, "bold", INK, 10, italic=True))
    b.append(text(400, 64, "ГОНКОСТРЕЛЬ", 50, "url(#title)", "middle", SANS, "bold", "#3a0c00", 3, italic=True))
    return svg(w, h, "".join(b), defs)


def down_panel():
    w, h = 800, 100
    defs = lin("metal", [(0, "#0c1340"), (0.45, "#16215a"), (1, "#2c3f95")])
    b = [f'<path d="M0 22 H230 L254 4 H546 L570 22 H800 V100 H0 Z" fill="{INK}"/>',
         f'<path d="M0 26 H232 L256 8 H544 L568 26 H800 V100 H0 Z" fill="url(#metal)" stroke="{CYAN}" stroke-width="3"/>']
    for c in range(44):
        for r in range(2):
            if (r + c) % 2 == 0:
                b.append(f'<rect x="{c * 18}" y="{90 + r * 5}" width="18" height="5" fill="{WHITE}" fill-opacity="0.8"/>')
    b.append(text(400, 31, "ВЫБОР: \u2190 \u2191 \u2192 \u2193  ·  ENTER — ВЫБРАТЬ  ·  ESC — НАЗАД", 15, SOFT, "middle", COND))
    b.append(text(400, 66, "ДОРОГА ЗОВЁТ — ЖМИ НА ГАЗ!", 24, YELLOW, "middle", SANS, "bold", INK, 4, italic=True))
    return svg(w, h, "".join(b), defs)


CAPTIONS = (
    ("StartCaption", "СТАРТ", icon_flag,
     ["Выберите машину — и в путь!", "Мчитесь по трассе, объезжайте", "препятствия, собирайте бонусы",
      "и успейте к финишу, пока идут часы."]),
    ("OptionsCaption", "НАСТРОЙКИ", icon_gear,
     ["Окно или полный экран,", "музыка и звуковые эффекты,", "а ещё ваша страна — она уйдёт",
      "в сетевую таблицу рекордов."]),
    ("HighScoresCaption", "РЕКОРДЫ", icon_cup,
     ["Десять лучших гонщиков.", "Попадёте ли вы в эту таблицу?", "Лучший результат можно отправить",
      "в общую таблицу в интернете."]),
    ("HelpCaption", "ПОМОЩЬ", icon_question,
     ["Управление, опасности на дороге,", "бонусы, уровни и очки —", "всё, что стоит знать", "перед первым стартом."]),
    ("VisitWWWCaption", "НАШ САЙТ", icon_globe,
     ["Откроет сайт игры в браузере:", "новости, сетевая таблица", "рекордов и другие наши игры."]),
    ("ExitCaption", "ВЫХОД", icon_door,
     ["Закончить игру.", "Настройки и рекорды будут", "сохранены. До встречи на трассе!"]),
)


def caption(title, icon, rows):
    w, h = 500, 240
    defs = panel_defs() + lin("title", [(0, "#fff7b0"), (0.5, YELLOW), (1, "#ff8a1e")])
    b = [glass_panel(4, 4, w - 8, h - 8, 22),
         f'<circle cx="68" cy="64" r="46" fill="{INK}"/>',
         f'<circle cx="68" cy="64" r="42" fill="#24398f" stroke="{CYAN}" stroke-width="3"/>',
         badge(36, 32, 64, icon()),
         text(128, 78, title, 40, "url(#title)", "start", SANS, "bold", INK, 6),
         f'<rect x="128" y="92" width="340" height="4" rx="2" fill="{CYAN}"/>',
         lines(32, 136, rows, 21, 27, WHITE)]
    return svg(w, h, "".join(b), defs)


def null_caption():
    return svg(500, 240, "")


MAIN_LABELS = ("СТАРТ", "НАСТРОЙКИ", "РЕКОРДЫ", "ПОМОЩЬ", "НАШ САЙТ")


def button_face(x, y, w, h, label, active, size=26, gid_suffix="", r=None, shift=0):
    """One button: dark with a cyan rim when idle, hot gold with a white rim when chosen."""
    r = h // 2 - 4 if r is None else r
    body = f"url(#{'hot' if active else 'cool'}{gid_suffix})"
    rim = WHITE if active else CYAN
    fg = INK if active else WHITE
    b = [f'<rect x="{x + 1}" y="{y + 1}" width="{w - 2}" height="{h - 2}" rx="{r}" fill="{INK}"/>',
         f'<rect x="{x + 3}" y="{y + 3}" width="{w - 6}" height="{h - 6}" rx="{r - 2}" fill="{body}" stroke="{rim}" stroke-width="2.5"/>',
         f'<rect x="{x + 10}" y="{y + 6}" width="{w - 20}" height="{(h - 12) // 2}" rx="{max(2, (h - 12) // 4)}" fill="#ffffff" '
         f'fill-opacity="{0.28 if active else 0.09}"/>']
    if label:
        if active:
            b.append(text(x + w / 2 + shift, y + h / 2 + size * 0.36, label, size, fg, "middle"))
        else:
            b.append(text(x + w / 2 + shift, y + h / 2 + size * 0.36, label, size, fg, "middle", SANS, "bold", INK, 3))
    return "".join(b)


def button_defs(suffix=""):
    return (lin("hot" + suffix, [(0, "#fff3a0"), (0.45, YELLOW), (1, "#ff7a18")])
            + lin("cool" + suffix, [(0, "#2f48b0"), (0.5, "#1a2a78"), (1, "#0d1650")]))


def main_buttons(active):
    w, h = 240, 56
    body = "".join(button_face(i * w, 0, w, h, label, active, 22, shift=10) + chevron(i * w + 22, h / 2, active)
                   for i, label in enumerate(MAIN_LABELS))
    return svg(w * len(MAIN_LABELS), h, body, button_defs())


def chevron(x, cy, active):
    c = INK if active else CYAN
    return f'<path d="M{x} {cy - 8} L{x + 8} {cy} L{x} {cy + 8}" fill="none" stroke="{c}" stroke-width="4" stroke-linecap="round" stroke-linejoin="round"/>'


def exit_button(active):
    w, h = 240, 56
    return svg(w, h, button_face(0, 0, w, h, "ВЫХОД", active, 22, shift=10) + chevron(22, h / 2, active), button_defs())


# ---------------------------------------------------------------- sub-screen backgrounds (535 x 380 at 14, 115)

SUB_W, SUB_H = 535, 380


def sub_frame(title, extra_defs=""):
    defs = panel_defs() + extra_defs
    b = [glass_panel(0, 0, SUB_W, SUB_H, 20)]
    if title:
        b.append(text(SUB_W - 24, 20, title, 16, YELLOW, "end", SANS, "bold", INK, 3, spacing=1))
    return b, defs


def options_background():
    b, defs = sub_frame("НАСТРОЙКИ")
    for top in (25, 73, 121, 169):
        b.append(f'<rect x="244" y="{top + 2}" width="280" height="40" rx="10" fill="#070b26" stroke="#2a4aa8" stroke-width="2"/>')
    b.append(f'<rect x="24" y="232" width="487" height="3" rx="1.5" fill="{CYAN_DARK}"/>')
    b.append(lines(30, 268, ["Щёлкните по строке или нажмите Enter,", "чтобы переключить настройку.",
                             "Страну можно ввести с клавиатуры: щёлкните", "по строке «ВАША СТРАНА» и печатайте.",
                             "Всё сохранится при выходе из игры."], 18, 24, SOFT, COND, "bold"))
    return svg(SUB_W, SUB_H, "".join(b), defs)


def high_scores_background():
    defs_extra = (rad("gold", [(0, "#fff4a0"), (1, "#e09a10")]) + rad("silver", [(0, "#ffffff"), (1, "#8d9bb8")])
                  + rad("bronze", [(0, "#ffd0a0"), (1, "#a55a20")]))
    b, defs = sub_frame("", defs_extra)
    b.append(text(46, 26, "МЕСТО", 13, CYAN, "start", COND))
    b.append(text(112, 26, "ГОНЩИК", 13, CYAN, "start", COND))
    b.append(text(386, 26, "ОЧКИ", 13, CYAN, "start", COND))
    for i in range(10):
        top = 35 + 26 * i
        fill = "#1b2b72" if i % 2 == 0 else "#131f58"
        b.append(f'<rect x="18" y="{top}" width="499" height="26" rx="6" fill="{fill}"/>')
    for i, medal in enumerate(("gold", "silver", "bronze")):
        cy = 35 + 26 * i + 13
        b.append(f'<circle cx="30" cy="{cy}" r="9" fill="url(#{medal})" stroke="{INK}" stroke-width="2"/>')
    return svg(SUB_W, SUB_H, "".join(b), defs)


def start_game_background():
    b, defs = sub_frame("")
    b.append(text(SUB_W / 2, 34, "ВЫБЕРИТЕ МАШИНУ", 26, "url(#title)", "middle", SANS, "bold", INK, 5))
    defs += lin("title", [(0, "#fff7b0"), (0.5, YELLOW), (1, "#ff8a1e")])
    b.append(f'<rect x="20" y="262" width="495" height="3" rx="1.5" fill="{CYAN_DARK}"/>')
    b.append(lines(SUB_W / 2, 296, ["\u2190 \u2192 — выбор машины,  Enter — старт!",
                                     "У каждой машины свой характер и свой цвет турбо.",
                                     "Удачи на трассе!"], 18, 26, SOFT, COND, "bold", "middle"))
    return svg(SUB_W, SUB_H, "".join(b), defs)


# ---------------------------------------------------------------- help pages

def key_cap(x, y, label, w=44, h=40, size=20):
    return (f'<rect x="{x}" y="{y + 3}" width="{w}" height="{h}" rx="8" fill="{INK}"/>'
            f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="8" fill="url(#key)" stroke="{INK}" stroke-width="2"/>'
            + text(x + w / 2, y + h / 2 + size * 0.36, label, size, INK, "middle"))


KEY_DEFS = lin("key", [(0, "#ffffff"), (1, "#aebbd8")])


def help_frame(page, title):
    b, defs = sub_frame("")
    defs += KEY_DEFS + lin("title", [(0, "#fff7b0"), (0.5, YELLOW), (1, "#ff8a1e")])
    b.append(text(24, 38, title, 26, "url(#title)", "start", SANS, "bold", INK, 5))
    b.append(text(SUB_W - 24, 36, f"{page} / 4", 18, SOFT, "end", COND))
    b.append(f'<rect x="20" y="50" width="495" height="3" rx="1.5" fill="{CYAN_DARK}"/>')
    b.append(text(SUB_W / 2, 343, "\u2190 \u2192  листать страницы", 15, SOFT, "middle", COND))
    return b, defs


def help1():
    b, defs = help_frame(1, "УПРАВЛЕНИЕ")
    rows = (
        (["\u2191"], "газ"),
        (["\u2193"], "тормоз"),
        (["\u2190", "\u2192"], "руль: влево и вправо"),
        (["ПРОБЕЛ", "CTRL"], "огонь (когда есть пушка)"),
        (["P"], "пауза"),
        (["ESC"], "выйти из гонки (Y — да, N — нет)"),
    )
    y = 64
    for keys, what in rows:
        x = 28
        for k in keys:
            w = 44 if len(k) == 1 else 20 + 10 * len(k)
            b.append(key_cap(x, y, k, w, 34, 17 if len(k) == 1 else 14))
            x += w + 8
        b.append(text(204, y + 24, what, 18, WHITE, "start", COND))
        y += 42
    return svg(SUB_W, SUB_H, "".join(b), defs)


def help2():
    b, defs = help_frame(2, "ОПАСНОСТИ НА ДОРОГЕ")
    rows = (
        ([("wall10.svg", 82)], "Стена: на скорости — авария и минус жизнь,", "тихонько — просто остановка."),
        ([("spike10.svg", 82)], "Шипы: прокол, машину заносит,", "скорость падает."),
        ([("water05_0.svg", 82)], "Лужа: сбавляет ход и сносит", "в соседнюю полосу."),
        ([("stone05.svg", 34), ("crack.svg", 48)], "Камни и трещины: трясёт", "и тормозит."),
        ([("rabbit_0.svg", 82)], "Кролик: не задавите! Минус 100 очков.", None),
        ([("car7_0.svg", 41), ("car5_0.svg", 41)], "Машины: едут по трассе каждый третий", "уровень. Столкновение — авария."),
    )
    y = 62
    for i, (pictures, l1, l2) in enumerate(rows):
        b.append(f'<rect x="18" y="{y - 3}" width="94" height="38" rx="8" fill="#4a4f5e" stroke="#7a8296" stroke-width="1.5"/>')
        x = 25
        for j, (file_name, w) in enumerate(pictures):
            b.append(res3_fit(file_name, f"h{i}{j}", x, y - 1, w, 34))
            x += w
        b.append(text(122, y + 14 if l2 else y + 22, l1, 16, WHITE, "start", COND))
        if l2:
            b.append(text(122, y + 32, l2, 16, SOFT, "start", COND))
        y += 40
    return svg(SUB_W, SUB_H, "".join(b), defs)


def help3():
    b, defs = help_frame(3, "БОНУСЫ")
    for i, name in enumerate(("bonus10", "bonus20", "bonus50", "bonus100")):
        b.append(res3_fit(f"{name}_0.svg", f"b{i}", 24 + i * 44, 64, 40, 40))
    b.append(text(214, 80, "Очки: +10, +20, +50 и +100.", 18, WHITE, "start", COND))
    b.append(text(214, 100, "Собирайте всё, что блестит!", 18, SOFT, "start", COND))
    rows = (
        ("bonusgun_0.svg", ["Пушка: Пробел или Ctrl — огонь.", "Три попадания — и препятствие разбито:",
                            "стена даёт +10 очков, машина +20."]),
        ("bonusturbo_0.svg", ["Турбо: быстрее разгон, выше скорость.", "Пушка и турбо действуют 10 секунд."]),
        ("bonuslive_0.svg", ["Жизнь: ещё одна попытка.", "Их число видно на левой панели."]),
    )
    y = 124
    for i, (file_name, words) in enumerate(rows):
        b.append(res3_fit(file_name, f"r{i}", 45, y, 40, 40))
        b.append(text(120, y + 16, words[0], 18, WHITE, "start", COND))
        for k, w in enumerate(words[1:]):
            b.append(text(120, y + 36 + 17 * k, w, 15, SOFT, "start", COND))
        y += 64 if len(words) > 2 else 58
    return svg(SUB_W, SUB_H, "".join(b), defs)


def help4():
    b, defs = help_frame(4, "УРОВНИ И ОЧКИ")
    rows = ["Каждый уровень — отрезок трассы. Доберитесь",
            "до финиша, пока не кончилось время на часах.",
            "Каждая оставшаяся секунда — ещё 5 очков.",
            "Следующий уровень длиннее, времени больше,",
            "а препятствий — тоже больше.",
            "Время вышло или авария — минус жизнь.",
            "Жизней три; кончились — гонка окончена.",
            "Десять лучших попадают в таблицу рекордов."]
    for i, r in enumerate(rows):
        b.append(text(34, 84 + i * 29, r, 18, WHITE if i % 3 != 2 else YELLOW, "start", COND))
    return svg(SUB_W, SUB_H, "".join(b), defs)


# ---------------------------------------------------------------- small buttons and widgets

def two_looks(w, h, draw):
    """Pattern 0 the normal look, pattern 1 the highlighted one, side by side."""
    return svg(2 * w, h, draw(0, False) + draw(w, True), button_defs())


def option_button(active):
    w, h = 238, 44
    return svg(w, h, button_face(0, 0, w, h, "", active, r=12), button_defs())


def arrow_button(direction):
    w, h = 64, 44

    def draw(x, active):
        c = INK if active else WHITE
        if direction < 0:
            path = f"M{x + 38} 12 L{x + 24} 22 L{x + 38} 32"
        else:
            path = f"M{x + 26} 12 L{x + 40} 22 L{x + 26} 32"
        return (button_face(x, 0, w, h, "", active, r=14)
                + f'<path d="{path}" fill="none" stroke="{INK if not active else "#ffffff"}" stroke-width="9" stroke-linecap="round" stroke-linejoin="round"/>'
                + f'<path d="{path}" fill="none" stroke="{c}" stroke-width="5" stroke-linecap="round" stroke-linejoin="round"/>')
    return two_looks(w, h, draw)


def label_button(w, h, label, size):
    return two_looks(w, h, lambda x, active: button_face(x, 0, w, h, label, active, size, r=14))


def cursor():
    return svg(20, 4, f'<rect width="20" height="4" fill="{INK}"/><rect x="1" y="0" width="18" height="3" fill="{YELLOW}"/>')


def dialog(title, rows, field):
    w, h = 400, 220
    defs = panel_defs() + lin("title", [(0, "#fff7b0"), (0.5, YELLOW), (1, "#ff8a1e")])
    b = [glass_panel(0, 0, w, h, 20),
         text(w / 2, 42, title, 28, "url(#title)", "middle", SANS, "bold", INK, 5)]
    if field:
        b.append(text(186, 103, "ВАШЕ ИМЯ:", 19, WHITE, "end", COND))
        b.append(f'<rect x="192" y="76" width="194" height="42" rx="8" fill="#05081c" stroke="{CYAN}" stroke-width="2.5"/>')
        b.append(lines(w / 2, 152, rows, 17, 24, SOFT, COND, "bold", "middle"))
    else:
        b.append(lines(w / 2, 78, rows, 18, 25, WHITE, COND, "bold", "middle"))
    return svg(w, h, "".join(b), defs)


# ---------------------------------------------------------------- car cards

def res3_svg(file_name, prefix):
    """A race-list drawing inlined (its ids made unique by `prefix`), with its size."""
    with open(os.path.join(RES3, file_name), encoding="utf-8") as f:
        src = f.read()
    head = re.search(r"<svg[^>]*>", src).group(0)
    w = float(re.search(r'width="([0-9.]+)"', head).group(1))
    h = float(re.search(r'height="([0-9.]+)"', head).group(1))
    inner = re.sub(r"^.*?<svg[^>]*>", "", src, flags=re.S)
    inner = re.sub(r"</svg>\s*$", "", inner)
    inner = re.sub(r'(id="|url\(#|href="#)([A-Za-z0-9_-]+)', lambda m: f"{m.group(1)}{prefix}{m.group(2)}", inner)
    return inner, w, h


def res3_fit(file_name, prefix, x, y, w, h):
    """The race-list drawing scaled to fit the box (x, y, w, h), centred in it."""
    inner, sw, sh = res3_svg(file_name, prefix)
    k = min(w / sw, h / sh)
    ox, oy = x + (w - sw * k) / 2, y + (h - sh * k) / 2
    return f'<g transform="translate({ox:.2f} {oy:.2f}) scale({k:.4f})">{inner}</g>'


def res3_car(n):
    """The in-race car drawing, so the car card shows the car the player will drive."""
    return res3_svg(f"car{n}.svg", f"c{n}")[0]


CAR_NAMES = ("МОЛНИЯ", "КОМЕТА", "ОСА", "ВИХРЬ")
TURBO = ("#ff4034", "#3a8dff", "#ffd23a", "#ff4034")


def car_card(n, active):
    w, h = 112, 190
    defs = (lin("card", [(0, "#2a3f9a"), (1, "#0c1442")]) if not active
            else lin("card", [(0, "#fff3a0"), (0.5, "#ffb23a"), (1, "#ff6a18")]))
    rim = WHITE if active else CYAN
    b = [f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="14" fill="{INK}"/>',
         f'<rect x="3" y="3" width="{w - 6}" height="{h - 6}" rx="12" fill="url(#card)" stroke="{rim}" stroke-width="2.5"/>',
         f'<rect x="16" y="12" width="80" height="132" rx="10" fill="#2b2f3d" stroke="{INK}" stroke-width="2"/>',
         '<path d="M56 16 V140" stroke="#e9edf5" stroke-width="2" stroke-dasharray="10 8"/>',
         f'<g transform="translate(24 18) scale(1.33)">{res3_car(n)}</g>',
         f'<circle cx="22" cy="160" r="7" fill="{TURBO[n - 1]}" stroke="{INK}" stroke-width="2"/>']
    fg = INK if active else WHITE
    b.append(text(w / 2 + 7, 166, CAR_NAMES[n - 1], 15 if len(CAR_NAMES[n - 1]) < 6 else 13, fg, "middle", COND))
    b.append(text(w / 2, 182, f"№ {n}", 11, fg, "middle", COND))
    return svg(w, h, "".join(b), defs)


# ---------------------------------------------------------------- all of it

def main():
    write("main_menu_background.svg", main_menu_background())
    write("up_panel.svg", up_panel())
    write("down_panel.svg", down_panel())
    write("null_caption.svg", null_caption())
    for name, title, icon, rows in CAPTIONS:
        write(re.sub(r"(?<!^)([A-Z])", r"_\1", name).lower().replace("w_w_w", "www") + ".svg",
              caption(title, icon, rows))
    write("main_menu_buttons_inactive.svg", main_buttons(False))
    write("main_menu_buttons_active.svg", main_buttons(True))
    write("main_menu_exit_inactive.svg", exit_button(False))
    write("main_menu_exit_active.svg", exit_button(True))
    write("options_background.svg", options_background())
    write("high_scores_background.svg", high_scores_background())
    write("start_game_background.svg", start_game_background())
    for i, page in enumerate((help1, help2, help3, help4), start=1):
        write(f"help{i}.svg", page())
    write("option_button_inactive.svg", option_button(False))
    write("option_button_active.svg", option_button(True))
    write("cursor.svg", cursor())
    write("previous.svg", arrow_button(-1))
    write("next.svg", arrow_button(1))
    write("clear_high_scores.svg", label_button(240, 50, "СБРОСИТЬ", 22))
    write("view_high_scores.svg", label_button(240, 50, "РЕКОРДЫ В СЕТИ", 20))
    for n in range(1, 5):
        write(f"car{n}.svg", car_card(n, False))
        write(f"car{n}_active.svg", car_card(n, True))
    write("enter_your_name.svg", dialog("НОВЫЙ РЕКОРД!", ["Напечатайте имя и нажмите Enter.",
                                                          "Backspace стирает последнюю букву."], True))
    write("send_results.svg", dialog("ОТПРАВИТЬ?", ["Отправить ваш результат", "в сетевую таблицу рекордов?"], False))
    write("ok_button2.svg", label_button(160, 45, "ОТПРАВИТЬ", 19))
    write("cancel_button2.svg", label_button(160, 45, "ОТМЕНА", 19))


if __name__ == "__main__":
    main()
