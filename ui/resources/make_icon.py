#!/usr/bin/env python3
"""Draws corvant.ico: a globe with a pointer arrow, 32x32 and 16x16, 16 colours.

Run from anywhere: python3 make_icon.py [output]. The output is the same
byte for byte on every run (only the standard library is used).
"""
import math
import struct
import sys
from pathlib import Path

# The standard 16-colour palette, in Windows' order (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, BLUE, AQUA, WHITE, YELLOW, GREEN = 0, 4, 6, 12, 14, 15, 11, 2
TRANSPARENT = None


def draw(size):
    """Returns rows (top first) of palette indices or TRANSPARENT."""
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    centre = (size - 1) / 2.0
    radius = size / 2.0 - 0.5
    for y in range(size):
        for x in range(size):
            dx, dy = x - centre, y - centre
            distance = math.hypot(dx, dy)
            if distance > radius:
                continue
            if distance > radius - 1.0:
                pixels[y][x] = NAVY
                continue
            colour = BLUE
            # Land: two blobs in green.
            if (dx + radius * 0.35) ** 2 + (dy + radius * 0.25) ** 2 < (radius * 0.35) ** 2:
                colour = GREEN
            if (dx - radius * 0.30) ** 2 + (dy - radius * 0.35) ** 2 < (radius * 0.28) ** 2:
                colour = GREEN
            # Equator and the central meridian ellipse.
            if abs(dy) < 0.5:
                colour = AQUA
            ellipse = (dx / (radius * 0.45)) ** 2 + (dy / radius) ** 2
            if abs(ellipse - 1.0) < 0.2:
                colour = AQUA
            pixels[y][x] = colour
    # A yellow arrow pointing into the globe from the lower right corner.
    length = size // 3
    for step in range(length):
        x = size - 1 - step // 1
        y = size - 1 - step
        for thickness in range(max(1, size // 16)):
            if 0 <= x - thickness < size:
                pixels[y][x - thickness] = YELLOW
    tip = size - length
    for offset in range(size // 5 + 1):
        for px, py in ((tip + offset, tip), (tip, tip + offset)):
            if 0 <= px < size and 0 <= py < size:
                pixels[py][px] = BLACK if offset == size // 5 else YELLOW
    return pixels


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def encode_image(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        colour = bytearray(row_bytes(size * 4))
        mask = bytearray(row_bytes(size))
        for x, index in enumerate(row):
            if index is TRANSPARENT:
                mask[x // 8] |= 0x80 >> (x % 8)
                index = 0
            colour[x // 2] |= index << (4 if x % 2 == 0 else 0)
        colour_rows.append(bytes(colour))
        mask_rows.append(bytes(mask))
    return header + palette + b''.join(colour_rows) + b''.join(mask_rows)


def encode_icon(sizes):
    images = [encode_image(size) for size in sizes]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for size, image in zip(sizes, images):
        entries += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b''.join(images)


def main():
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name('corvant.ico')
    output.write_bytes(encode_icon([32, 16]))


if __name__ == '__main__':
    main()
