#!/usr/bin/env python3
"""Draws the About box icon, a PAR can on its yoke throwing a beam, as
fixture.svg and as the 55 x 55 fixture.png the About box shows. Both come
from the shapes below, so they always match. Standard library only:
    python3 resources/make_fixture_icon.py
"""
import os
import struct
import zlib

SIZE = 55
SUPERSAMPLE = 4

# (kind, geometry, RGB colour, opacity), painted in order. Units: pixels.
SHAPES = [
    ("polygon", [(40, 12), (55, 2), (55, 42), (40, 32)], (255, 224, 102), 0.65),  # beam
    ("rect", (6, 12, 29, 20), (40, 40, 46), 1.0),      # can body
    ("rect", (6, 12, 29, 3), (88, 88, 98), 1.0),       # highlight along the top
    ("rect", (6, 29, 29, 3), (24, 24, 28), 1.0),       # shade along the bottom
    ("rect", (35, 9, 5, 26), (20, 20, 24), 1.0),       # front bezel
    ("ellipse", (40, 22, 2.4, 11), (255, 244, 176), 1.0),  # lens
    ("rect", (18, 22, 5, 25), (110, 110, 116), 1.0),   # yoke arm, in front of the can
    ("rect", (9, 46, 23, 4), (110, 110, 116), 1.0),    # yoke foot
    ("rect", (17, 50, 7, 4), (60, 60, 64), 1.0),       # clamp
    ("ellipse", (20.5, 22, 4, 4), (150, 150, 156), 1.0),   # tilt knob
    ("ellipse", (20.5, 22, 1.5, 1.5), (50, 50, 54), 1.0),
]


def covers(shape, x, y):
    kind, g = shape[0], shape[1]
    if kind == "rect":
        left, top, w, h = g
        return left <= x < left + w and top <= y < top + h
    if kind == "ellipse":
        cx, cy, rx, ry = g
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1
    inside = False  # polygon: even-odd rule
    for (x1, y1), (x2, y2) in zip(g, g[1:] + g[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def render():
    rows = []
    for py in range(SIZE):
        row = bytearray([0])  # PNG filter: none
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied RGBA
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = px + (sx + 0.5) / SUPERSAMPLE
                    y = py + (sy + 0.5) / SUPERSAMPLE
                    r = g = b = a = 0.0
                    for shape in SHAPES:
                        if covers(shape, x, y):
                            (cr, cg, cb), op = shape[2], shape[3]
                            r, g, b = cr * op + r * (1 - op), cg * op + g * (1 - op), cb * op + b * (1 - op)
                            a = op + a * (1 - op)
                    for i, v in enumerate((r, g, b, a)):
                        acc[i] += v
            n = SUPERSAMPLE * SUPERSAMPLE
            alpha = acc[3] / n
            colour = [round(c / n / alpha) if alpha else 0 for c in acc[:3]]
            row += bytes(colour + [round(alpha * 255)])
        rows.append(bytes(row))
    return b"".join(rows)


def png(pixels):
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b"")


def svg():
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % ((SIZE,) * 4)]
    for kind, g, (r, gr, b), op in SHAPES:
        paint = 'fill="#%02x%02x%02x"%s' % (r, gr, b, ' fill-opacity="%g"' % op if op < 1 else "")
        if kind == "rect":
            out.append('  <rect x="%g" y="%g" width="%g" height="%g" %s/>' % (*g, paint))
        elif kind == "ellipse":
            out.append('  <ellipse cx="%g" cy="%g" rx="%g" ry="%g" %s/>' % (*g, paint))
        else:
            out.append('  <polygon points="%s" %s/>' % (" ".join("%g,%g" % p for p in g), paint))
    out.append("</svg>")
    return "\n".join(out) + "\n"


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "fixture.png"), "wb") as f:
        f.write(png(render()))
    with open(os.path.join(here, "fixture.svg"), "w") as f:
        f.write(svg())
