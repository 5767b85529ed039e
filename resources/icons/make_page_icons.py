#!/usr/bin/env python3
"""Draws Vantel's four icons for the web page, with the drawings of make_icons.py:
as SVG (for the page itself) and as PNG images of the program icon at 192 and 512
pixels (for the web app manifest).

Usage: make_page_icons.py OUTPUT_FOLDER
Writes icons.json ({"Ic0": "<svg ...>", ...}), vantel-192.png and vantel-512.png.
"""

import json
import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source folder

import make_icons
from make_icons import PALETTE, SIZE, Glyphs


def colour(index):
    return "#%02x%02x%02x" % PALETTE[index]


class SvgCanvas(Glyphs):
    """The drawing operations of make_icons' canvases as SVG shapes on a 32 x 32
    view box: a design pixel (x, y) is the unit square from (x, y)."""

    def __init__(self, fill):
        self.shapes = []
        if fill is not None:
            self.shapes.append('<rect width="32" height="32" fill="%s"/>' % colour(fill))

    def rect(self, x0, y0, x1, y1, c):
        self.shapes.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (
            x0, y0, x1 - x0 + 1, y1 - y0 + 1, colour(c)))

    def rounded_rect(self, x0, y0, x1, y1, radius, c):
        self.shapes.append('<rect x="%d" y="%d" width="%d" height="%d" rx="%g" fill="%s"/>' % (
            x0, y0, x1 - x0 + 1, y1 - y0 + 1, radius + 0.5, colour(c)))

    def disc(self, cx, cy, radius, c):
        self.shapes.append('<circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (cx, cy, radius, colour(c)))

    def svg(self):
        return ('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 32 32" shape-rendering="crispEdges">'
                + "".join(self.shapes) + "</svg>")


def main():
    out = sys.argv[1]
    icons = {}
    for name, (draw, background) in make_icons.ICONS.items():
        canvas = SvgCanvas(background)
        draw(canvas)
        icons[name[:-4]] = canvas.svg()
    with open(os.path.join(out, "icons.json"), "w", encoding="utf-8") as f:
        json.dump(icons, f, sort_keys=True)
    draw, background = make_icons.ICONS["Ic0.ico"]
    for size in (192, 512):
        canvas = make_icons.SmoothCanvas(background, size)
        draw(canvas)
        with open(os.path.join(out, "vantel-%d.png" % size), "wb") as f:
            f.write(make_icons.image_png(canvas.pixels()))


if __name__ == "__main__":
    main()
