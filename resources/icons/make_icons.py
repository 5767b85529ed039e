#!/usr/bin/env python3
"""Draws the four icons of Vantel and writes them as 32x32, 16-colour .ico files.

Usage: make_icons.py [OUTPUT_FOLDER]   (default: the folder of this script)

Each icon is one 4-bit BMP image with its AND mask (1 = transparent pixel).
Only the standard library is used, so the icons can be rebuilt anywhere.
"""

import os
import struct
import sys

SIZE = 32

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0),  # 0 black
    (128, 0, 0),  # 1 maroon
    (0, 128, 0),  # 2 dark green
    (128, 128, 0),  # 3 olive
    (0, 0, 128),  # 4 navy
    (128, 0, 128),  # 5 purple
    (0, 128, 128),  # 6 teal
    (192, 192, 192),  # 7 silver
    (128, 128, 128),  # 8 grey
    (255, 0, 0),  # 9 red
    (0, 255, 0),  # 10 light green
    (255, 255, 0),  # 11 yellow
    (0, 0, 255),  # 12 blue
    (255, 0, 255),  # 13 magenta
    (0, 255, 255),  # 14 cyan
    (255, 255, 255),  # 15 white
]
BLACK, MAROON, DARK_GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIGHT_GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)
CLEAR = None  # a transparent pixel

# Glyphs: "#" is ink, "." is left alone.
SIGMA_BIG = [
    "##########",
    "##.....###",
    ".##......#",
    "..##......",
    "...##.....",
    "....##....",
    "....##....",
    "...##.....",
    "..##......",
    ".##......#",
    "##.....###",
    "##########",
]
SIGMA_SMALL = [
    "#######",
    "##....#",
    ".##....",
    "..##...",
    "...##..",
    "..##...",
    ".##....",
    "##....#",
    "#######",
]
A_BIG = [
    ".######.",
    "##....##",
    "......##",
    "......##",
    ".#######",
    "##....##",
    "##....##",
    "##...###",
    ".####.##",
]
A_SMALL = [
    ".###.",
    "....#",
    ".####",
    "#...#",
    "#..##",
    ".##.#",
]
N_SMALL = [
    "#.##.",
    "##..#",
    "#...#",
    "#...#",
    "#...#",
]
N_TINY = [
    "#.#.",
    "##.#",
    "#..#",
    "#..#",
]
P_BIG = [
    "#######.",
    "##....##",
    "##....##",
    "##....##",
    "##...##.",
    "######..",
    "##......",
    "##......",
    "##......",
    "##......",
    "##......",
    "##......",
]


class Canvas:
    def __init__(self, fill):
        self.pixels = [[fill] * SIZE for _ in range(SIZE)]

    def put(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle from (x0, y0) to (x1, y1), both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                # Distance from the nearest corner centre, only in the corner squares.
                cx = min(max(x, x0 + radius), x1 - radius)
                cy = min(max(y, y0 + radius), y1 - radius)
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + radius * 0.8:
                    self.put(x, y, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(SIZE):
            for x in range(SIZE):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def glyph(self, rows, x0, y0, colour, scale=1):
        for gy, row in enumerate(rows):
            for gx, cell in enumerate(row):
                if cell == "#":
                    self.rect(x0 + gx * scale, y0 + gy * scale, x0 + gx * scale + scale - 1,
                              y0 + gy * scale + scale - 1, colour)


def draw_program_icon():
    """A small calculator: a cyan screen with a purple sigma, a red a and a black n,
    in a navy frame with two grey keys below."""
    c = Canvas(CLEAR)
    c.rounded_rect(3, 1, 28, 30, 2, NAVY)
    c.rect(6, 4, 25, 18, CYAN)
    c.glyph(SIGMA_SMALL, 7, 7, PURPLE)
    c.glyph(A_SMALL, 15, 10, RED)
    c.glyph(N_SMALL, 21, 11, BLACK)
    for x0 in (7, 18):
        c.rect(x0, 22, x0 + 6, 27, GREY)
        c.rect(x0, 22, x0 + 6, 22, SILVER)
        c.rect(x0, 22, x0, 27, SILVER)
    return c


def draw_term_icon():
    """A red a with a small n on a cyan disc over blue."""
    c = Canvas(BLUE)
    c.disc(16, 16, 14.5, CYAN)
    c.glyph(A_SMALL, 7, 9, RED, scale=2)
    c.glyph(N_TINY, 19, 19, RED)
    return c


def draw_sum_icon():
    """A navy sigma and a black a with a small n on a yellow rounded square over purple."""
    c = Canvas(PURPLE)
    c.rounded_rect(2, 2, 29, 29, 5, YELLOW)
    c.glyph(SIGMA_BIG, 4, 10, NAVY)
    c.glyph(A_SMALL, 16, 13, BLACK)
    c.glyph(N_TINY, 22, 17, BLACK)
    return c


def draw_product_icon():
    """A black P with a small n on a light green rounded square over dark green."""
    c = Canvas(DARK_GREEN)
    c.rounded_rect(2, 2, 29, 29, 5, LIGHT_GREEN)
    c.glyph(P_BIG, 8, 8, BLACK)
    c.glyph(N_TINY, 18, 17, BLACK)
    return c


def ico_bytes(canvas):
    """One 32x32 4-bit icon image: ICONDIR, one entry, BITMAPINFOHEADER, palette,
    colour bits and AND mask, both bottom-up."""
    xor_row = SIZE // 2  # two pixels a byte; 16 bytes is already a multiple of 4
    and_row = 4  # 32 mask bits a row, padded to 32 bits
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):
        row = canvas.pixels[y]
        for x in range(0, SIZE, 2):
            a = row[x] if row[x] is not None else BLACK
            b = row[x + 1] if row[x + 1] is not None else BLACK
            xor.append((a << 4) | b)
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += bits.to_bytes(and_row, "big")
    assert len(xor) == xor_row * SIZE
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return icondir + entry + image


ICONS = {
    "Ic0.ico": draw_program_icon,
    "ICAN.ico": draw_term_icon,
    "ICSN.ico": draw_sum_icon,
    "ICPN.ico": draw_product_icon,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, draw in ICONS.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
