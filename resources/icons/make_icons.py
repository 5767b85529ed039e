#!/usr/bin/env python3
"""Draws the four icons of Vantel and writes them as .ico files.

Usage: make_icons.py [OUTPUT_FOLDER]   (default: the folder of this script)

Each icon holds the same picture four times:
- 32x32 in the 16 standard colours: a 4-bit BMP image with its AND mask
  (1 = transparent pixel), drawn pixel by pixel;
- 48x48 and 64x64 in 32-bit colour with an alpha channel (BMP images), and
  256x256 likewise as a PNG image, for screens scaled above 100 %. The drawing is
  the same, its coordinates in 32ths of the icon: shapes are drawn with smooth
  (sampled) edges, the letters as blocks of the 32-pixel design.
Only the standard library is used, so the icons can be rebuilt anywhere.
"""

import os
import struct
import sys
import zlib

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


class Glyphs:
    """Glyph drawing shared by both canvases: a glyph is rows of "#" and ".", each "#"
    a square of scale x scale design pixels filled with rect."""

    def glyph(self, rows, x0, y0, colour, scale=1):
        for gy, row in enumerate(rows):
            for gx, cell in enumerate(row):
                if cell == "#":
                    self.rect(x0 + gx * scale, y0 + gy * scale, x0 + gx * scale + scale - 1,
                              y0 + gy * scale + scale - 1, colour)


class Canvas(Glyphs):
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


class SmoothCanvas(Glyphs):
    """The drawing operations of Canvas, at `size` pixels with coordinates still in
    32ths of the icon; each pixel is sampled SAMPLES x SAMPLES times, so edges are
    smooth and transparent parts fade. Pixels are (red, green, blue, alpha)."""

    SAMPLES = 4

    def __init__(self, fill, size):
        self.size = size
        self.n = size * self.SAMPLES  # samples a row
        self.scale = self.n / SIZE  # samples to one unit of the 32-pixel design
        self.samples = [[fill] * self.n for _ in range(self.n)]

    def _span(self, a0, a1):
        """The samples whose centres lie in [a0, a1), in design units."""
        lo = max(0, int(a0 * self.scale + 0.5 - 1e-9))
        hi = min(self.n, int(a1 * self.scale + 0.5 - 1e-9))
        return range(lo, hi)

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the design pixels from (x0, y0) to (x1, y1), both included."""
        for sy in self._span(y0, y1 + 1):
            row = self.samples[sy]
            for sx in self._span(x0, x1 + 1):
                row[sx] = colour

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        # The outline of the rectangle covering the design pixels, its corners rounded.
        left, top, right, bottom = x0, y0, x1 + 1, y1 + 1
        r = radius + 0.5
        for sy in self._span(top, bottom):
            v = (sy + 0.5) / self.scale
            row = self.samples[sy]
            for sx in self._span(left, right):
                u = (sx + 0.5) / self.scale
                cx = min(max(u, left + r), right - r)
                cy = min(max(v, top + r), bottom - r)
                if (u - cx) ** 2 + (v - cy) ** 2 <= r * r:
                    row[sx] = colour

    def disc(self, cx, cy, radius, colour):
        for sy in self._span(cy - radius, cy + radius):
            v = (sy + 0.5) / self.scale
            row = self.samples[sy]
            for sx in self._span(cx - radius, cx + radius):
                u = (sx + 0.5) / self.scale
                if (u - cx) ** 2 + (v - cy) ** 2 <= radius * radius:
                    row[sx] = colour


    def pixels(self):
        """Rows of (red, green, blue, alpha), top row first, each pixel the mean of its
        samples (colours weighted by their coverage)."""
        k = self.SAMPLES
        out = []
        for y in range(self.size):
            line = []
            for x in range(self.size):
                red = green = blue = covered = 0
                for sy in range(y * k, y * k + k):
                    for colour in self.samples[sy][x * k:x * k + k]:
                        if colour is not None:
                            r, g, b = PALETTE[colour]
                            red, green, blue, covered = red + r, green + g, blue + b, covered + 1
                if covered == 0:
                    line.append((0, 0, 0, 0))
                else:
                    line.append((round(red / covered), round(green / covered), round(blue / covered),
                                 round(255 * covered / (k * k))))
            out.append(line)
        return out


def draw_program_icon(c):
    """A small calculator: a cyan screen with a purple sigma, a red a and a black n,
    in a navy frame with two grey keys below."""
    c.rounded_rect(3, 1, 28, 30, 2, NAVY)
    c.rect(6, 4, 25, 18, CYAN)
    c.glyph(SIGMA_SMALL, 7, 7, PURPLE)
    c.glyph(A_SMALL, 15, 10, RED)
    c.glyph(N_SMALL, 21, 11, BLACK)
    for x0 in (7, 18):
        c.rect(x0, 22, x0 + 6, 27, GREY)
        c.rect(x0, 22, x0 + 6, 22, SILVER)
        c.rect(x0, 22, x0, 27, SILVER)


def draw_term_icon(c):
    """A red a with a small n on a cyan disc over blue."""
    c.disc(16, 16, 14.5, CYAN)
    c.glyph(A_SMALL, 7, 9, RED, scale=2)
    c.glyph(N_TINY, 19, 19, RED)


def draw_sum_icon(c):
    """A navy sigma and a black a with a small n on a yellow rounded square over purple."""
    c.rounded_rect(2, 2, 29, 29, 5, YELLOW)
    c.glyph(SIGMA_BIG, 4, 10, NAVY)
    c.glyph(A_SMALL, 16, 13, BLACK)
    c.glyph(N_TINY, 22, 17, BLACK)


def draw_product_icon(c):
    """A black P with a small n on a light green rounded square over dark green."""
    c.rounded_rect(2, 2, 29, 29, 5, LIGHT_GREEN)
    c.glyph(P_BIG, 8, 8, BLACK)
    c.glyph(N_TINY, 18, 17, BLACK)


def image_16_colours(canvas):
    """The 32x32 4-bit icon image: BITMAPINFOHEADER, palette, colour bits and AND
    mask, both bottom-up."""
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
    return header + palette + bytes(xor) + bytes(mask)


def image_true_colour(rows):
    """A 32-bit icon image with alpha: BITMAPINFOHEADER, BGRA pixels and an AND mask
    (1 where fully transparent), both bottom-up."""
    size = len(rows)
    colour = bytearray()
    mask = bytearray()
    mask_row = (size + 31) // 32 * 4
    for row in reversed(rows):
        bits = 0
        for (r, g, b, a) in row:
            colour += bytes((b, g, r, a))
            bits = (bits << 1) | (1 if a == 0 else 0)
        mask += (bits << (mask_row * 8 - size)).to_bytes(mask_row, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def image_png(rows):
    """A PNG image (8-bit RGBA), as icons hold their 256-pixel image."""
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


LARGE_SIZES = (48, 64, 256)


def ico_bytes(images):
    """An .ico file of (size, colour count, bits a pixel, image bytes)."""
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, colours, bits, image in images:
        # A width or height of 256 is written as 0.
        data += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
    return data + b"".join(image for _, _, _, image in images)


def icon_file(draw, background):
    """The 32x32 16-colour image first, as it always was, then the large ones."""
    small = Canvas(background)
    draw(small)
    images = [(SIZE, 16, 4, image_16_colours(small))]
    for size in LARGE_SIZES:
        large = SmoothCanvas(background, size)
        draw(large)
        rows = large.pixels()
        images.append((size, 0, 32, image_png(rows) if size == 256 else image_true_colour(rows)))
    return ico_bytes(images)


# File, drawing and the colour the drawing starts from.
ICONS = {
    "Ic0.ico": (draw_program_icon, CLEAR),
    "ICAN.ico": (draw_term_icon, BLUE),
    "ICSN.ico": (draw_sum_icon, PURPLE),
    "ICPN.ico": (draw_product_icon, DARK_GREEN),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, (draw, background) in ICONS.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(icon_file(draw, background))


if __name__ == "__main__":
    main()
