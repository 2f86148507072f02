#!/usr/bin/env python3
"""Draws the wizard's logo (65 x 54) and the program icon (32 x 32), both in
16 colours, and writes them as logo.bmp and app.ico beside this script.

The pictures are drawn here from simple shapes: a network card with its
connector and a cable, on a blue ground."""
import os
import struct

# The standard 16-colour palette, as (blue, green, red) for the files.
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
# Colour indices by the names they are drawn with (palette rows are B, G, R).
BLACK, DARK_RED, DARK_GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def rect(pixels, left, top, right, bottom, colour):
    for y in range(max(top, 0), min(bottom, len(pixels))):
        for x in range(max(left, 0), min(right, len(pixels[0]))):
            pixels[y][x] = colour


def frame(pixels, left, top, right, bottom, colour):
    rect(pixels, left, top, right, top + 1, colour)
    rect(pixels, left, bottom - 1, right, bottom, colour)
    rect(pixels, left, top, left + 1, bottom, colour)
    rect(pixels, right - 1, top, right, bottom, colour)


def draw_card(pixels, scale_x, scale_y):
    """A PC card seen from above, in a 64 x 54 design space."""
    def sx(v):
        return int(v * scale_x)

    def sy(v):
        return int(v * scale_y)

    w, h = len(pixels[0]), len(pixels)
    # Ground: blue fading to navy in bands.
    for y in range(h):
        band = BLUE if y < h * 2 // 3 else NAVY
        rect(pixels, 0, y, w, y + 1, band)
    # Card body with a bevel.
    rect(pixels, sx(6), sy(10), sx(46), sy(40), SILVER)
    frame(pixels, sx(6), sy(10), sx(46), sy(40), WHITE)
    rect(pixels, sx(6), sy(39), sx(46), sy(40), GREY)
    rect(pixels, sx(45), sy(10), sx(46), sy(40), GREY)
    # Chips and the contact strip.
    rect(pixels, sx(12), sy(16), sx(24), sy(26), BLACK)
    rect(pixels, sx(28), sy(16), sx(38), sy(22), BLACK)
    for x in range(8, 44, 3):
        rect(pixels, sx(x), sy(34), sx(x + 2), sy(38), YELLOW)
    # Connector and cable leaving to the right.
    rect(pixels, sx(46), sy(20), sx(52), sy(30), GREY)
    rect(pixels, sx(52), sy(23), sx(64), sy(27), GREEN)
    # A status lamp.
    rect(pixels, sx(40), sy(13), sx(43), sy(16), GREEN)


def bmp_rows(pixels):
    """4-bit rows, bottom-up, each padded to a multiple of 4 bytes."""
    rows = []
    for row in reversed(pixels):
        data = bytearray()
        for x in range(0, len(row), 2):
            high = row[x]
            low = row[x + 1] if x + 1 < len(row) else 0
            data.append(high << 4 | low)
        while len(data) % 4:
            data.append(0)
        rows.append(bytes(data))
    return b"".join(rows)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (b, g, r) in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 2835, 2835, 16, 16)


def write_bmp(path, pixels):
    width, height = len(pixels[0]), len(pixels)
    image = bmp_rows(pixels)
    offset = 14 + 40 + 64
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info_header(width, height, len(image)) + palette_bytes() + image)


def write_ico(path, pixels):
    width, height = len(pixels[0]), len(pixels)
    image = bmp_rows(pixels)
    mask_row = ((width + 31) // 32) * 4
    mask = bytes(mask_row * height)  # every pixel opaque
    # An icon's header gives twice the height: the colours and the mask.
    dib = info_header(width, height * 2, len(image) + len(mask)) + palette_bytes() + image + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(dib), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + dib)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    logo = canvas(65, 54, BLUE)
    draw_card(logo, 1.0, 1.0)
    write_bmp(os.path.join(here, "logo.bmp"), logo)
    icon = canvas(32, 32, BLUE)
    draw_card(icon, 0.5, 32 / 54)
    write_ico(os.path.join(here, "app.ico"), icon)


if __name__ == "__main__":
    main()
