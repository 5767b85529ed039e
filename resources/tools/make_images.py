#!/usr/bin/env python3
"""Writes the pictures of Tools: the form's icon tools.ico and the picture of the
store button okedit.bmp (24 x 15, 16 colours, white shown as transparent by the
form). Run it from this folder after changing a drawing.

The icon holds the drawing at 32 x 32 in 16 colours, and the same drawing at
48 x 48 and 64 x 64 (32-bit colour with alpha) and 256 x 256 (PNG) for screens
scaled above 100 %: each of their pixels takes the colours of the 32-pixel cells
it covers, by area (whole cells at 64 and 256, blended edges at 48)."""

import struct
import zlib

# The 16 colours of the standard palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Letters of the drawings; "." is white in the bitmap and transparent in the icon.
COLOURS = {'.': 15, 'K': 0, 'G': 2, 'N': 4, 'S': 7, 'D': 8, 'R': 9, 'Y': 11, 'B': 12, 'W': 15}

# A blue arrow pointing left and a green check mark.
OK_EDIT = [
    "........................",
    "........................",
    ".......................G",
    ".....B................GG",
    "....BB...............GG.",
    "...BBB..............GGG.",
    "..BBBBBBBBBB.......GGG..",
    ".BBBBBBBBBBB..G...GGG...",
    "..BBBBBBBBBB..GG.GGG....",
    "...BBB.........GGGG.....",
    "....BB..........GG......",
    ".....B..........G.......",
    "........................",
    "........................",
    "........................",
]

# A list of tools on a sheet, with a screwdriver across it.
ICON = [
    "................................",
    "................................",
    "...KKKKKKKKKKKKKKKKKKKK.........",
    "...KWWWWWWWWWWWWWWWWWWK.........",
    "...KWWWWWWWWWWWWWWWWWWK.........",
    "...KWNNWNNNNNNNNNNNWWWK.........",
    "...KWNNWNNNNNNNNNNNWWWK.........",
    "...KWWWWWWWWWWWWWWWWWWK.........",
    "...KWWWWWWWWWWWWWWWWWWK.........",
    "...KWNNWNNNNNNNNNNWWWWK.........",
    "...KWNNWNNNNNNNNNNWWWWK.........",
    "...KWWWWWWWWWWWWWWWWWWK.........",
    "...KWWWWWWWWWWWWWWWWWWK.........",
    "...KWNNWNNNNNNNNNNNNWWK...DD....",
    "...KWNNWNNNNNNNNNNNNWWK..DSSD...",
    "...KWWWWWWWWWWWWWWWWWWK.DSSSD...",
    "...KWWWWWWWWWWWWWWWWWWKDSSSD....",
    "...KWNNWNNNNNNNNNWWWWDSSSD......",
    "...KWNNWNNNNNNNNNWWWDSSSD.......",
    "...KWWWWWWWWWWWWWWWDSSSDK.......",
    "...KWWWWWWWWWWWWWWDSSSDWK.......",
    "...KWNNWNNNNNNNWKKKSSDWWK.......",
    "...KWNNWNNNNNNKYYYKKDWWWK.......",
    "...KWWWWWWWWWKYYYYYKWWWWK.......",
    "...KWWWWWWWWKYYYYYKWWWWWK.......",
    "...KKKKKKKKKYYYYYKKKKKKKK.......",
    "..........KYYYYYK...............",
    ".........KYYYYYK................",
    "........KYYYYYK.................",
    "........KYYYK...................",
    ".........KKK....................",
    "................................",
]


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)


def pixel_rows(drawing):
    """4-bit pixel rows, bottom row first, each padded to 4 bytes."""
    rows = []
    for line in reversed(drawing):
        indexes = [COLOURS[c] for c in line]
        row = bytes((indexes[i] << 4) | (indexes[i + 1] if i + 1 < len(indexes) else 0)
                    for i in range(0, len(indexes), 2))
        rows.append(row + b'\0' * (-len(row) % 4))
    return b''.join(rows)


def mask_rows(drawing):
    """1-bit AND mask, bottom row first: 1 where the icon is transparent."""
    rows = []
    for line in reversed(drawing):
        bits = 0
        for c in line:
            bits = (bits << 1) | (c == '.')
        width = len(line)
        row = (bits << (-width % 32)).to_bytes((width + 31) // 32 * 4, 'big')
        rows.append(row)
    return b''.join(rows)


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def write_bitmap(path, drawing):
    width, height = len(drawing[0]), len(drawing)
    pixels = pixel_rows(drawing)
    offset = 14 + 40 + 64
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset))
        f.write(info_header(width, height, len(pixels)) + palette_bytes() + pixels)


def scaled_pixels(drawing, size):
    """The drawing at size x size as rows of (red, green, blue, alpha): each pixel
    the area-weighted mean of the drawing's cells under it, '.' transparent."""
    cells = len(drawing)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            red = green = blue = alpha = 0.0
            # The pixel covers [x, x + 1) * cells / size in the drawing.
            for cy in range(y * cells // size, min(cells, ((y + 1) * cells + size - 1) // size)):
                h = min(cy + 1, (y + 1) * cells / size) - max(cy, y * cells / size)
                for cx in range(x * cells // size, min(cells, ((x + 1) * cells + size - 1) // size)):
                    w = min(cx + 1, (x + 1) * cells / size) - max(cx, x * cells / size)
                    c = drawing[cy][cx]
                    if c != '.' and w > 0 and h > 0:
                        r, g, b = PALETTE[COLOURS[c]]
                        red, green, blue, alpha = red + r * w * h, green + g * w * h, blue + b * w * h, alpha + w * h
            area = (cells / size) ** 2
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(red / alpha), round(green / alpha), round(blue / alpha), round(255 * alpha / area)))
        rows.append(row)
    return rows


def true_colour_image(rows):
    """A 32-bit icon image with alpha: header, BGRA pixels and an AND mask (1 where
    fully transparent), both bottom-up."""
    size = len(rows)
    colour, mask = bytearray(), bytearray()
    mask_row = (size + 31) // 32 * 4
    for row in reversed(rows):
        bits = 0
        for (r, g, b, a) in row:
            colour += bytes((b, g, r, a))
            bits = (bits << 1) | (a == 0)
        mask += (bits << (mask_row * 8 - size)).to_bytes(mask_row, 'big')
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def png_image(rows):
    """An 8-bit RGBA PNG image, as icons hold their 256-pixel image."""
    raw = b''.join(b'\0' + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    header = struct.pack('>IIBBBBB', len(rows), len(rows), 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


def write_icon(path, drawing):
    width, height = len(drawing[0]), len(drawing)
    for line in drawing:
        assert len(line) == width, line
    # Transparent pixels are black in the colour part.
    pixels = pixel_rows([line.replace('.', 'K') for line in drawing])
    # (width, colour count, bits a pixel, image), the 16-colour image first.
    images = [(width, 16, 4, info_header(width, height * 2, 0) + palette_bytes() + pixels + mask_rows(drawing))]
    for size in (48, 64, 256):
        rows = scaled_pixels(drawing, size)
        images.append((size, 0, 32, png_image(rows) if size == 256 else true_colour_image(rows)))
    offset = 6 + 16 * len(images)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)))
        for size, colours, bits, image in images:
            # A width or height of 256 is written as 0.
            f.write(struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits, len(image), offset))
            offset += len(image)
        for _, _, _, image in images:
            f.write(image)


if __name__ == '__main__':
    for line in OK_EDIT:
        assert len(line) == 24, line
    assert len(OK_EDIT) == 15 and len(ICON) == 32
    write_bitmap('okedit.bmp', OK_EDIT)
    write_icon('tools.ico', ICON)
