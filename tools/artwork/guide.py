# Draws the setup guide's picture folder: background, buttons, step bars, guide pictures, animations.
"""Usage: python3 guide.py OUTDIR [PAGES]

Writes OUTDIR/Marrowick/ with BASE.bmp, the twelve BUTTON_*.bmp, and for n = 1..PAGES (20) the
pictures STEPn.bmp (598 x 30), GUIDEn.bmp (280 x 250) and GUIDE_Cn.gif (294 x 274, animated).
The look comes from kitstyle, shared with the rest of the kit.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kitstyle as ks  # noqa: E402
from PIL import Image, ImageDraw  # noqa: E402

P = ks.PALETTE
W, H = 600, 380
SC = 3  # drawing scale of the illustrations

STEPS = ["Prepare", "Connect", "Power on", "Find", "Done"]

# page: (step index, title, two lines of text, animation kind)
PAGES = [
    (0, "Welcome", "This guide puts your Dorvane\non the network in five steps.", "blink"),
    (0, "What you need", "The device, a LAN cable and\na router with a free port.", "appear"),
    (0, "Unplug the USB cable", "Setup is finished on the PC:\nunplug the device now.", "unplug"),
    (0, "Find a place", "Put the device near the router\non a flat, airy surface.", "slide"),
    (1, "LAN cable to the device", "Plug the LAN cable into the\nport on the back of the device.", "plug"),
    (1, "LAN cable to the router", "Plug the other end into a\nfree port of the router.", "plug_router"),
    (1, "Power adapter", "Connect the power adapter\nand plug it into the outlet.", "plug_power"),
    (1, "Check the cables", "Both plugs must click into\nplace. Pull gently to check.", "check_cables"),
    (2, "Press the power button", "Press the button on the front\nonce, briefly.", "press"),
    (2, "Wait for the light", "The status light blinks while\nthe device starts (about 1 min).", "blink"),
    (2, "Ready", "The status light stays on\nwhen the device is ready.", "steady"),
    (2, "Network link", "The light at the LAN port\nflickers while data flows.", "flicker"),
    (3, "Desktop shortcut", "Double-click the Dorvane\nshortcut on your desktop.", "click"),
    (3, "Searching", "The finder searches your\nnetwork for the device.", "waves"),
    (3, "Device found", "The finder shows your device\nwith its name and address.", "found"),
    (3, "Setting page", "The device's setting page\nopens in your web browser.", "browser"),
    (4, "Shared folders", "The shortcut for shared folders\nopens the device's folders.", "folder"),
    (4, "Copy files", "Copy files to the shared\nfolders as to any other drive.", "files"),
    (4, "Switch off safely", "Hold the power button for\n3 seconds to switch off.", "press_long"),
    (4, "All done", "Your Dorvane is ready on the\nnetwork. Press Finish.", "check"),
]


def big(size, colour=None):
    return Image.new("RGB", (size[0] * SC, size[1] * SC), colour or P["paper"])


def small(img, size):
    return img.resize(size, Image.LANCZOS)


def s(*v):
    return [int(round(x * SC)) for x in v]


# ---- scene pieces, drawn on a SC-times canvas in 1x coordinates ----

def device(d, x, y, light=P["accent_light"], link=None, w=70, h=92):
    d.rounded_rectangle(s(x, y, x + w, y + h), radius=8 * SC, fill=(58, 66, 78), outline=(30, 36, 44), width=SC)
    for fy in (0.22, 0.4):
        d.rounded_rectangle(s(x + 10, y + h * fy, x + w - 10, y + h * fy + 8), radius=2 * SC, fill=(88, 98, 112))
    d.ellipse(s(x + w / 2 - 5, y + h * 0.72, x + w / 2 + 5, y + h * 0.72 + 10), fill=light)
    d.text((x + 8, y + h - 16), "", fill=P["on_brand"])
    if link:
        d.rectangle(s(x + w - 6, y + h - 30, x + w, y + h - 22), fill=link)


def port(d, x, y):
    d.rectangle(s(x, y, x + 14, y + 10), fill=(30, 36, 44))


def router(d, x, y, w=90, h=34, lights=(P["accent_light"],) * 4):
    d.line(s(x + 16, y, x + 8, y - 24), fill=(58, 66, 78), width=3 * SC)
    d.line(s(x + w - 16, y, x + w - 8, y - 24), fill=(58, 66, 78), width=3 * SC)
    d.rounded_rectangle(s(x, y, x + w, y + h), radius=6 * SC, fill=(232, 236, 240), outline=(120, 132, 146), width=SC)
    for i, c in enumerate(lights):
        d.ellipse(s(x + 14 + i * 18, y + 12, x + 22 + i * 18, y + 20), fill=c)


def pc(d, x, y, screen=None, w=96, h=66):
    d.rounded_rectangle(s(x, y, x + w, y + h), radius=4 * SC, fill=(58, 66, 78))
    d.rectangle(s(x + 6, y + 6, x + w - 6, y + h - 6), fill=screen or P["brand_light"])
    d.polygon(s(x + w / 2 - 12, y + h, x + w / 2 + 12, y + h, x + w / 2 + 18, y + h + 14, x + w / 2 - 18, y + h + 14),
              fill=(88, 98, 112))


def cable(d, pts, colour=P["accent"]):
    d.line(s(*[c for p in pts for c in p]), fill=colour, width=4 * SC, joint="curve")


def plug(d, x, y, colour=P["accent"]):
    d.rectangle(s(x, y - 7, x + 18, y + 7), fill=colour)
    d.rectangle(s(x + 18, y - 4, x + 24, y + 4), fill=(200, 205, 210))


def finger(d, x, y):
    d.rounded_rectangle(s(x - 9, y, x + 9, y + 46), radius=9 * SC, fill=(241, 194, 160), outline=(190, 140, 110),
                        width=SC)
    d.rounded_rectangle(s(x - 6, y + 3, x + 6, y + 12), radius=3 * SC, fill=(250, 228, 214))


def pointer(d, x, y):
    d.polygon(s(x, y, x, y + 24, x + 7, y + 18, x + 12, y + 28, x + 16, y + 26, x + 11, y + 16, x + 19, y + 16),
              fill=P["paper"], outline=P["ink"])


def check(d, cx, cy, r, t=1.0, colour=P["accent"]):
    d.ellipse(s(cx - r, cy - r, cx + r, cy + r), outline=colour, width=4 * SC)
    pts = [(cx - r * .45, cy + r * .02), (cx - r * .1, cy + r * .38), (cx + r * .5, cy - r * .35)]
    if t <= 0:
        return
    if t < .5:
        a, b = pts[0], pts[1]
        f = t / .5
        pts = [a, (a[0] + (b[0] - a[0]) * f, a[1] + (b[1] - a[1]) * f)]
    elif t < 1:
        a, b, c = pts
        f = (t - .5) / .5
        pts = [a, b, (b[0] + (c[0] - b[0]) * f, b[1] + (c[1] - b[1]) * f)]
    cable(d, pts, colour)


def folder(d, x, y, w=70, h=52, colour=(246, 196, 84)):
    d.polygon(s(x, y, x + w * .4, y, x + w * .48, y + 8, x + w, y + 8, x + w, y + h, x, y + h), fill=colour,
              outline=(196, 150, 50))


def doc(d, x, y, colour=P["paper"]):
    d.polygon(s(x, y, x + 22, y, x + 30, y + 8, x + 30, y + 38, x, y + 38), fill=colour, outline=P["ink_soft"])
    for i in range(3):
        d.line(s(x + 5, y + 14 + i * 7, x + 25, y + 14 + i * 7), fill=P["ink_soft"], width=SC)


# ---- animations: kind -> list of (frame image 294 x 274, delay in 1/100 s) ----

AW, AH = 294, 274


def frame_base():
    img = big((AW, AH), P["paper"])
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(s(2, 2, AW - 3, AH - 3), radius=12 * SC, fill=(244, 247, 250), outline=P["footer_rule"],
                        width=SC)
    return img, d


def anim_frames(kind):
    frames = []

    def add(img, delay=40):
        frames.append((small(img, (AW, AH)), delay))

    light_on, light_off = P["accent_light"], (70, 80, 92)
    if kind in ("blink", "steady", "flicker"):
        for i in range(6):
            img, d = frame_base()
            on = True if kind == "steady" and i >= 3 else i % 2 == 0
            link = None
            if kind == "flicker":
                link = (120, 220, 90) if i % 3 else (40, 120, 40)
                on = True
            device(d, 112, 80, light_on if on else light_off, link, w=70, h=110)
            add(img, 50 if kind != "flicker" else 15)
    elif kind == "appear":
        for i in range(4):
            img, d = frame_base()
            if i >= 1:
                device(d, 24, 110, w=56, h=80)
            if i >= 2:
                cable(d, [(110, 190), (130, 140), (160, 190), (180, 150)])
            if i >= 3:
                router(d, 190, 150, w=84)
            add(img, 70)
    elif kind in ("plug", "plug_router", "plug_power", "unplug", "slide"):
        steps = 6
        for i in range(steps):
            t = i / (steps - 1)
            if kind == "unplug":
                t = 1 - t
            img, d = frame_base()
            if kind == "slide":
                x = 20 + 90 * t
                device(d, x, 100, w=60, h=90)
                router(d, 200, 160, w=80)
                d.line(s(14, 200, 280, 200), fill=P["footer_rule"], width=2 * SC)
            else:
                target_x = 176
                if kind == "plug_router":
                    router(d, 150, 140, w=120)
                    port(d, 176, 180)
                    target_x = 150
                    py = 185
                else:
                    device(d, 180, 80, w=80, h=120)
                    port(d, 178, 150)
                    py = 155
                colour = (60, 60, 60) if kind == "plug_power" else P["accent"]
                x = 30 + (target_x - 24 - 30) * t
                cable(d, [(10, py + 40), (x - 20, py + 40), (x, py)], colour)
                plug(d, x, py, colour)
            add(img, 30 if i < steps - 1 else 120)
    elif kind == "check_cables":
        for i in range(4):
            img, d = frame_base()
            device(d, 30, 90, w=66, h=100)
            router(d, 180, 150, w=90)
            cable(d, [(96, 160), (140, 160), (140, 190), (184, 190)])
            if i >= 1:
                check(d, 70, 60, 16, 1.0)
            if i >= 2:
                check(d, 225, 110, 16, 1.0)
            add(img, 60)
    elif kind in ("press", "press_long"):
        for i in range(6):
            img, d = frame_base()
            device(d, 110, 60, light_on if (i >= 3 and kind == "press") else light_off, w=76, h=150)
            d.ellipse(s(140, 170, 156, 186), fill=(200, 205, 210), outline=(30, 36, 44), width=SC)
            down = i in (2, 3) if kind == "press" else i >= 2
            finger(d, 148, 186 if down else 206)
            add(img, 40 if kind == "press" else 60)
    elif kind == "click":
        for i in range(5):
            img, d = frame_base()
            d.rectangle(s(14, 14, AW - 15, AH - 15), fill=(46, 110, 150))
            sel = i in (2, 3)
            d.rounded_rectangle(s(110, 90, 170, 150), radius=6 * SC, fill=P["brand_light"] if sel else (46, 110, 150))
            device(d, 124, 98, w=32, h=44)
            pointer(d, 150 + (20 if i == 0 else 0), 130 + (20 if i == 0 else 0))
            add(img, 35)
    elif kind == "waves":
        for i in range(6):
            img, d = frame_base()
            pc(d, 20, 100, w=90, h=62)
            device(d, 210, 90, w=56, h=84)
            for k in range(3):
                r = 24 + ((i * 12 + k * 30) % 90)
                col = ks.mix(P["accent"], (244, 247, 250), r / 130)
                d.arc(s(100 - r, 130 - r, 100 + r, 130 + r), -40, 40, fill=col, width=3 * SC)
            add(img, 12)
    elif kind in ("found", "browser"):
        for i in range(4):
            img, d = frame_base()
            d.rounded_rectangle(s(24, 40, 270, 230), radius=6 * SC, fill=P["paper"], outline=P["ink_soft"], width=SC)
            d.rectangle(s(24, 40, 270, 62), fill=P["brand"])
            if kind == "found":
                for r in range(min(i, 3)):
                    d.rectangle(s(34, 74 + r * 34, 260, 100 + r * 34),
                                fill=P["accent_light"] if r == 0 else (236, 240, 244))
                    device(d, 40, 77 + r * 34, w=14, h=20)
            else:
                d.rectangle(s(34, 72, 260, 86), fill=(236, 240, 244))
                for r in range(min(i + 1, 4)):
                    d.rectangle(s(34, 100 + r * 30, 34 + 60 + 40 * r, 116 + r * 30), fill=ks.mix(P["brand_light"], P["paper"], .5))
            add(img, 60)
    elif kind in ("folder", "files"):
        for i in range(6):
            img, d = frame_base()
            if kind == "folder":
                pc(d, 24, 40, w=110, h=80)
                device(d, 200, 90, w=60, h=100)
                if i >= 1:
                    folder(d, 40 + i * 6, 150, colour=(246, 196, 84))
                check(d, 230, 50, 16, min(1.0, i / 4)) if i >= 3 else None
            else:
                pc(d, 20, 60, w=96, h=66)
                device(d, 206, 80, w=60, h=100)
                x = 40 + 150 * (i / 5)
                doc(d, x, 160 - 40 * (1 - abs(i / 2.5 - 1)))
            add(img, 30)
    elif kind == "check":
        for i in range(6):
            img, d = frame_base()
            check(d, AW / 2, AH / 2, 70, i / 4)
            add(img, 15 if i < 5 else 150)
    else:
        raise ValueError(kind)
    return frames


def save_gif(frames, path):
    # One palette for all frames, so that a frame holds only the area that changed.
    sheet = Image.new("RGB", (AW * len(frames), AH))
    for i, (f, _) in enumerate(frames):
        sheet.paste(f, (i * AW, 0))
    pal = sheet.quantize(colors=48)
    imgs = [f.quantize(palette=pal, dither=Image.Dither.NONE) for f, _ in frames]
    imgs[0].save(path, save_all=True, append_images=imgs[1:], duration=[dl * 10 for _, dl in frames], loop=0,
                 optimize=False, disposal=1)


# ---- still pictures ----

def step_bar(current):
    img = Image.new("RGB", (598, 30), P["paper"])
    d = ImageDraw.Draw(img)
    seg = 598 / len(STEPS)
    for i, name in enumerate(STEPS):
        x0, x1 = int(i * seg) + 2, int((i + 1) * seg) - 2
        if i < current:
            fill, ink = ks.mix(P["accent_light"], P["paper"], .55), P["brand_dark"]
        elif i == current:
            fill, ink = P["brand"], P["on_brand"]
        else:
            fill, ink = P["footer"], P["ink_soft"]
        d.polygon([(x0, 2), (x1 - 8, 2), (x1, 15), (x1 - 8, 27), (x0, 27), (x0 + (8 if i else 0), 15)], fill=fill)
        ks.draw_text(img, (x0 + 12, 3, x1 - 10, 27), "%d  %s" % (i + 1, name), 12, ink, bold=i == current)
    return img


def guide_picture(n, step, title, text):
    img = Image.new("RGB", (280, 250), P["paper"])
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((0, 0, 279, 249), radius=10, fill=(244, 247, 250), outline=P["footer_rule"])
    d.ellipse((14, 14, 46, 46), fill=P["brand"])
    ks.draw_text(img, (14, 14, 46, 46), str(n), 15, P["on_brand"], bold=True)
    ks.draw_text(img, (56, 12, 268, 48), title, 17, P["brand_dark"], bold=True, align="left")
    d.line((14, 58, 266, 58), fill=P["accent"], width=2)
    ks.draw_text(img, (16, 68, 266, 120), text, 13, P["ink"], align="left", valign="top")
    ks.draw_text(img, (16, 210, 266, 236), "Step %d of %d: %s" % (step + 1, len(STEPS), STEPS[step]), 11,
                 P["ink_soft"], align="left")
    # a small map of the five steps: done, current, to come
    for i in range(len(STEPS)):
        cx = 30 + i * 52
        col = P["accent"] if i < step else P["brand"] if i == step else P["disabled"]
        d.ellipse((cx - 9, 162, cx + 9, 180), fill=col)
        if i < len(STEPS) - 1:
            d.line((cx + 12, 171, cx + 40, 171), fill=P["footer_rule"], width=2)
    return img


def background():
    img = ks.page_background((W, H), "", "", header=40, footer=0, logo=False)
    ks.draw_logo(img, 14, 7, 26)
    ks.draw_text(img, (160, 6, W - 14, 34), "Setup guide", 17, P["on_brand"], bold=True, align="right")
    return img


def save_bmp8(img, path):
    img.convert("P", palette=Image.ADAPTIVE, colors=256).save(path, "BMP")


def main():
    out = os.path.join(sys.argv[1] if len(sys.argv) > 1 else ".", "Marrowick")
    pages = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    os.makedirs(out, exist_ok=True)
    ks.save_bmp(background(), os.path.join(out, "BASE.bmp"))
    for name, label, kind, icon, side in (("NEXT", "Next", "primary", "next", "right"),
                                          ("EXIT", "Finish", "primary", "check", "left"),
                                          ("CANCEL", "Back", "secondary", "back", "left")):
        pics = ks.button_states(label, (130, 40), kind=kind, icon=icon, icon_side=side, backdrop=P["paper"])
        for state, suffix in (("normal", ""), ("selected", "_SEL"), ("focused", "_FOCUS"), ("disabled", "_DISABLED")):
            ks.save_bmp(pics[state], os.path.join(out, "BUTTON_%s%s.bmp" % (name, suffix)))
    for n, (step, title, text, kind) in enumerate(PAGES[:pages], 1):
        save_bmp8(step_bar(step), os.path.join(out, "STEP%d.bmp" % n))
        save_bmp8(guide_picture(n, step, title, text), os.path.join(out, "GUIDE%d.bmp" % n))
        save_gif(anim_frames(kind), os.path.join(out, "GUIDE_C%d.gif" % n))


if __name__ == "__main__":
    main()
