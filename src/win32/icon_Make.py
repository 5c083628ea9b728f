#!/usr/bin/env python3
"""Writes the saver's icon: glowing points on a ring, 16x16 and 32x32, 32-bit.

Usage: icon_Make.py OUT.ico
"""
import math
import struct
import sys


def image(size):
    # Twelve soft points on a tilted ring, tinted from blue to orange.
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    centre = (size - 1) / 2.0
    radius = size * 0.36
    glow = max(1.2, size / 14.0)
    for k in range(12):
        a = 2 * math.pi * k / 12
        px = centre + radius * math.cos(a)
        py = centre + radius * 0.55 * math.sin(a)
        t = k / 11.0
        colour = (int(255 * t), int(160 + 60 * (1 - t)), int(255 * (1 - t)))
        for y in range(size):
            for x in range(size):
                d = math.hypot(x - px, y - py)
                alpha = max(0.0, 1.0 - d / (glow * 1.8))
                if alpha <= 0:
                    continue
                r, g, b, old = pixels[y][x]
                a8 = min(255, old + int(255 * alpha))
                pixels[y][x] = (max(r, colour[0]), max(g, colour[1]), max(b, colour[2]), a8)
    return pixels


def dib(size):
    pixels = image(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(
        b"".join(struct.pack("<BBBB", b, g, r, a) for (r, g, b, a) in pixels[y]) for y in reversed(range(size))
    )
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    return header + rows + mask


def main():
    sizes = (16, 32)
    images = [dib(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
