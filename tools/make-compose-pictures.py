#!/usr/bin/env python3
"""Writes the small BMP pictures the composition scenario tests use.

The pictures are 8-bit palettised and run-length encoded so that they stay a few kilobytes each
and can be kept beside the scenarios. Run from the repository root:

    tools/make-compose-pictures.py

Every picture is made from a function giving the palette index of each pixel; the scenarios'
expected screenshots depend on these exact pixels, so change a picture only together with them.
"""

import os
import struct
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "scenarios")


def bmp_rle8(width, height, palette, index):
    """palette: list of 0xRRGGBB (at most 256); index(x, y) with y = 0 the top row."""
    data = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up rows
        row = [index(x, y) for x in range(width)]
        x = 0
        while x < width:
            run = 1
            while x + run < width and run < 255 and row[x + run] == row[x]:
                run += 1
            data += bytes((run, row[x]))
            x += run
        data += b"\x00\x00"  # end of line
    data[-2:] = b"\x00\x01"  # end of bitmap replaces the last end of line
    return bmp_file(width, height, 8, 1, palette, bytes(data))


def bmp_8bit(width, height, palette, index):
    stride = (width + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytes(index(x, y) for x in range(width))
        data += row + b"\x00" * (stride - width)
    return bmp_file(width, height, 8, 0, palette, bytes(data))


def bmp_file(width, height, bits, compression, palette, pixels):
    colours = bytearray()
    for c in palette:
        colours += bytes((c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, 0))
    offset = 14 + 40 + len(colours)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, len(palette), len(palette))
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(colours) + pixels


def grid_palette():
    """48 colours: 8 hues x 6 shades."""
    hues = [(255, 64, 64), (255, 160, 32), (240, 240, 48), (64, 200, 64),
            (48, 200, 200), (64, 96, 255), (160, 64, 240), (240, 96, 200)]
    out = []
    for shade in range(6):
        k = 1.0 - shade * 0.14
        for r, g, b in hues:
            out.append((int(r * k) << 16) | (int(g * k) << 8) | int(b * k))
    return out


def old_picture():
    # 8 column bands of 80 pixels x 6 row bands of 80 pixels, each a colour of its own, each
    # column band closed by a one-pixel white line (off the mosaic's sample columns).
    pal = grid_palette() + [0xFFFFFF]

    def index(x, y):
        if x % 80 == 79:
            return 48
        return (y // 80) * 8 + x // 80

    return bmp_rle8(640, 480, pal, index)


def new_picture():
    # Dark blue to light blue steps from left to right, rows in 16 bands of 30 with alternating
    # warm tints, and a diagonal staircase of yellow blocks to make the picture asymmetric.
    pal = []
    for band in range(2):
        for step in range(16):
            v = 40 + step * 13
            warm = 60 if band else 0
            pal.append(((warm + v // 3) << 16) | ((v // 2) << 8) | v)
    pal.append(0xFFE020)

    def index(x, y):
        if (x // 40) == (y // 30) and (x % 40) < 30:
            return 32
        return ((y // 30) % 2) * 16 + x // 40

    return bmp_rle8(640, 480, pal, index)


def mask_picture():
    # A 64 x 48 grey tile: dark in its top-left corner, light toward its bottom-right.
    pal = [(g << 16) | (g << 8) | g for g in range(256)]

    def index(x, y):
        return min(255, (x * 3 + y * 2) * 255 // (63 * 3 + 47 * 2))

    return bmp_8bit(64, 48, pal, index)


def small_picture():
    # 320 x 240: four coloured quarters inside a white frame.
    pal = [0xFFFFFF, 0xE04040, 0x40C040, 0x4060E0, 0xE0C040]

    def index(x, y):
        if x < 4 or y < 4 or x >= 316 or y >= 236:
            return 0
        return 1 + (1 if x >= 160 else 0) + (2 if y >= 120 else 0)

    return bmp_rle8(320, 240, pal, index)


def chara_picture():
    # 200 x 400 standing figure on magenta (the top-left colour, transparent in leftup mode):
    # a round head over a long body, and a one-pixel red border on the picture's bottom row.
    pal = [0xFF00FF, 0xF0D0B0, 0x3050A0, 0xD02020]

    def index(x, y):
        if y == 399:
            return 3
        dx, dy = x - 100, y - 70
        if dx * dx + dy * dy <= 50 * 50:
            return 1
        if 130 <= y and 30 <= x < 170:
            return 2
        return 0

    return bmp_rle8(200, 400, pal, index)


PICTURES = {
    "compose-effects": {"old.bmp": old_picture, "new.bmp": new_picture, "mask.bmp": mask_picture},
    "compose-bg-centre": {"small.bmp": small_picture},
    "compose-ld-tal": {"chara.bmp": chara_picture},
    "compose-bgalia": {"small.bmp": small_picture},
}


def main():
    for folder, pictures in PICTURES.items():
        path = os.path.join(ROOT, folder)
        os.makedirs(path, exist_ok=True)
        for name, make in pictures.items():
            with open(os.path.join(path, name), "wb") as f:
                f.write(make())
    return 0


if __name__ == "__main__":
    sys.exit(main())
