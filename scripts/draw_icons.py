#!/usr/bin/env python3
"""Draws the Kestrow icons and writes them as .ico files.

The glyph is a mouse seen from above with a large scroll wheel. Shapes are
rendered with 8x8 supersampling so the edges are smooth, but every straight
edge sits on a pixel boundary so the 16x16 images stay crisp.

The ICO bytes are assembled here rather than by an image tool, so each image
has exactly the colour depth the resource scripts rely on:
  agent/res/kestrow_on.ico      16x16 24-bit, 32x32 32-bit, 16x16 32-bit
  agent/res/kestrow_off.ico     16x16 32-bit, greyed
  config/res/kestrow_config.ico 16x16 32-bit, 32x32 32-bit (with a gear)

Usage: scripts/draw_icons.py [--check]   (run from anywhere)
  --check  only reads the committed files and prints their directories.
Standard library only.
"""

import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SUPERSAMPLE = 8


class Canvas:
    """Straight-alpha RGBA image with coverage-based shape filling."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, inside, color):
        """Composites `color` (r, g, b, a in 0..1, or a function of the
        pixel-space point giving one) over every pixel, weighted by the share
        of sub-samples for which `inside(x, y)` holds."""
        n = SUPERSAMPLE
        for py in range(self.height):
            for px in range(self.width):
                hits = 0
                for sy in range(n):
                    y = py + (sy + 0.5) / n
                    for sx in range(n):
                        if inside(px + (sx + 0.5) / n, y):
                            hits += 1
                coverage = hits / (n * n)
                if coverage > 0.0:
                    c = color(px + 0.5, py + 0.5) if callable(color) else color
                    self._over(px, py, c, coverage)

    def _over(self, x, y, c, coverage):
        dst = self.px[y * self.width + x]
        sa = c[3] * coverage
        da = dst[3]
        oa = sa + da * (1.0 - sa)
        if oa <= 0.0:
            return
        for i in range(3):
            dst[i] = (c[i] * sa + dst[i] * da * (1.0 - sa)) / oa
        dst[3] = oa

    def map(self, fn):
        for p in self.px:
            p[:] = fn(p)

    def rgba_bytes(self):
        """Top-down rows of 8-bit RGBA."""
        out = bytearray()
        for p in self.px:
            out += bytes(_byte(v) for v in p)
        return bytes(out)


def _byte(v):
    return max(0, min(255, int(round(v * 255.0))))


def rgb(hex_colour, alpha=1.0):
    v = int(hex_colour.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, alpha)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


# ---- shapes (point-in-shape tests in pixel coordinates) ----

def rounded_rect(x0, y0, x1, y1, r_top, r_bottom):
    """Rectangle whose top corners have radius r_top and bottom corners
    r_bottom (elliptical radii are not needed for this glyph)."""

    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        for r, cy, in_band in ((r_top, y0 + r_top, y < y0 + r_top),
                               (r_bottom, y1 - r_bottom, y > y1 - r_bottom)):
            if r > 0 and in_band:
                cx = x0 + r if x < x0 + r else (x1 - r if x > x1 - r else x)
                if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
                    return False
        return True

    return inside


def inset(box, d):
    """A rounded rectangle (x0, y0, x1, y1, r_top, r_bottom) shrunk by d on
    every side: the inside of its outline."""
    x0, y0, x1, y1, rt, rb = box
    return rounded_rect(x0 + d, y0 + d, x1 - d, y1 - d, max(0.0, rt - d), max(0.0, rb - d))


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def gear(cx, cy, r_out, r_in, r_hole, teeth):
    """A gear wheel: a disc of radius r_in with `teeth` square teeth out to
    r_out and a hole of radius r_hole."""

    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if d < r_hole or d > r_out:
            return False
        if d <= r_in:
            return True
        a = (math.atan2(dy, dx) / (2 * math.pi) * teeth) % 1.0
        return 0.25 <= a <= 0.75

    return inside


# ---- the glyph ----

OUTLINE = rgb("#1F2D4A")
BODY_TOP = rgb("#FFFFFF")
BODY_BOTTOM = rgb("#C9D3E3")
WHEEL_LIGHT = rgb("#5FB2FF")
WHEEL_DARK = rgb("#0B5CC7")
RIDGE = rgb("#FFFFFF", 0.55)
GEAR_LIGHT = rgb("#FFC34D")
GEAR_DARK = rgb("#C77700")
GEAR_EDGE = rgb("#5A3600")


def mouse_layout(size, dx=0.0):
    """Pixel geometry of the mouse for a 16 or 32 pixel image; dx moves it
    left or right (the settings icon makes room for its gear)."""
    s = size / 16.0
    body = (2.0 * s + dx, 0.0, 14.0 * s + dx, 16.0 * s, 6.0 * s, 4.5 * s)
    wheel = (6.0 * s + dx, 2.0 * s, 10.0 * s + dx, 9.0 * s)
    return s, body, wheel


def draw_mouse(canvas, size, dx=0.0):
    s, body, wheel = mouse_layout(size, dx)
    line = 1.0 if size <= 16 else 1.5
    x0, y0, x1, y1, _, _ = body

    # Body: dark outline, then a light top-to-bottom gradient inside it.
    canvas.fill(rounded_rect(*body), OUTLINE)
    canvas.fill(inset(body, line),
                lambda x, y: mix(BODY_TOP, BODY_BOTTOM, (y - y0) / (y1 - y0)))

    # The seam between the two buttons, above and below the wheel.
    mid = (x0 + x1) / 2.0
    seam = rgb("#7A8AA6")
    canvas.fill(rect(mid - 0.5 * s, y0, mid + 0.5 * s, wheel[1]), seam)
    canvas.fill(rect(mid - 0.5 * s, wheel[3], mid + 0.5 * s, wheel[3] + 2.0 * s), seam)

    # The wheel: outlined pill with a blue gradient and three ridges.
    wx0, wy0, wx1, wy1 = wheel
    pill_r = (wx1 - wx0) / 2.0
    outer = (wx0, wy0, wx1, wy1, pill_r, pill_r)
    canvas.fill(rounded_rect(*outer), OUTLINE)
    canvas.fill(inset(outer, line),
                lambda x, y: mix(WHEEL_LIGHT, WHEEL_DARK, (x - wx0) / (wx1 - wx0)))
    # At 16 pixels each ridge fills one whole pixel row.
    ridge_h = 1.0 if size <= 16 else 0.5 * s
    for k in (1, 2, 3):
        ry = wy0 + (wy1 - wy0) * k / 4.0
        if size <= 16:
            ry = math.floor(ry)
        canvas.fill(rect(wx0 + line, ry, wx1 - line, ry + ridge_h), RIDGE)


# At 16 pixels no smooth gear survives, so it is drawn pixel by pixel:
# E edge, F fill, anything else clear. Its top-left corner is at (6, 6).
GEAR_16 = [
    "...EEEE...",
    ".E.EFFE.E.",
    "..EFFFFE..",
    ".EFFEEFFE.",
    "EEFE..EFEE",
    "EEFE..EFEE",
    ".EFFEEFFE.",
    "..EFFFFE..",
    ".E.EFFE.E.",
    "...EEEE...",
]


def draw_gear(canvas, size):
    if size <= 16:
        for y, row in enumerate(GEAR_16):
            for x, ch in enumerate(row):
                if ch == "E":
                    colour = GEAR_EDGE
                elif ch == "F":
                    colour = mix(GEAR_LIGHT, GEAR_DARK, (x + y) / 18.0)
                else:
                    continue
                canvas.fill(rect(6 + x, 6 + y, 7 + x, 7 + y), colour)
        return
    s = size / 16.0
    cx, cy = 11.0 * s, 11.0 * s
    r_out, r_in, r_hole = 5.0 * s, 3.6 * s, 1.4 * s
    edge = 1.5
    canvas.fill(gear(cx, cy, r_out, r_in, r_hole, 8), GEAR_EDGE)
    canvas.fill(gear(cx, cy, r_out - edge, r_in - edge, r_hole + edge, 8),
                lambda x, y: mix(GEAR_LIGHT, GEAR_DARK, ((x - cx) + (y - cy)) / (2 * r_out) + 0.5))


def glyph(size, state="on"):
    """The glyph as a Canvas. state: "on", "off" (greyed) or "config"."""
    c = Canvas(size, size)
    if state == "config":
        draw_mouse(c, size, dx=-2.0 * size / 16.0)
        draw_gear(c, size)
        return c
    draw_mouse(c, size)
    if state == "off":
        c.map(_greyed)
    return c


def _greyed(p):
    # Luminance, lifted and flattened, so the icon reads as "inactive" both
    # on light and on dark taskbars; a little transparency helps the same.
    lum = 0.30 * p[0] + 0.59 * p[1] + 0.11 * p[2]
    g = 0.30 + lum * 0.50
    return [g, g, g, p[3] * 0.9]


# ---- ICO writer ----

def bmp_image(canvas, bits):
    """One icon image: BITMAPINFOHEADER, XOR bitmap (bottom-up), AND mask."""
    w, h = canvas.width, canvas.height
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b, a = (_byte(v) for v in canvas.px[y * w + x])
            if bits == 32:
                row += bytes((b, g, r, a))
            else:
                # No alpha channel: the mask decides, so semi-transparent
                # edge pixels are kept opaque only when mostly covered.
                row += bytes((b, g, r)) if a >= 128 else b"\0\0\0"
        row += b"\0" * ((-len(row)) % 4)
        xor += row
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray((w + 7) // 8)
        for x in range(w):
            a = _byte(canvas.px[y * w + x][3])
            transparent = a < 128 if bits == 24 else a == 0
            if transparent:
                row[x // 8] |= 0x80 >> (x % 8)
        row += b"\0" * ((-len(row)) % 4)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (canvas, bits) in directory order."""
    count = len(images)
    blobs = [bmp_image(c, bits) for c, bits in images]
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    for (c, bits), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def ico_directory(data):
    """[(width, height, bits, size)] read back from ICO bytes, checking that
    each entry agrees with the bitmap header it points at."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    entries = []
    for i in range(count):
        w, h, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        hsize, bw, bh, bplanes, bbits = struct.unpack_from("<IiiHH", data, offset)
        if (hsize, bw, bh, bplanes, bbits) != (40, w, 2 * h, 1, bits) or offset + size > len(data):
            raise ValueError("entry %d does not match its bitmap" % i)
        entries.append((w, h, bits, size))
    return entries


ICONS = [
    ("agent/res/kestrow_on.ico", [(16, "on", 24), (32, "on", 32), (16, "on", 32)]),
    ("agent/res/kestrow_off.ico", [(16, "off", 32)]),
    ("config/res/kestrow_config.ico", [(16, "config", 32), (32, "config", 32)]),
]


def print_directory(rel, wanted):
    """Prints the icon file's directory; answers whether it holds exactly
    the images of `wanted`, in that order."""
    with open(os.path.join(ROOT, rel), "rb") as f:
        entries = ico_directory(f.read())
    print("%s: %d image(s)" % (rel, len(entries)))
    for w, h, bits, size in entries:
        print("  %dx%d %d-bit, %d bytes" % (w, h, bits, size))
    want = [(size, size, bits) for size, _, bits in wanted]
    ok = [e[:3] for e in entries] == want
    if not ok:
        print("  expected %s" % ", ".join("%dx%d %d-bit" % w for w in want))
    return ok


def main(argv):
    check_only = "--check" in argv[1:]
    ok = True
    for rel, wanted in ICONS:
        if not check_only:
            images = [(glyph(size, state), bits) for size, state, bits in wanted]
            path = os.path.join(ROOT, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(ico_bytes(images))
        ok = print_directory(rel, wanted) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
