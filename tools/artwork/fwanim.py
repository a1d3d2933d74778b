#!/usr/bin/env python3
# Draws the firmware download animation and writes it as an uncompressed 8-bit AVI.
"""Firmware download animation for the wizard's download dialog.

A page of firmware travels in a loop from the update server on the left to the USB stick on
the right. The animation control plays only uncompressed or RLE8 AVI files without sound, so
the file is written here by hand: one video stream of 8-bit DIB frames with one palette.

    python3 fwanim.py OUT.avi
"""
import math
import os
import struct
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
try:
    from kitstyle import PALETTE  # the kit's one colour scheme
except ImportError:
    PALETTE = {"brand": (24, 66, 110), "brand_light": (44, 104, 160), "accent": (0, 150, 160),
               "accent_light": (90, 200, 205), "paper": (255, 255, 255), "ink_soft": (92, 104, 118),
               "footer_rule": (200, 210, 220)}

W, H = 180, 52
FRAMES = 16
FRAME_US = 90000
S = 4  # drawn larger, reduced with a good filter


def server(d):
    x0, y0 = 14 * S, 8 * S
    for i in range(3):
        top = y0 + i * 12 * S
        d.rounded_rectangle((x0, top, x0 + 30 * S, top + 10 * S), 2 * S, fill=PALETTE["brand"])
        d.ellipse((x0 + 23 * S, top + 4 * S, x0 + 26 * S, top + 7 * S), fill=PALETTE["accent_light"])
        d.line((x0 + 4 * S, top + 5 * S, x0 + 16 * S, top + 5 * S), fill=PALETTE["brand_light"], width=S)


def stick(d):
    x0, y0 = 136 * S, 14 * S
    d.rounded_rectangle((x0, y0, x0 + 26 * S, y0 + 24 * S), 3 * S, fill=PALETTE["brand"])
    d.rectangle((x0 + 26 * S, y0 + 6 * S, x0 + 34 * S, y0 + 18 * S), fill=PALETTE["footer_rule"])
    d.rectangle((x0 + 28 * S, y0 + 9 * S, x0 + 30 * S, y0 + 11 * S), fill=PALETTE["ink_soft"])
    d.rectangle((x0 + 28 * S, y0 + 13 * S, x0 + 30 * S, y0 + 15 * S), fill=PALETTE["ink_soft"])
    d.ellipse((x0 + 5 * S, y0 + 10 * S, x0 + 9 * S, y0 + 14 * S), fill=PALETTE["accent_light"])


def page(d, cx, cy, alpha):
    """A small firmware page with a folded corner, centred on (cx, cy)."""
    w, h = 12 * S, 15 * S
    x, y = cx - w // 2, cy - h // 2
    ink = tuple(int(p + (a - p) * alpha) for p, a in zip(PALETTE["paper"], PALETTE["accent"]))
    d.polygon([(x, y), (x + w - 4 * S, y), (x + w, y + 4 * S), (x + w, y + h), (x, y + h)], fill=ink)
    for k in range(3):
        ly = y + (6 + 3 * k) * S
        d.line((x + 2 * S, ly, x + w - 3 * S, ly), fill=PALETTE["paper"], width=S)


def frame(n):
    img = Image.new("RGB", (W * S, H * S), PALETTE["paper"])
    d = ImageDraw.Draw(img)
    # The road: a row of dots from server to stick, the ones already passed brighter.
    t = n / FRAMES
    for k in range(13):
        u = k / 12
        x = (52 + u * 78) * S
        y = (26 - 10 * math.sin(math.pi * u)) * S
        lit = u <= t
        r = (1.6 if lit else 1.1) * S
        d.ellipse((x - r, y - r, x + r, y + r), fill=PALETTE["accent" if lit else "footer_rule"])
    server(d)
    stick(d)
    u = t
    fade = min(1.0, 4 * min(u, 1 - u) + 0.25)
    page(d, int((52 + u * 78) * S), int((26 - 10 * math.sin(math.pi * u)) * S), fade)
    return img.resize((W, H), Image.LANCZOS)


def avi(frames, path):
    pal_img = Image.new("RGB", (W, H * len(frames)))
    for i, f in enumerate(frames):
        pal_img.paste(f, (0, i * H))
    # One palette for all frames, the paper colour first: the control makes it transparent.
    quant = pal_img.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    raw = quant.getpalette()[:255 * 3]
    palette = [tuple(PALETTE["paper"])] + [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    lut = Image.new("P", (1, 1))
    lut.putpalette([c for rgb in palette for c in rgb])
    stride = (W + 3) & ~3
    bodies = []
    for i in range(len(frames)):
        idx = pal_img.crop((0, i * H, W, (i + 1) * H)).quantize(palette=lut, dither=Image.Dither.NONE)
        px = idx.tobytes()
        rows = [px[y * W:(y + 1) * W] + b"\0" * (stride - W) for y in range(H)]
        bodies.append(b"".join(reversed(rows)))  # DIB rows run bottom-up
    size = stride * H

    def chunk(fourcc, data):
        return fourcc + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")

    def lst(kind, data):
        return chunk(b"LIST", kind + data)

    avih = struct.pack("<14I", FRAME_US, size * 1000000 // FRAME_US, 0, 0x10, len(frames), 0, 1,
                       size, W, H, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIiI4h", b"vids", b"DIB ", 0, 0, 0, 0, FRAME_US, 1000000, 0,
                       len(frames), size, -1, 0, 0, 0, W, H)
    bih = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 0, size, 0, 0, 256, 0)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", bih + pal)))
    movi_body, idx, off = b"", b"", 4
    for body in bodies:
        idx += struct.pack("<4sIII", b"00db", 0x10, off, len(body))
        c = chunk(b"00db", body)
        movi_body += c
        off += len(c)
    data = b"AVI " + hdrl + lst(b"movi", movi_body) + chunk(b"idx1", idx)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(data)) + data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: fwanim.py OUT.avi")
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[1])), exist_ok=True)
    avi([frame(n) for n in range(FRAMES)], sys.argv[1])
