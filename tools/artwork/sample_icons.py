#!/usr/bin/env python3
# Draws the sample medium's shortcut icons: the product, its web setting page, remote access.
"""python3 sample_icons.py OUT_FOLDER  ->  Dorvane.ico, WebSetup.ico, Vantry2.ico"""
import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fwanim import PALETTE  # noqa: E402  (the kit's colours, with their fallback)

S = 8  # drawn at 256 pixels, reduced to each icon size


def canvas():
    return Image.new("RGBA", (32 * S, 32 * S), (0, 0, 0, 0))


def product():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((5 * S, 3 * S, 27 * S, 29 * S), 3 * S, fill=PALETTE["brand"])
    for k in range(3):
        y = (8 + 6 * k) * S
        d.line((9 * S, y, 20 * S, y), fill=PALETTE["brand_light"], width=2 * S)
        d.ellipse((22 * S, y - S, 24 * S, y + S), fill=PALETTE["accent_light"])
    return img


def web_setting():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.ellipse((3 * S, 3 * S, 29 * S, 29 * S), fill=PALETTE["accent"])
    d.ellipse((9 * S, 3 * S, 23 * S, 29 * S), outline=PALETTE["paper"], width=S + S // 2)
    for y in (11, 21):
        d.line((5 * S, y * S, 27 * S, y * S), fill=PALETTE["paper"], width=S + S // 2)
    d.line((16 * S, 3 * S, 16 * S, 29 * S), fill=PALETTE["paper"], width=S + S // 2)
    return img


def remote_access():
    img = canvas()
    d = ImageDraw.Draw(img)
    for box in ((4, 12, 18, 26), (10, 6, 26, 22), (16, 12, 29, 25)):
        d.ellipse(tuple(v * S for v in box), fill=PALETTE["brand_light"])
    d.rectangle((8 * S, 19 * S, 25 * S, 25 * S), fill=PALETTE["brand_light"])
    d.polygon([(13 * S, 16 * S), (21 * S, 16 * S), (17 * S, 22 * S)], fill=PALETTE["paper"])
    return img


if __name__ == "__main__":
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, draw in (("Dorvane", product), ("WebSetup", web_setting), ("Vantry2", remote_access)):
        big = draw()
        big.resize((32, 32), Image.LANCZOS).save(os.path.join(out, name + ".ico"), sizes=[(16, 16), (32, 32)])
