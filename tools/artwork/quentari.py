# Draws the network setter's pictures, icons and cursor in the kit's style into a build folder.
"""Artwork of Quentari.exe.

    python3 quentari.py OUTDIR

writes the files that resources/quentari/*.rc name: the buttons of the main, logon and setting
dialogs and of the device list (normal, pressed and focused pictures, one set per language),
the caption picture, the version-box and PC pictures, the program and device icons and the hand
cursor.
"""
import os
import struct
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kitstyle as ks  # noqa: E402

P = ks.PALETTE
# The dialogs keep the system's face colour; buttons and the caption sit on it.
FACE = (240, 240, 240)
LANGS = (1033, 1041, 1028, 2052)

# Dialog buttons: (file stem, kind, text per language).
BUTTONS = {
    "refresh": ("primary", {1033: "Refresh", 1041: "再検索", 1028: "重新搜尋", 2052: "重新搜索"}),
    "close": ("secondary", {1033: "Close", 1041: "閉じる", 1028: "關閉", 2052: "关闭"}),
    "ok": ("primary", {1033: "OK", 1041: "OK", 1028: "確定", 2052: "确定"}),
    "cancel": ("secondary", {1033: "Cancel", 1041: "キャンセル", 1028: "取消", 2052: "取消"}),
    "clear": ("secondary", {1033: "Clear", 1041: "クリア", 1028: "清除", 2052: "清除"}),
}
BUTTON_SIZE = (93, 26)
BUTTON_ICONS = {"refresh": None, "close": "close", "ok": "check", "cancel": None, "clear": None}

# The two buttons of each device row: setting flow and web page.
LIST_BUTTONS = {
    "list_setting": ("primary", "gear", {1033: "Setting", 1041: "設定", 1028: "設定", 2052: "设置"}),
    "list_web": ("secondary", "web", {1033: "Web page", 1041: "Web画面", 1028: "網頁", 2052: "网页"}),
}
LIST_BUTTON_SIZE = (74, 20)

SUBTITLE = {
    1033: "network device setting utility",
    1041: "ネットワーク機器設定ユーティリティ",
    1028: "網路裝置設定公用程式",
    2052: "网络设备设置实用程序",
}


def small_button(label, size, state, kind, icon):
    """A row button: like the dialog buttons, smaller, on the list's white, a small symbol left of the text."""
    img = ks.button("", size, state, kind=kind, backdrop=P["paper"], font_size=11, radius=4)
    shift = 1 if state == "selected" else 0
    ink = P["on_brand"] if kind == "primary" else P["brand"]
    big = img.resize((size[0] * ks.SCALE, size[1] * ks.SCALE), Image.NEAREST)
    d = ImageDraw.Draw(big)
    s = 11
    x, y = 6 + shift, (size[1] - 3 - s) / 2 + shift
    if icon == "web":
        S = ks.SCALE
        d.ellipse((x * S, y * S, (x + s) * S, (y + s) * S), outline=ink, width=S)
        d.line((x * S, (y + s / 2) * S, (x + s) * S, (y + s / 2) * S), fill=ink, width=S)
        d.ellipse(((x + 3) * S, y * S, (x + s - 3) * S, (y + s) * S), outline=ink, width=S)
    else:
        ks.draw_icon(d, icon, (x, y, s), ink, width=1.2)
    box = (x - 1, y - 1, x + s + 2, y + s + 2)
    small = big.resize(size, Image.LANCZOS)
    img.paste(small.crop(tuple(int(v) for v in box)), (int(box[0]), int(box[1])))
    ks.draw_text(img, (x + s + 3, 2 + shift, size[0] - 4 + shift, size[1] - 4 + shift), label, 11, ink,
                 bold=not ks.is_cjk(label))
    return img


def caption(lang, size=(380, 44)):
    """The banner over the device list: brand band, the kit mark, the program's name and what it does."""
    w, h = size
    big = Image.new("RGB", (w * ks.SCALE, h * ks.SCALE), FACE)
    mask = Image.new("L", big.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, big.width - 1, big.height - 1), radius=6 * ks.SCALE, fill=255)
    band = ks.vertical_gradient(big.size, P["brand"], P["brand_light"])
    d = ImageDraw.Draw(band)
    d.ellipse((int(w * .70 * ks.SCALE), -h * ks.SCALE, int(w * 1.2 * ks.SCALE), int(h * .9 * ks.SCALE)),
              fill=ks.mix(P["brand_light"], P["accent"], .4))
    d.rectangle((0, big.height - 3 * ks.SCALE, big.width, big.height), fill=P["accent"])
    big = Image.composite(band, big, mask)
    img = big.resize(size, Image.LANCZOS)
    ks.draw_logo(img, 10, 8, 26)
    ks.draw_text(img, (150, 4, w - 10, 24), "Quentari", 17, P["on_brand"], bold=True, align="right")
    ks.draw_text(img, (130, 23, w - 10, h - 5), SUBTITLE[lang], 11, ks.mix(P["on_brand"], P["accent_light"], .3),
                 align="right")
    return img


def mark(size, kind):
    """Square symbols: the program (a device sending waves), an access point, a storage box."""
    big = Image.new("RGBA", (size * ks.SCALE, size * ks.SCALE), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    S = ks.SCALE
    r = max(2, size // 6)
    if kind == "app":
        grad = ks.vertical_gradient((size * S, size * S), P["brand_light"], P["brand"]).convert("RGBA")
        m = Image.new("L", big.size, 0)
        ImageDraw.Draw(m).rounded_rectangle((0, 0, size * S - 1, size * S - 1), radius=r * S, fill=255)
        big = Image.composite(grad, big, m)
        d = ImageDraw.Draw(big)
        ks.draw_icon(d, "device", (size * .12, size * .22, size * .55), P["on_brand"], width=max(1.0, size / 20))
        lw = max(1, int(size / 20 * S))
        for i, k in enumerate((.25, .4)):
            box = (size * (.55 - k * .3) * S, size * (.45 - k) * S, size * (.55 + k * 1.1) * S, size * (.45 + k) * S)
            d.arc(box, -50, 50, fill=P["accent_light"], width=lw)
    elif kind == "storage":
        d.rounded_rectangle((size * .18 * S, size * .06 * S, size * .82 * S, size * .94 * S), radius=r * S,
                            fill=P["brand"], outline=P["brand_dark"], width=S)
        for fy in (.3, .5):
            d.line((size * .3 * S, size * fy * S, size * .7 * S, size * fy * S), fill=P["on_brand"], width=S)
        d.ellipse((size * .42 * S, size * .7 * S, size * .58 * S, size * .84 * S), fill=P["accent_light"])
    else:  # access point
        d.rounded_rectangle((size * .08 * S, size * .55 * S, size * .92 * S, size * .92 * S), radius=r * S,
                            fill=P["accent"], outline=ks.mix(P["accent"], (0, 0, 0), .3), width=S)
        d.line((size * .5 * S, size * .55 * S, size * .5 * S, size * .22 * S), fill=P["brand"], width=int(1.5 * S))
        d.arc((size * .25 * S, size * .02 * S, size * .75 * S, size * .5 * S), 200, 340, fill=P["brand"], width=S)
        d.ellipse((size * .2 * S, size * .68 * S, size * .3 * S, size * .78 * S), fill=(255, 255, 255, 255))
    return big.resize((size, size), Image.LANCZOS)


def hand(size=32):
    """A pointing hand, black outline on white, hot spot at the finger tip."""
    S = ks.SCALE
    big = Image.new("RGBA", (size * S, size * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    pts = [(9, 1), (12, 1), (12, 11), (21, 12), (23, 14), (23, 22), (20, 28), (10, 28), (4, 19), (4, 16),
           (6, 15), (9, 18)]
    d.polygon([(x * S, y * S) for x, y in pts], fill=(255, 255, 255, 255), outline=(0, 0, 0, 255), width=S)
    for x in (15, 18):
        d.line((x * S, 12 * S, x * S, 18 * S), fill=(0, 0, 0, 255), width=S)
    return big.resize((size, size), Image.LANCZOS), (10, 1)


def dib_entry(img):
    """A 32-bit bottom-up DIB with its AND mask, the form icon and cursor files hold."""
    w, h = img.size
    rgba = img.convert("RGBA")
    px = rgba.load()
    rows = []
    for y in range(h - 1, -1, -1):
        rows.append(b"".join(struct.pack("BBBB", px[x, y][2], px[x, y][1], px[x, y][0], px[x, y][3])
                             for x in range(w)))
    stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + bytes(mask)


def write_icon(path, images, hotspot=None):
    """An .ico file (or .cur with a hot spot) of DIB entries."""
    entries = [dib_entry(i) for i in images]
    out = struct.pack("<HHH", 0, 2 if hotspot else 1, len(images))
    offset = 6 + 16 * len(images)
    for img, data in zip(images, entries):
        w, h = img.size
        a, b = hotspot if hotspot else (1, 32)
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, a, b, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(entries))


def pc_picture(size=(56, 44)):
    """A PC screen on pure red, which the transparent picture control leaves out."""
    w, h = size
    img = Image.new("RGB", size, (255, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((4, 2, w - 5, h - 14), radius=3, fill=P["brand_dark"])
    d.rectangle((8, 6, w - 9, h - 18), fill=P["brand_light"])
    d.line((12, 12, 26, 12), fill=P["accent_light"], width=2)
    d.line((12, 18, 34, 18), fill=P["on_brand"], width=1)
    d.rectangle((w // 2 - 5, h - 14, w // 2 + 4, h - 8), fill=P["secondary_edge"])
    d.rounded_rectangle((8, h - 8, w - 9, h - 3), radius=2, fill=P["ink_soft"])
    return img


def main(out):
    os.makedirs(out, exist_ok=True)
    for lang in LANGS:
        ks.save_bmp(caption(lang), os.path.join(out, "caption_%d.bmp" % lang))
        for stem, (kind, texts) in BUTTONS.items():
            label = texts[lang]
            for state, suffix in (("normal", ""), ("selected", "_down"), ("focused", "_focus")):
                img = ks.button(label, BUTTON_SIZE, state, kind=kind, backdrop=FACE, icon=BUTTON_ICONS[stem],
                                font_size=13, radius=5)
                ks.save_bmp(img, os.path.join(out, "%s%s_%d.bmp" % (stem, suffix, lang)))
        for stem, (kind, icon, texts) in LIST_BUTTONS.items():
            for state, suffix in (("normal", ""), ("selected", "_down")):
                img = small_button(texts[lang], LIST_BUTTON_SIZE, state, kind, icon)
                ks.save_bmp(img, os.path.join(out, "%s%s_%d.bmp" % (stem, suffix, lang)))
    ks.save_bmp(_on(FACE, mark(48, "app")), os.path.join(out, "version.bmp"))
    ks.save_bmp(pc_picture(), os.path.join(out, "pc.bmp"))
    write_icon(os.path.join(out, "quentari.ico"), [mark(s, "app") for s in (16, 32, 48)])
    write_icon(os.path.join(out, "device.ico"), [mark(16, "ap"), mark(32, "ap")])
    write_icon(os.path.join(out, "storage.ico"), [mark(16, "storage"), mark(32, "storage")])
    cursor, spot = hand()
    write_icon(os.path.join(out, "hand.cur"), [cursor], hotspot=spot)


def _on(colour, img):
    base = Image.new("RGB", img.size, colour)
    base.paste(img, (0, 0), img)
    return base


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "quentari-art")
