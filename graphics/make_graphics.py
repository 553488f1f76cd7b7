#!/usr/bin/env python3
"""Draws the program's three images: res1.ico (the windows' icon, 32 by 32
pixels in 16 colours), tick.bmp and cross.bmp (the verdict pictures, 48 by 48
pixels). Run it from anywhere; it writes beside itself."""
import math
import os
import struct

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


if __name__ == "__main__":
    write_bmp("tick.bmp", 48, [(9, 25, 19, 36), (19, 36, 39, 11)], (24, 150, 48), 3.4)
    write_bmp("cross.bmp", 48, [(11, 11, 37, 37), (37, 11, 11, 37)], (200, 28, 28), 3.4)
    write_icon("res1.ico")
