# The kit's one look: palette, fonts, button and page-background renderers shared by the artwork scripts.
"""Shared drawing style of the Ostrand storage kit's artwork.

Every artwork script (wizard pages, guide pages, network setter, firmware animation) imports this
module so that all programs share one colour scheme and one way of drawing buttons and pages.

    import kitstyle as ks
    pics = ks.button_states("Next", (140, 40))          # {'normal': Image, 'selected': ..., ...}
    page = ks.page_background((600, 375), "Quick setup", "Step 1 of 3")
    ks.save_bmp(page, "out/page.bmp")

Shapes are drawn at SCALE times the size and reduced with a good filter so that curves are smooth;
text is drawn at the final size so that it stays crisp.
"""
import functools
import os
import re
import struct
from PIL import Image, ImageDraw, ImageFont, ImageFilter

SCALE = 4

# One colour scheme: deep slate blue brand, teal accent, white work area, cool grey footer.
PALETTE = {
    "brand": (24, 66, 110),        # header top, primary button
    "brand_dark": (14, 44, 78),    # pressed primary button
    "brand_light": (44, 104, 160), # header bottom of the gradient
    "accent": (0, 150, 160),       # thin rules, focus rings, marks
    "accent_light": (90, 200, 205),
    "paper": (255, 255, 255),      # work area: labels and system controls sit on white
    "footer": (233, 238, 243),     # footer band behind the page buttons
    "footer_rule": (200, 210, 220),
    "ink": (30, 36, 44),           # text on light backgrounds
    "ink_soft": (92, 104, 118),
    "on_brand": (255, 255, 255),   # text on brand colours
    "secondary": (255, 255, 255),  # secondary button face
    "secondary_edge": (150, 165, 182),
    "disabled": (214, 219, 225),
    "disabled_ink": (150, 156, 164),
}

STATES = ("normal", "selected", "focused", "disabled")

_FONT_DIRS = ("/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/wqy")
_LATIN = {False: "DejaVuSans.ttf", True: "DejaVuSans-Bold.ttf"}
_CJK = "wqy-microhei.ttc"
_font_cache = {}


def is_cjk(text):
    """True when the text holds a character that DejaVu does not cover (kana, kanji, hanzi, full-width)."""
    return any(ord(c) >= 0x2E80 for c in text)


def _font_file(name):
    for d in _FONT_DIRS:
        p = os.path.join(d, name)
        if os.path.exists(p):
            return p
    raise FileNotFoundError("font %s missing: install fonts-dejavu-core and fonts-wqy-microhei" % name)


def font(size, bold=False, text=""):
    """The kit font for a text: DejaVu Sans for Latin, WenQuanYi Micro Hei for Japanese and Chinese."""
    key = (size, bold, is_cjk(text))
    if key not in _font_cache:
        if key[2]:
            _font_cache[key] = ImageFont.truetype(_font_file(_CJK), size, index=0)
        else:
            _font_cache[key] = ImageFont.truetype(_font_file(_LATIN[bold]), size)
    return _font_cache[key]


def text_size(text, fnt, spacing=2):
    box = ImageDraw.Draw(Image.new("L", (1, 1))).multiline_textbbox((0, 0), text, font=fnt, spacing=spacing)
    return box[2] - box[0], box[3] - box[1]


def fit_font(text, max_w, max_h, size, bold=False, min_size=8):
    """The largest kit font not above size in which the text fits max_w x max_h."""
    while size > min_size:
        f = font(size, bold, text)
        w, h = text_size(text, f)
        if w <= max_w and h <= max_h:
            return f
        size -= 1
    return font(min_size, bold, text)


def _two_lines(text):
    """The text broken at the space nearest its middle, or None when it has no space."""
    spaces = [i for i, c in enumerate(text) if c == " "]
    if "\n" in text or not spaces:
        return None
    i = min(spaces, key=lambda k: abs(k - len(text) / 2))
    return text[:i] + "\n" + text[i + 1:]


def draw_text(img, box, text, size, colour, bold=False, align="center", valign="center", shadow=None, wrap=True):
    """Draws text fitted into box (x0, y0, x1, y1), shrinking the font until it fits; a text that would
    shrink by more than a fifth is broken onto two lines when that lets it stay larger."""
    x0, y0, x1, y1 = box
    f = fit_font(text, x1 - x0, y1 - y0, size, bold)
    if wrap and f.size < size * 0.8:
        broken = _two_lines(text)
        if broken:
            f2 = fit_font(broken, x1 - x0, y1 - y0, size, bold)
            if f2.size > f.size:
                text, f = broken, f2
    d = ImageDraw.Draw(img)
    bb = d.multiline_textbbox((0, 0), text, font=f, spacing=2, align=align)
    w, h = bb[2] - bb[0], bb[3] - bb[1]
    x = {"left": x0, "center": x0 + (x1 - x0 - w) / 2, "right": x1 - w}[align] - bb[0]
    y = {"top": y0, "center": y0 + (y1 - y0 - h) / 2, "bottom": y1 - h}[valign] - bb[1]
    if shadow:
        d.multiline_text((x + 1, y + 1), text, font=f, fill=shadow, spacing=2, align=align)
    d.multiline_text((x, y), text, font=f, fill=colour, spacing=2, align=align)
    return f


def _big(size, colour):
    return Image.new("RGB", (size[0] * SCALE, size[1] * SCALE), colour)


def _small(img, size):
    if img.size == (size[0] * SCALE, size[1] * SCALE):
        return img.reduce(SCALE)
    return img.resize(size, Image.LANCZOS)


def _s(v):
    return [int(round(x * SCALE)) for x in v]


def vertical_gradient(size, top, bottom):
    w, h = size
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        d.line([(0, y), (w, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


# Small line icons, drawn into a square box (x, y, size) on a SCALE-times canvas.
def draw_icon(d, name, box, colour, width=2.0):
    x, y, s = box
    lw = max(1, int(width * SCALE))
    p = lambda fx, fy: (int((x + fx * s) * SCALE), int((y + fy * s) * SCALE))
    if name == "next":
        d.line([p(.2, .5), p(.8, .5)], fill=colour, width=lw)
        d.line([p(.55, .25), p(.8, .5), p(.55, .75)], fill=colour, width=lw, joint="curve")
    elif name == "back":
        d.line([p(.2, .5), p(.8, .5)], fill=colour, width=lw)
        d.line([p(.45, .25), p(.2, .5), p(.45, .75)], fill=colour, width=lw, joint="curve")
    elif name == "check":
        d.line([p(.18, .52), p(.42, .76), p(.84, .26)], fill=colour, width=lw, joint="curve")
    elif name == "close":
        d.line([p(.25, .25), p(.75, .75)], fill=colour, width=lw)
        d.line([p(.75, .25), p(.25, .75)], fill=colour, width=lw)
    elif name == "folder":
        d.polygon([p(.08, .25), p(.4, .25), p(.48, .35), p(.92, .35), p(.92, .8), p(.08, .8)], outline=colour,
                  width=lw)
    elif name == "disc":
        d.ellipse([p(.1, .1), p(.9, .9)], outline=colour, width=lw)
        d.ellipse([p(.4, .4), p(.6, .6)], outline=colour, width=lw)
    elif name == "gear":
        d.ellipse([p(.22, .22), p(.78, .78)], outline=colour, width=lw)
        d.ellipse([p(.4, .4), p(.6, .6)], fill=colour)
        for a, b, c, e in ((.45, .05, .55, .22), (.45, .78, .55, .95), (.05, .45, .22, .55), (.78, .45, .95, .55)):
            d.rectangle([p(a, b), p(c, e)], fill=colour)
    elif name == "device":
        d.rounded_rectangle([p(.2, .08), p(.8, .92)], radius=int(s * .08 * SCALE), outline=colour, width=lw)
        for fy in (.3, .5):
            d.line([p(.3, fy), p(.7, fy)], fill=colour, width=lw)
        d.ellipse([p(.46, .72), p(.54, .8)], fill=colour)
    elif name == "usb":
        d.rounded_rectangle([p(.3, .35), p(.7, .92)], radius=int(s * .06 * SCALE), outline=colour, width=lw)
        d.rectangle([p(.38, .08), p(.62, .35)], outline=colour, width=lw)
        d.rectangle([p(.43, .16), p(.47, .22)], fill=colour)
        d.rectangle([p(.53, .16), p(.57, .22)], fill=colour)
    elif name == "wand":
        d.line([p(.15, .85), p(.62, .38)], fill=colour, width=int(lw * 1.4))
        for a, b, c, e in ((.72, .1, .72, .3), (.62, .2, .82, .2), (.88, .36, .88, .5), (.81, .43, .95, .43)):
            d.line([p(a, b), p(c, e)], fill=colour, width=lw)


def _button_faces(kind, state):
    """(face top, face bottom, edge, ink, ring) of one button state."""
    P = PALETTE
    if state == "disabled":
        return P["disabled"], P["disabled"], mix(P["disabled"], P["ink_soft"], .25), P["disabled_ink"], None
    if kind == "primary":
        faces = {
            "normal": (P["brand_light"], P["brand"], P["brand_dark"], P["on_brand"], None),
            "selected": (P["brand_dark"], mix(P["brand_dark"], (0, 0, 0), .2), P["brand_dark"], P["on_brand"], None),
            "focused": (mix(P["brand_light"], P["accent"], .45), mix(P["brand"], P["accent"], .35), P["brand_dark"],
                        P["on_brand"], P["accent_light"]),
        }
    else:
        faces = {
            "normal": (P["secondary"], mix(P["secondary"], P["footer"], .9), P["secondary_edge"], P["ink"], None),
            "selected": (mix(P["footer"], P["secondary_edge"], .35), P["footer"], P["brand"], P["ink"], None),
            "focused": (mix(P["paper"], P["accent_light"], .22), mix(P["footer"], P["accent_light"], .3), P["accent"],
                        P["brand_dark"], P["accent"]),
        }
    return faces[state]


@functools.lru_cache(maxsize=None)
def _button_face(size, state, kind, backdrop, icon, icon_side, radius, icon_size):
    """The label-less picture of one button state, and where its label goes."""
    w, h = size
    top, bottom, edge, ink, ring = _button_faces(kind, state)
    shift = 1 if state == "selected" else 0
    big = _big(size, backdrop)
    if state not in ("selected", "disabled"):
        # soft drop shadow below the face
        shadow = Image.new("L", big.size, 0)
        ImageDraw.Draw(shadow).rounded_rectangle(_s((1, 2, w - 1, h)), radius=radius * SCALE, fill=70)
        shadow = shadow.filter(ImageFilter.BoxBlur(SCALE))
        big = Image.composite(Image.new("RGB", big.size, mix(backdrop, (0, 0, 0), .35)), big, shadow)
    face = _s((1 + shift, 1 + shift, w - 2 + shift, h - 3 + shift))
    grad = vertical_gradient((face[2] - face[0], face[3] - face[1]), top, bottom)
    mask = Image.new("L", big.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(face, radius=radius * SCALE, fill=255)
    layer = Image.new("RGB", big.size, top)
    layer.paste(grad, (face[0], face[1]))
    big = Image.composite(layer, big, mask)
    d = ImageDraw.Draw(big)
    d.rounded_rectangle(face, radius=radius * SCALE, outline=edge, width=SCALE)
    if ring:
        inner = [face[0] + 2 * SCALE, face[1] + 2 * SCALE, face[2] - 2 * SCALE, face[3] - 2 * SCALE]
        d.rounded_rectangle(inner, radius=(radius - 2) * SCALE, outline=ring, width=2 * SCALE)
    text_box = [8 + shift, 3 + shift, w - 8 + shift, h - 5 + shift]
    if icon:
        isz = icon_size or min(h - 18, 22)
        if icon_side == "left":
            ix = 12 + shift
            text_box[0] = ix + isz + 4
            iy = (h - 2 - isz) / 2 + shift
        elif icon_side == "top":
            ix = (w - isz) / 2 + shift
            iy = 12 + shift
            text_box[1] = iy + isz + 6
        else:
            ix = w - 12 - isz + shift
            text_box[2] = ix - 4
            iy = (h - 2 - isz) / 2 + shift
        draw_icon(d, icon, (ix, iy, isz), ink, width=2.0 if isz < 40 else 3.0)
    return _small(big, size), tuple(text_box), ink


def button(label, size=(140, 40), state="normal", kind="primary", backdrop=None, icon=None, icon_side="left",
           font_size=14, radius=7, icon_size=None, note=None):
    """One state picture of a push button.

    kind: "primary" (filled brand colour) or "secondary" (white face with an edge).
    backdrop: colour around the rounded corners (the colour of the page where the button sits).
    icon: a draw_icon name beside the label ("left", "right") or above it ("top"), or None.
    note: a smaller second text under the label (for large tiles), or None.
    The selected picture is darker and shifted one pixel down-right; the focused one has an accent ring;
    the disabled one is grey with grey text.
    """
    if state not in STATES:
        raise ValueError(state)
    backdrop = tuple(backdrop or PALETTE["footer"])
    img, box, ink = _button_face(tuple(size), state, kind, backdrop, icon, icon_side, radius, icon_size)
    img = img.copy()
    if icon and icon_side in ("left", "right") and not note:
        # Centre the label on the whole button when it fits beside the icon that way.
        w = size[0]
        margin = box[0] if icon_side == "left" else w - box[2]
        shift = 1 if state == "selected" else 0
        even = (margin, box[1], w - margin + 2 * shift, box[3])
        if fit_font(label, even[2] - even[0], even[3] - even[1], font_size, not is_cjk(label)).size == font_size:
            box = even
    if note:
        x0, y0, x1, y1 = box
        split = y0 + (y1 - y0) * 0.55
        draw_text(img, (x0, y0, x1, split), label, font_size, ink, bold=not is_cjk(label), valign="bottom")
        draw_text(img, (x0, split + 4, x1, y1), note, max(10, font_size * 2 // 3), ink, valign="top")
    else:
        draw_text(img, box, label, font_size, ink, bold=not is_cjk(label))
    return img


def button_states(label, size=(140, 40), **kw):
    """The four state pictures of one button: normal, selected, focused, disabled."""
    return {s: button(label, size, s, **kw) for s in STATES}


def draw_logo(img, x, y, height, colour=None):
    """The kit's mark: a small storage box with two drive bays and a status light, and the brand word."""
    colour = colour or PALETTE["on_brand"]
    h = height
    w = int(h * .78)
    region = (x - 2, y - 2, x + w + 3, y + h + 3)
    part = img.crop(region)
    big = part.resize((part.width * SCALE, part.height * SCALE), Image.NEAREST)
    d = ImageDraw.Draw(big)
    o = _s((2, 2, w + 2, h + 2))
    d.rounded_rectangle(o, radius=int(h * .14 * SCALE), outline=colour, width=2 * SCALE)
    for fy in (.3, .52):
        d.line(_s((2 + w * .2, 2 + h * fy, 2 + w * .8, 2 + h * fy)), fill=colour, width=2 * SCALE)
    d.ellipse(_s((2 + w * .42, 2 + h * .72, 2 + w * .58, 2 + h * .86)), fill=PALETTE["accent_light"])
    img.paste(_small(big, part.size), region[:2])
    draw_text(img, (x + w + 8, y, x + w + 120, y + h), "Dorvane", int(h * .62), colour, bold=True, align="left")


@functools.lru_cache(maxsize=None)
def _page_base(size, header, footer, logo):
    P = PALETTE
    w, h = size
    img = Image.new("RGB", size, P["paper"])
    img.paste(vertical_gradient((w, header), P["brand"], P["brand_light"]), (0, 0))
    # a gentle highlight arc on the header's right side; the page below it is drawn flat
    part = img.crop((int(w * .6), 0, w, header))
    big = part.resize((part.width * SCALE, part.height * SCALE), Image.NEAREST)
    d = ImageDraw.Draw(big)
    ox = int(w * .6)
    d.ellipse(_s((w * .62 - ox, -header * 1.6, w * 1.25 - ox, header * 0.95)),
              fill=mix(P["brand_light"], P["accent"], .35))
    d.ellipse(_s((w * .74 - ox, -header * 1.2, w * 1.35 - ox, header * 0.8)),
              fill=mix(P["brand_light"], P["accent"], .6))
    img.paste(_small(big, part.size), (ox, 0))
    d = ImageDraw.Draw(img)
    d.rectangle((0, header, w, header + 2), fill=P["accent"])
    if footer:
        d.rectangle((0, h - footer, w, h), fill=P["footer"])
        d.line((0, h - footer, w, h - footer), fill=P["footer_rule"])
    d.rectangle((0, 0, w - 1, h - 1), outline=P["brand_dark"])
    if logo:
        draw_logo(img, w - 150, 20, 30)
    return img


def page_background(size=(600, 375), title="", subtitle="", header=70, footer=72, logo=True, base=None):
    """A page picture: brand header band with title, white work area, grey footer band for the buttons.

    Labels and system controls are drawn on the work area, which is pure white so that the dialog's
    white control brush blends in. Buttons sit on the footer band (PALETTE["footer"]).
    base: a picture to draw the title on instead of the plain page (e.g. one with an illustration
    added), as made by page_background without a title.
    """
    P = PALETTE
    w, h = size
    img = (base or _page_base(tuple(size), header, footer, logo)).copy()
    text_right = w - 165 if logo else w - 20
    if title:
        if subtitle:
            draw_text(img, (22, 10, text_right, 42), title, 22, P["on_brand"], bold=True, align="left")
            draw_text(img, (22, 42, text_right, header - 6), subtitle, 13, mix(P["on_brand"], P["accent_light"], .4),
                      align="left")
        else:
            draw_text(img, (22, 8, text_right, header - 8), title, 22, P["on_brand"], bold=True, align="left")
    return img


def save_bmp(img, path):
    """Saves as an uncompressed 24-bit BMP, the form LoadImage reads from files."""
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    img.convert("RGB").save(path, "BMP")


_RUN = re.compile(rb"(.)\1*", re.S)


def _rle8_row(row):
    out = bytearray()
    lit = bytearray()

    def flush():
        if len(lit) >= 3:
            for i in range(0, len(lit), 255):
                part = lit[i:i + 255]
                if len(part) >= 3:
                    out.extend(bytes((0, len(part))) + part + (b"\0" if len(part) & 1 else b""))
                else:
                    for b in part:
                        out.extend((1, b))
        else:
            for b in lit:
                out.extend((1, b))
        lit.clear()

    for m in _RUN.finditer(row):
        n = m.end() - m.start()
        if n < 3:
            lit += m.group(0)
            continue
        flush()
        v = row[m.start()]
        while n:
            k = min(n, 255)
            out += bytes((k, v))
            n -= k
    flush()
    return out + b"\0\0"


def palette_of(img):
    """A 256-colour palette picture for img, to share among pictures that differ only in their texts."""
    q = img.convert("RGB").quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    # The flat colours of the scheme stay exact (the work area must match the dialog's white brush):
    # palette entries close to one become it, so the approximate colour matching cannot miss it.
    pal = q.getpalette()[:768]
    keys = (PALETTE["paper"], PALETTE["footer"], PALETTE["on_brand"], PALETTE["ink"])
    for i in range(0, len(pal), 3):
        for colour in keys:
            if all(abs(a - b) <= 8 for a, b in zip(pal[i:i + 3], colour)):
                pal[i:i + 3] = colour
    q.putpalette(pal)
    return q


def save_bmp_rle8(img, path, palette=None):
    """Saves as a run-length encoded 8-bit BMP (BI_RLE8): a small bitmap resource.

    The picture is reduced to 256 colours (those of palette, a palette_of picture, when given)
    without dithering, so flat areas stay runs. Resource
    compilers and the bitmap resource loaders take it; LoadImage with LR_CREATEDIBSECTION does not,
    so pictures read from files at run time use save_bmp.
    """
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    if palette is not None:
        q = img.convert("RGB").quantize(palette=palette, dither=Image.Dither.NONE)
    else:
        q = palette_of(img)
        q = img.convert("RGB").quantize(palette=q, dither=Image.Dither.NONE)
    w, h = q.size
    pal = (q.getpalette() or [])[:768]
    pal += [0] * (768 - len(pal))
    colours = b"".join(bytes((pal[i + 2], pal[i + 1], pal[i], 0)) for i in range(0, 768, 3))
    raw = q.tobytes()
    data = bytearray()
    for y in range(h - 1, -1, -1):
        data += _rle8_row(raw[y * w:(y + 1) * w])
    data[-2:] = b"\0\1"  # the last end of line becomes the end of the bitmap
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 1, len(data), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(colours)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset))
        f.write(info + colours + data)


if __name__ == "__main__":
    import sys
    out = sys.argv[1] if len(sys.argv) > 1 else "kitstyle-sample.png"
    sheet = page_background((600, 375), "Quick setup", "Enter the settings of the device")
    for i, s in enumerate(STATES):
        sheet.paste(button("Next", (140, 40), s, icon="next", icon_side="right"), (15 + i * 145, 315))
        sheet.paste(button("戻る", (140, 40), s, kind="secondary", icon="back"), (15 + i * 145, 100))
    sheet.save(out)
