#!/usr/bin/env python3
"""Turns 24-bit BMP screenshots into PNG files beside them, and removes the
BMP files. Standard library only."""
import struct
import sys
import zlib


def bmp_to_png(path):
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    top_down = height < 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        source = y if top_down else height - 1 - y
        row = data[offset + source * stride: offset + source * stride + width * 3]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = row[2::3], row[1::3], row[0::3]
        rows.append(b"\0" + bytes(rgb))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    with open(path[:-4] + ".png", "wb") as out:
        out.write(png)


if __name__ == "__main__":
    for name in sys.argv[1:]:
        if name.endswith(".bmp"):
            bmp_to_png(name)
            import os
            os.remove(name)
