#!/usr/bin/env python3
"""Draws the images of the settings page into config/page/.

  bullet.gif             12x12 group caption bullet (JPEG data, as the page
                         host serves it by that name regardless of format)
  rss16.gif              14x14 news feed icon
  leafnote_ico.gif       16x16 product icons, matted for the whitesmoke
  keymark_ico.gif        background of the column they stand in
  snipdrop_ico.gif
  ks_howto_settings.gif  302x233 picture: the tray menu opened from the
                         Kestrow icon, with "Settings..." highlighted

Small images are drawn pixel by pixel in Python (shared with
scripts/draw_icons.py, whose tray glyph also appears in the picture);
ImageMagick's `convert` encodes them and draws the picture's text with the
DejaVu Sans fonts (Debian packages imagemagick and fonts-dejavu-core).
The generated files are committed; building never needs this script.

Usage: scripts/draw_page_images.py [output-directory]
"""

import math
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import draw_icons as icons  # noqa: E402  (shared canvas and tray glyph)
from draw_icons import Canvas, rgb, mix, rect, circle, rounded_rect, inset  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

WHITE = (1.0, 1.0, 1.0, 1.0)
WHITESMOKE = rgb("#F5F5F5")


def matte(canvas, background):
    """Blends partly covered pixels over the background the image will be
    shown on and leaves fully transparent ones transparent: GIF has only
    on/off transparency, and this keeps the edges smooth on that background."""

    def fn(p):
        if p[3] <= 0.0:
            return [0.0, 0.0, 0.0, 0.0]
        a = p[3]
        return [p[i] * a + background[i] * (1.0 - a) for i in range(3)] + [1.0]

    canvas.map(fn)
    return canvas


def write_image(canvas, path, extra_args=()):
    """Hands the RGBA pixels to ImageMagick, which picks the output format
    from the `fmt:` prefix of `path`."""
    size = "%dx%d" % (canvas.width, canvas.height)
    subprocess.run(["convert", "-size", size, "-depth", "8", "rgba:-", *extra_args, path],
                   input=canvas.rgba_bytes(), check=True)


# ---- small images ----

def draw_bullet():
    c = Canvas(12, 12)
    c.fill(circle(6.0, 6.0, 5.0), rgb("#10104A"))
    c.fill(circle(6.0, 6.0, 4.0),
           lambda x, y: mix(rgb("#6C8CE0"), rgb("#191970"), math.hypot(x - 4.5, y - 4.5) / 6.0))
    c.fill(circle(4.6, 4.4, 1.5), rgb("#FFFFFF", 0.75))
    return matte(c, WHITE)


def draw_rss():
    c = Canvas(14, 14)
    box = (0.0, 0.0, 14.0, 14.0, 3.0, 3.0)
    c.fill(rounded_rect(*box), rgb("#C25A00"))
    c.fill(inset(box, 1.0),
           lambda x, y: mix(rgb("#FFB347"), rgb("#F07800"), (x + y) / 28.0))
    white = rgb("#FFFFFF")
    ox, oy = 3.0, 11.0  # the feed's origin, at the lower left

    def arc(r0, r1):
        return lambda x, y: x >= ox - 0.5 and y <= oy + 0.5 and r0 <= math.hypot(x - ox, y - oy) <= r1

    c.fill(circle(ox + 0.5, oy - 0.5, 1.5), white)
    c.fill(arc(3.6, 5.4), white)
    c.fill(arc(7.0, 8.8), white)
    return matte(c, WHITE)


def leaf(cx, cy, length, width, angle):
    """An almond-shaped leaf: the intersection of two discs, turned by angle."""
    half = length / 2.0
    # Two discs whose chord is the leaf's axis give its pointed ends.
    d = (half * half - width * width / 4.0) / width
    r = d + width / 2.0
    ca, sa = math.cos(angle), math.sin(angle)

    def inside(x, y):
        u = (x - cx) * ca + (y - cy) * sa
        v = -(x - cx) * sa + (y - cy) * ca
        return math.hypot(u, v + d) <= r and math.hypot(u, v - d) <= r

    return inside


def draw_leafnote():
    c = Canvas(16, 16)
    # A note page with its corner turned, and a leaf lying across it.
    page = (2.0, 1.0, 12.0, 15.0, 1.0, 1.0)
    c.fill(rounded_rect(*page), rgb("#5E6B7D"))
    c.fill(inset(page, 1.0), rgb("#FFFDF2"))
    for y in (4.0, 6.0, 8.0):
        c.fill(rect(4.0, y, 10.0, y + 1.0), rgb("#B8C2D0"))
    ang = -math.pi / 4.0
    c.fill(leaf(10.5, 10.5, 10.0, 5.4, ang), rgb("#1E6B1E"))
    c.fill(leaf(10.5, 10.5, 8.0, 3.6, ang),
           lambda x, y: mix(rgb("#9BE35A"), rgb("#3C9A2A"), (x - y + 6.0) / 12.0))
    # Stem and midrib: whole pixels on the leaf's diagonal stay sharp.
    for x in range(6, 13):
        c.fill(rect(x, 20 - x, x + 1, 21 - x), rgb("#1E6B1E") if x < 8 else rgb("#E4F9B8", 0.85))
    return matte(c, WHITESMOKE)


# 3x5 pixel letters for the keycap.
LETTERS = {
    "E": ["###", "#..", "##.", "#..", "###"],
    "n": ["...", "##.", "#.#", "#.#", "#.#"],
}


def draw_text_pixels(c, text, x0, y0, colour):
    x = x0
    for ch in text:
        rows = LETTERS[ch]
        for dy, row in enumerate(rows):
            for dx, bit in enumerate(row):
                if bit == "#":
                    c.fill(rect(x + dx, y0 + dy, x + dx + 1, y0 + dy + 1), colour)
        x += len(rows[0]) + 1


def draw_keymark():
    c = Canvas(16, 16)
    # A keycap with the layout's two letters and a shadowed front edge.
    cap = (1.0, 1.0, 15.0, 15.0, 2.5, 2.5)
    c.fill(rounded_rect(*cap), rgb("#2B3F66"))
    c.fill(inset(cap, 1.0), rgb("#9AA8C0"))
    face = (2.0, 2.0, 14.0, 12.0, 1.5, 1.5)
    c.fill(rounded_rect(*face), lambda x, y: mix(rgb("#FFFFFF"), rgb("#DCE3EE"), (y - 2.0) / 10.0))
    draw_text_pixels(c, "En", 4.0, 4.0, rgb("#1450B4"))
    return matte(c, WHITESMOKE)


def drop(cx, cy, r, tip_y):
    """A drop: a disc with a cone rising to a point at tip_y."""
    h = cy - tip_y
    # The cone touches the disc where its sides are tangent to it.
    s = r / h
    ty = cy - r * s
    half_w = math.sqrt(max(0.0, r * r - (ty - cy) ** 2))

    def inside(x, y):
        if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
            return True
        if tip_y <= y <= ty:
            return abs(x - cx) <= half_w * (y - tip_y) / (ty - tip_y)
        return False

    return inside


def draw_snipdrop():
    c = Canvas(16, 16)
    # A snippet of text and a drop falling from it: a phrase "dropped" in.
    note = (0.0, 1.0, 11.0, 10.0, 1.0, 1.0)
    c.fill(rounded_rect(*note), rgb("#5B3A8C"))
    c.fill(inset(note, 1.0), rgb("#FFFFFF"))
    for y, x1 in ((3.0, 9.0), (5.0, 7.0), (7.0, 8.0)):
        c.fill(rect(2.0, y, x1, y + 1.0), rgb("#8A79B5"))
    c.fill(drop(11.5, 11.8, 3.8, 3.5), rgb("#4B1E8C"))
    c.fill(drop(11.5, 11.8, 2.8, 5.6), lambda x, y: mix(rgb("#D7A8FF"), rgb("#8A3FE0"), (y - 6.0) / 9.0))
    c.fill(circle(10.4, 11.2, 0.9), rgb("#FFFFFF", 0.8))
    return matte(c, WHITESMOKE)


# ---- the picture of the tray menu ----

W, H = 302, 233
TASKBAR_Y = 203
MENU_ITEMS = [
    ("Kestrow On Internet", ""),
    ("-", ""),
    ("Leafnote - Notes Organizer", ""),
    ("Keymark - Keyboard Layout Indicator", "bold"),
    ("Snipdrop - Paste Phrases From Anywhere", ""),
    ("-", ""),
    ("Language", "submenu"),
    ("Settings\u2026", "highlight"),
    ("-", ""),
    ("Start With Windows", "checked"),
    ("Enable", "checked"),
    ("-", ""),
    ("Exit", ""),
]
ITEM_H, SEP_H = 16, 7
MENU_X0, MENU_X1, MENU_PAD = 14, 290, 3


def text(x, y, s, colour, font=FONT, size=11):
    # ImageMagick's text primitive takes the string in single quotes.
    assert "'" not in s
    return ["-font", font, "-pointsize", str(size), "-fill", colour, "-stroke", "none",
            "-draw", "text %d,%d '%s'" % (x, y, s)]


def draw_howto(path, workdir):
    tray_icon = os.path.join(workdir, "tray.png")
    write_image(icons.glyph(16, "on"), "png:" + tray_icon)
    other_icons = os.path.join(workdir, "others.png")
    write_image(draw_tray_others(), "png:" + other_icons)

    args = ["convert", "-size", "%dx%d" % (W, H), "gradient:#6E9BD1-#3D6EA8"]

    # Taskbar with the notification area at its right end.
    args += ["-fill", "#1E2633", "-stroke", "none",
             "-draw", "rectangle 0,%d %d,%d" % (TASKBAR_Y, W - 1, H - 1),
             "-fill", "#3B4A61", "-draw", "line 0,%d %d,%d" % (TASKBAR_Y, W - 1, TASKBAR_Y)]
    icon_y = TASKBAR_Y + (H - TASKBAR_Y - 16) // 2
    kestrow_x = 222
    # The hovered Kestrow icon gets the shell's highlight square.
    args += ["-fill", "#4A5A73", "-draw", "roundrectangle %d,%d %d,%d 2,2" % (
        kestrow_x - 4, icon_y - 4, kestrow_x + 19, icon_y + 19)]
    args += text(254, icon_y + 12, "12:30", "#E8EEF7")

    # Menu items are laid out top to bottom; the menu ends just above the
    # taskbar, as the shell places a menu opened from the tray.
    height = MENU_PAD * 2 + sum(SEP_H if t == "-" else ITEM_H for t, _ in MENU_ITEMS)
    top = TASKBAR_Y - 4 - height
    bottom = top + height - 1
    args += ["-fill", "#00000040", "-draw", "rectangle %d,%d %d,%d" % (
        MENU_X0 + 3, top + 3, MENU_X1 + 3, bottom + 3)]
    args += ["-fill", "#F7F7F7", "-stroke", "#8C96A3", "-strokewidth", "1",
             "-draw", "rectangle %d,%d %d,%d" % (MENU_X0, top, MENU_X1, bottom), "-stroke", "none"]
    y = top + MENU_PAD
    settings_mid = None
    for label, kind in MENU_ITEMS:
        if label == "-":
            mid = y + SEP_H // 2
            args += ["-fill", "#D0D5DC", "-draw", "line %d,%d %d,%d" % (MENU_X0 + 26, mid, MENU_X1 - 4, mid)]
            y += SEP_H
            continue
        fg = "#1A1A1A"
        if kind == "highlight":
            args += ["-fill", "#2F6FD6", "-draw", "roundrectangle %d,%d %d,%d 2,2" % (
                MENU_X0 + 2, y, MENU_X1 - 2, y + ITEM_H - 1)]
            fg = "#FFFFFF"
            settings_mid = y + ITEM_H // 2
        base = y + ITEM_H - 4
        args += text(MENU_X0 + 28, base, label, fg, FONT_BOLD if kind == "bold" else FONT)
        if kind == "checked":
            args += text(MENU_X0 + 9, base, "\u2713", fg)
        if kind == "submenu":
            args += text(MENU_X1 - 14, base, "\u25B8", fg)
        y += ITEM_H

    args += [tray_icon, "-geometry", "+%d+%d" % (kestrow_x, icon_y), "-composite",
             other_icons, "-geometry", "+%d+%d" % (170, icon_y), "-composite"]
    arrow = os.path.join(workdir, "arrow.png")
    write_image(draw_arrow(), "png:" + arrow)
    args += [arrow, "-geometry", "+%d+%d" % (150, settings_mid - 2), "-composite"]
    args += ["-dither", "None", "-colors", "255", "gif:" + path]
    subprocess.run(args, check=True)


def draw_tray_others():
    """Two neutral tray neighbours (speaker and network), 16px apart."""
    c = Canvas(40, 16)
    grey = rgb("#D5DCE6")
    # Speaker: a box and a cone, with two sound arcs.
    c.fill(rect(1.0, 6.0, 4.0, 10.0), grey)
    c.fill(lambda x, y: 4.0 <= x <= 8.0 and abs(y - 8.0) <= 1.5 + (x - 4.0), grey)
    for r0, r1 in ((3.0, 4.2), (5.2, 6.4)):
        c.fill(lambda x, y, a=r0, b=r1: x > 9.0 and a <= math.hypot(x - 8.0, y - 8.0) <= b, grey)
    # Network: four rising bars.
    for i, h in enumerate((3, 6, 9, 12)):
        x = 24.0 + i * 4.0
        c.fill(rect(x, 14.0 - h, x + 2.0, 14.0), grey)
    return c


# The classic arrow pointer: B black, W white, anything else clear.
ARROW = [
    "B", "BB", "BWB", "BWWB", "BWWWB", "BWWWWB", "BWWWWWB", "BWWWWWWB",
    "BWWWWWWWB", "BWWWWWWWWB", "BWWWWWWWWWB", "BWWWWWWBBBBB", "BWWWBWWB",
    "BWWB.BWWB", "BWB..BWWB", "BB....BWWB", "B.....BWWB", ".......BWWB",
    ".......BWWB", "........BB",
]


def draw_arrow():
    c = Canvas(12, len(ARROW))
    colours = {"B": rgb("#000000"), "W": rgb("#FFFFFF")}
    for y, row in enumerate(ARROW):
        for x, ch in enumerate(row):
            if ch in colours:
                c.fill(rect(x, y, x + 1, y + 1), colours[ch])
    return c


def main(argv):
    out = argv[1] if len(argv) > 1 else os.path.join(ROOT, "config", "page")
    os.makedirs(out, exist_ok=True)
    # JPEG inside a ".gif" name: the page host serves the bytes by name and
    # the renderer recognises the format from the data.
    write_image(draw_bullet(), "jpeg:" + os.path.join(out, "bullet.gif"),
                ["-background", "white", "-alpha", "remove",
                 "-quality", "95", "-sampling-factor", "1x1", "-strip"])
    for name, fn in (("rss16.gif", draw_rss), ("leafnote_ico.gif", draw_leafnote),
                     ("keymark_ico.gif", draw_keymark), ("snipdrop_ico.gif", draw_snipdrop)):
        write_image(fn(), "gif:" + os.path.join(out, name))
    with tempfile.TemporaryDirectory() as work:
        draw_howto(os.path.join(out, "ks_howto_settings.gif"), work)
    for name in ("bullet.gif", "rss16.gif", "leafnote_ico.gif", "keymark_ico.gif",
                 "snipdrop_ico.gif", "ks_howto_settings.gif"):
        subprocess.run(["identify", os.path.join(out, name)], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
