#!/usr/bin/env python3
"""Draws the program's three images: res1.ico (the windows' icon, 32 by 32
pixels in 16 colours), tick.bmp and cross.bmp (the verdict pictures, 48 by 48
pixels). Run it from anywhere; it writes beside itself."""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
FACE = (240, 240, 240)  # the dialog face behind the pictures


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def stroke_coverage(x, y, segments, half_width):
    """Share of the pixel (x, y) that the thick segments cover, 4x4 samples."""
    inside = 0
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            if any(segment_distance(px, py, *s) <= half_width for s in segments):
                inside += 1
    return inside / 16


def blend(colour, coverage):
    return tuple(round(f + (c - f) * coverage) for c, f in zip(colour, FACE))


def write_bmp(name, size, segments, colour, half_width):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        row = bytearray()
        for x in range(size):
            r, g, b = blend(colour, stroke_coverage(x, y, segments, half_width))
            row += bytes((b, g, r))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(file_header + header + pixels)


# The sixteen colours of the classic palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]
BLACK, NAVY, GREY, RED, YELLOW, BLUE, WHITE = 0, 4, 8, 9, 11, 12, 15


def icon_pixel(x, y):
    """A planet in its sights: a blue disc with a dark rim, crossed by a
    yellow gun sight with a red centre. None is transparent."""
    cx = cy = 15.5
    r = math.hypot(x - cx, y - cy)
    on_sight = (abs(x - cx) < 1 and 3 <= abs(y - cy) + 0.5 <= 13) or (abs(y - cy) < 1 and 3 <= abs(x - cx) + 0.5 <= 13)
    if r <= 2:
        return RED
    if on_sight:
        return YELLOW
    if r <= 11:
        return BLUE if (x + y) % 7 else NAVY
    if r <= 12.5:
        return BLACK
    if 13.5 <= r <= 15 and (abs(x - cx) < 2 or abs(y - cy) < 2):
        return GREY
    return None


def write_icon(name):
    size = 32
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):
        xor = bytearray()
        mask = 0
        for x in range(0, size, 2):
            pair = [icon_pixel(x, y), icon_pixel(x + 1, y)]
            xor.append(((pair[0] or 0) << 4) | (pair[1] or 0))
        for x in range(size):
            mask = (mask << 1) | (1 if icon_pixel(x, y) is None else 0)
        xor_rows.append(bytes(xor))
        and_rows.append(struct.pack(">I", mask))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    image_bits = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(image_bits), 0, 0, 16, 0)
    image = header + palette + image_bits
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 22)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(directory + image)


# ---- the icon drawn at any size, for the page and an installed app

# The design of res1.ico in units of its 32-pixel square, without its dither:
# (colour, test of a point's offset (dx, dy) from the centre and distance r).
ICON_LAYERS = [
    ((220, 0, 0), lambda dx, dy, r: r <= 2),
    ((255, 220, 0), lambda dx, dy, r: (abs(dx) < 1 and 3 <= abs(dy) <= 13) or (abs(dy) < 1 and 3 <= abs(dx) <= 13)),
    ((0, 40, 230), lambda dx, dy, r: r <= 11),
    ((0, 0, 0), lambda dx, dy, r: r <= 12.5),
    ((128, 128, 128), lambda dx, dy, r: 13.5 <= r <= 15 and (abs(dx) < 2 or abs(dy) < 2)),
]
APP_BACKGROUND = (11, 30, 70)  # behind the design where an icon must be opaque


def icon_rgba(size, scale=1.0, background=None):
    """The icon as rows of RGBA bytes: the design filling `scale` of the
    square, centred, each pixel from 4 x 4 samples."""
    rows = []
    unit = 32 / (size * scale)  # design units a pixel spans
    for y in range(size):
        row = bytearray()
        for x in range(size):
            sums = [0, 0, 0, 0]
            for sy in range(4):
                for sx in range(4):
                    dx = ((x + (sx + 0.5) / 4) - size / 2) * unit
                    dy = ((y + (sy + 0.5) / 4) - size / 2) * unit
                    r = math.hypot(dx, dy)
                    colour = next((c for c, inside in ICON_LAYERS if inside(dx, dy, r)), background)
                    if colour is not None:
                        sums[0] += colour[0]
                        sums[1] += colour[1]
                        sums[2] += colour[2]
                        sums[3] += 1
            alpha = sums[3]
            row += bytes((round(sums[0] / alpha), round(sums[1] / alpha), round(sums[2] / alpha),
                          round(255 * alpha / 16))) if alpha else bytes(4)
        rows.append(bytes(row))
    return rows


def write_png(path, size, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(b"\0" + row for row in rows), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


def icon_svg():
    """The same design as an SVG drawing, sharp at any size."""
    shapes = [
        '<circle cx="16" cy="16" r="15" fill="none" stroke="#808080" stroke-width="1.5" '
        'stroke-dasharray="4 19.56" stroke-dashoffset="2"/>',
        '<circle cx="16" cy="16" r="12.5" fill="#000"/>',
        '<circle cx="16" cy="16" r="11" fill="#0028e6"/>',
        '<path d="M15 3h2v10h-2zM15 19h2v10h-2zM3 15h10v2H3zM19 15h10v2H19z" fill="#ffdc00"/>',
        '<circle cx="16" cy="16" r="2" fill="#dc0000"/>',
    ]
    return ('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 32 32" width="32" height="32">'
            + "".join(shapes) + "</svg>\n")


def write_app_icons(folder):
    """The page's icons into `folder`: icon.svg for its title bars, 192 and
    512 px for an installed app, a maskable 512 px one (the design inside the
    inner 80 %), and a 180 px opaque one for a phone's home screen."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "icon.svg"), "w") as out:
        out.write(icon_svg())
    for name, size, scale, background in (("icon-192.png", 192, 1.0, None), ("icon-512.png", 512, 1.0, None),
                                          ("icon-maskable-512.png", 512, 0.8, APP_BACKGROUND),
                                          ("apple-touch-icon.png", 180, 0.9, APP_BACKGROUND)):
        write_png(os.path.join(folder, name), size, icon_rgba(size, scale, background))


if __name__ == "__main__":
    write_bmp("tick.bmp", 48, [(9, 25, 19, 36), (19, 36, 39, 11)], (24, 150, 48), 3.4)
    write_bmp("cross.bmp", 48, [(11, 11, 37, 37), (37, 11, 11, 37)], (200, 28, 28), 3.4)
    write_icon("res1.ico")
