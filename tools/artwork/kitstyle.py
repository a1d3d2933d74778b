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
import os
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


def draw_text(img, box, text, size, colour, bold=False, align="center", valign="center", shadow=None):
    """Draws text fitted into box (x0, y0, x1, y1), shrinking the font until it fits."""
    x0, y0, x1, y1 = box
    f = fit_font(text, x1 - x0, y1 - y0, size, bold)
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


def button(label, size=(140, 40), state="normal", kind="primary", backdrop=None, icon=None, icon_side="left",
           font_size=14, radius=7):
    """One state picture of a push button.

    kind: "primary" (filled brand colour) or "secondary" (white face with an edge).
    backdrop: colour around the rounded corners (the colour of the page where the button sits).
    icon: a draw_icon name shown beside the label, or None.
    The selected picture is darker and shifted one pixel down-right; the focused one has an accent ring;
    the disabled one is grey with grey text.
    """
    if state not in STATES:
        raise ValueError(state)
    backdrop = backdrop or PALETTE["footer"]
    w, h = size
    top, bottom, edge, ink, ring = _button_faces(kind, state)
    shift = 1 if state == "selected" else 0

    big = _big(size, backdrop)
    d = ImageDraw.Draw(big)
    if state not in ("selected", "disabled"):
        # soft drop shadow below the face
        shadow = Image.new("L", big.size, 0)
        ImageDraw.Draw(shadow).rounded_rectangle(_s((1, 2, w - 1, h)), radius=radius * SCALE, fill=70)
        shadow = shadow.filter(ImageFilter.GaussianBlur(SCALE * 1.2))
        big = Image.composite(Image.new("RGB", big.size, mix(backdrop, (0, 0, 0), .35)), big, shadow)
        d = ImageDraw.Draw(big)
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
        isz = min(h - 18, 22)
        if icon_side == "left":
            ix = 12 + shift
            text_box[0] = ix + isz + 4
        else:
            ix = w - 12 - isz + shift
            text_box[2] = ix - 4
        draw_icon(d, icon, (ix, (h - 2 - isz) / 2 + shift, isz), ink)
    img = _small(big, size)
    draw_text(img, tuple(text_box), label, font_size, ink, bold=not is_cjk(label))
    return img


def button_states(label, size=(140, 40), **kw):
    """The four state pictures of one button: normal, selected, focused, disabled."""
    return {s: button(label, size, s, **kw) for s in STATES}


def draw_logo(img, x, y, height, colour=None):
    """The kit's mark: a small storage box with two drive bays and a status light, and the brand word."""
    colour = colour or PALETTE["on_brand"]
    h = height
    w = int(h * .78)
    big = img.resize((img.width * SCALE, img.height * SCALE), Image.NEAREST)
    d = ImageDraw.Draw(big)
    d.rounded_rectangle(_s((x, y, x + w, y + h)), radius=int(h * .14 * SCALE), outline=colour, width=2 * SCALE)
    for fy in (.3, .52):
        d.line(_s((x + w * .2, y + h * fy, x + w * .8, y + h * fy)), fill=colour, width=2 * SCALE)
    d.ellipse(_s((x + w * .42, y + h * .72, x + w * .58, y + h * .86)), fill=PALETTE["accent_light"])
    small = _small(big, img.size)
    region = (x - 2, y - 2, x + w + 3, y + h + 3)
    img.paste(small.crop(region), region[:2])
    draw_text(img, (x + w + 8, y, x + w + 120, y + h), "Dorvane", int(h * .62), colour, bold=True, align="left")


def page_background(size=(600, 375), title="", subtitle="", header=70, footer=72, logo=True):
    """A page picture: brand header band with title, white work area, grey footer band for the buttons.

    Labels and system controls are drawn on the work area, which is pure white so that the dialog's
    white control brush blends in. Buttons sit on the footer band (PALETTE["footer"]).
    """
    P = PALETTE
    w, h = size
    img = Image.new("RGB", size, P["paper"])
    img.paste(vertical_gradient((w, header), P["brand"], P["brand_light"]), (0, 0))
    # accent rule under the header and a gentle highlight arc on its right side
    big = img.resize((w * SCALE, h * SCALE), Image.NEAREST)
    d = ImageDraw.Draw(big)
    d.ellipse(_s((w * .62, -header * 1.6, w * 1.25, header * 0.95)), fill=mix(P["brand_light"], P["accent"], .35))
    d.ellipse(_s((w * .74, -header * 1.2, w * 1.35, header * 0.8)), fill=mix(P["brand_light"], P["accent"], .6))
    d.rectangle(_s((0, header, w, h)), fill=P["paper"])
    d.rectangle(_s((0, header, w, header + 3)), fill=P["accent"])
    if footer:
        d.rectangle(_s((0, h - footer, w, h)), fill=P["footer"])
        d.rectangle(_s((0, h - footer, w, h - footer + 0.5)), fill=P["footer_rule"])
    img = _small(big, size)
    ImageDraw.Draw(img).rectangle((0, 0, w - 1, h - 1), outline=P["brand_dark"])
    if logo:
        draw_logo(img, w - 150, 20, 30)
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
    """Saves as an uncompressed 24-bit BMP, the form resource compilers and LoadImage read."""
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    img.convert("RGB").save(path, "BMP")


if __name__ == "__main__":
    import sys
    out = sys.argv[1] if len(sys.argv) > 1 else "kitstyle-sample.png"
    sheet = page_background((600, 375), "Quick setup", "Enter the settings of the device")
    for i, s in enumerate(STATES):
        sheet.paste(button("Next", (140, 40), s, icon="next", icon_side="right"), (15 + i * 145, 315))
        sheet.paste(button("戻る", (140, 40), s, kind="secondary", icon="back"), (15 + i * 145, 100))
    sheet.save(out)
