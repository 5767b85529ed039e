#!/usr/bin/env python3
"""Writes the pictures of Tools: the form's icon tools.ico (32 x 32, 16 colours) and
the picture of the store button okedit.bmp (24 x 15, 16 colours, white shown as
transparent by the form). Run it from this folder after changing a drawing."""

import struct

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


def write_icon(path, drawing):
    width, height = len(drawing[0]), len(drawing)
    for line in drawing:
        assert len(line) == width, line
    # Transparent pixels are black in the colour part.
    pixels = pixel_rows([line.replace('.', 'K') for line in drawing])
    image = info_header(width, height * 2, 0) + palette_bytes() + pixels + mask_rows(drawing)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1))
        f.write(struct.pack('<BBBBHHII', width, height, 16, 0, 1, 4, len(image), 6 + 16))
        f.write(image)


if __name__ == '__main__':
    for line in OK_EDIT:
        assert len(line) == 24, line
    assert len(OK_EDIT) == 15 and len(ICON) == 32
    write_bitmap('okedit.bmp', OK_EDIT)
    write_icon('tools.ico', ICON)
