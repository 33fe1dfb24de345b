#!/usr/bin/env python3
"""Draws the navigation images (previous.gif, next.gif) and the tour's logo.

Run from the repository's top folder: python3 data/make-images.py
The images are small four-colour GIFs drawn from simple shapes, so that no
image editor or imaging library is needed to remake them.
"""

import math
import struct

# Index 0 is transparent.
PALETTE = [(255, 255, 255), (32, 74, 135), (114, 159, 207), (238, 238, 236)]


def lzw_literals(pixels, min_code_size):
    """LZW data that holds every pixel as a literal code.

    A clear code after every two literals keeps the decoder's table from
    growing, so every code has the same width; valid for any decoder and
    plenty for images this small."""
    clear = 1 << min_code_size
    end = clear + 1
    width = min_code_size + 1
    codes = [clear]
    for i, p in enumerate(pixels):
        if i > 0 and i % 2 == 0:
            codes.append(clear)
        codes.append(p)
    codes.append(end)
    out = bytearray()
    acc = 0
    bits = 0
    for code in codes:
        acc |= code << bits
        bits += width
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(width, height, pixels):
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0xF1, 0, 0)  # 4-colour global table
    for r, g, b in PALETTE:
        data += bytes((r, g, b))
    data += b"\x21\xF9\x04\x01\x00\x00\x00\x00"  # graphic control: index 0 transparent
    data += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    data += b"\x02"  # minimum code size
    lzw = lzw_literals(pixels, 2)
    for i in range(0, len(lzw), 255):
        block = lzw[i:i + 255]
        data += bytes((len(block),)) + block
    data += b"\x00\x3B"
    return bytes(data)


def draw(width, height, shade):
    return [shade(x + 0.5, y + 0.5) for y in range(height) for x in range(width)]


def arrow(pointing_right):
    size = 32
    c = size / 2

    def shade(x, y):
        if not pointing_right:
            x = size - x
        inside_disc = math.hypot(x - c, y - c) <= 14.5
        if not inside_disc:
            return 0
        # A triangle from (11, 8) and (11, 24) to (23, 16).
        if x >= 11 and abs(y - c) <= (23 - x) * 8 / 12:
            return 3
        return 1 if math.hypot(x - c, y - c) > 12.5 else 2

    return gif(size, size, draw(size, size, shade))


def logo():
    w, h = 96, 48

    def shade(x, y):
        # A round face with two eyes and a smile beside three speech bars.
        if math.hypot(x - 24, y - 24) <= 20:
            if math.hypot(x - 17, y - 19) <= 3 or math.hypot(x - 31, y - 19) <= 3:
                return 1
            if 24 <= y <= 33 and abs(math.hypot(x - 24, y - 22) - 9) <= 1.2:
                return 1
            return 2
        for i, length in enumerate((44, 36, 24)):
            top = 12 + i * 10
            if top <= y <= top + 5 and 50 <= x <= 50 + length:
                return 2 if i == 1 else 1
        return 0

    return gif(w, h, draw(w, h, shade))


if __name__ == "__main__":
    for path, image in (("data/previous.gif", arrow(False)), ("data/next.gif", arrow(True)),
                        ("examples/tour/orvi-logo.gif", logo())):
        with open(path, "wb") as f:
            f.write(image)
