# Draws the setup wizard's page backgrounds and button pictures in four languages, and the rc include naming them.
"""Usage: wizard.py OUTDIR

Writes OUTDIR/<language id>/<bitmap id>.bmp for every page background and button picture of the
setup wizard, and OUTDIR/wizard_bitmaps.rc, which gives each language's pictures under its own
LANGUAGE statement. Pellgrove.rc includes that file.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kitstyle as ks  # noqa: E402

PAGE = (600, 375)
BUTTON = (140, 44)
TILE = (200, 150)
# Top of the footer band: below the lowest control of the page, above its buttons.
FOOTER_TOP = 311        # buttons at y 315
FOOTER_TOP_LOW = 316    # USB-stick pages with controls down to y 313 and buttons at y 322

LANGUAGES = {  # resource language id: (rc LANGUAGE statement, index into the text tuples)
    1033: ("LANG_ENGLISH, SUBLANG_ENGLISH_US", 0),
    1041: ("LANG_JAPANESE, SUBLANG_DEFAULT", 1),
    1028: ("LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL", 2),
    2052: ("LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED", 3),
}

# Texts: English, Japanese, Traditional Chinese, Simplified Chinese.
T = {
    "menu": ("Welcome to Dorvane setup", "Dorvane セットアップへようこそ", "歡迎使用 Dorvane 設定", "欢迎使用 Dorvane 设置"),
    "menu_sub": ("Choose what you want to do", "実行する項目を選んでください", "請選擇要執行的項目", "请选择要执行的项目"),
    "menu_usb": ("Setup with a USB drive", "USB メモリーでセットアップ", "使用 USB 隨身碟設定", "使用 U 盘设置"),
    "menu_usb_sub": ("Prepare the settings on a USB drive for the device",
                     "製品に挿す USB メモリーに設定を用意します", "在 USB 隨身碟上準備裝置的設定", "在 U 盘上准备设备的设置"),
    "adapter": ("Choose a network adapter", "ネットワークアダプターの選択", "選擇網路介面卡", "选择网络适配器"),
    "adapter_sub": ("Select the adapter on the device's network", "製品と同じネットワークのアダプターを選んでください",
                    "請選擇連接裝置所在網路的介面卡", "请选择连接设备所在网络的适配器"),
    "end": ("Setup is complete", "セットアップ完了", "設定完成", "设置完成"),
    "end_sub": ("Your device is ready to use", "製品をご利用いただけます", "裝置已可使用", "设备已可使用"),
    "settings": ("Device settings", "製品の設定", "裝置設定", "设备设置"),
    "settings_sub": ("Enter the name and network settings of the device", "製品の名前とネットワークを設定します",
                     "請輸入裝置的名稱與網路設定", "请输入设备的名称和网络设置"),
    "settings_usb_sub": ("These settings will be written to the USB drive", "この設定を USB メモリーに書き込みます",
                         "這些設定將寫入 USB 隨身碟", "这些设置将写入 U 盘"),
    "confirm": ("Confirm the settings", "設定内容の確認", "確認設定", "确认设置"),
    "confirm_sub": ("Check the settings, then click Finish", "内容を確認して「完了」をクリックしてください",
                    "確認設定後，請按一下「完成」", "确认设置后，请单击“完成”"),
    "close": ("Close", "閉じる", "關閉", "关闭"),
    "folder": ("Open folder", "フォルダーを開く", "開啟資料夾", "打开文件夹"),
    "support": ("Support software", "サポートソフト", "支援軟體", "支持软件"),
    "ok": ("OK", "OK", "確定", "确定"),
    "back": ("Back", "戻る", "返回", "返回"),
    "edit": ("Edit settings", "設定を変更", "變更設定", "更改设置"),
    "finish": ("Finish", "完了", "完成", "完成"),
    "quick": ("Quick setup", "かんたん設定", "快速設定", "快速设置"),
    "quick_note": ("Name, network and clock", "名前・ネットワーク・時刻", "名稱、網路與時間", "名称、网络和时间"),
    "quick_usb_note": ("Settings onto a USB drive", "設定を USB メモリーへ", "將設定寫入 USB 隨身碟", "将设置写入 U 盘"),
}

STATE_ORDER = ("normal", "selected", "focused", "disabled")

# Buttons: (normal, selected, focused, disabled) ids, text key, kind, icon, icon side.
BUTTONS = [
    ((138, 139, 140, 141), "close", "secondary", "close", "left"),
    ((148, 150, 152, 154), "folder", "secondary", "folder", "left"),
    ((155, 157, 159, 161), "support", "secondary", "disc", "left"),
    ((163, 164, 165, 166), "ok", "primary", "check", "right"),
    ((167, 168, 169, 170), "back", "secondary", "back", "left"),
    ((171, 172, 173, 174), "edit", "secondary", "gear", "left"),
    ((175, 176, 177, 178), "finish", "primary", "check", "right"),
]
# The main menu's quick-setup tiles; the USB-stick set shares the disabled picture 203.
TILES = [
    ((202, 205, 204, 203), "quick", "quick_note", "wand"),
    ((231, 233, 232, None), "quick", "quick_usb_note", "usb"),
]
# Backgrounds: id, title key, subtitle key, footer top, illustration.
PAGES = [
    (134, "menu", "menu_sub", FOOTER_TOP, None),
    (230, "menu_usb", "menu_usb_sub", FOOTER_TOP, None),
    (135, "adapter", "adapter_sub", FOOTER_TOP, "network"),
    (258, "end", "end_sub", FOOTER_TOP, "done"),
    (226, "settings", "settings_sub", FOOTER_TOP, None),
    (224, "settings", "settings_usb_sub", FOOTER_TOP_LOW, None),
    (214, "confirm", "confirm_sub", FOOTER_TOP, None),
    (228, "confirm", "settings_usb_sub", FOOTER_TOP_LOW, None),
]


def illustrate(img, kind):
    """A quiet picture in the left part of pages whose controls leave it free."""
    from PIL import ImageDraw
    P = ks.PALETTE
    big = img.resize((img.width * ks.SCALE, img.height * ks.SCALE), ks.Image.NEAREST)
    d = ImageDraw.Draw(big)
    s = ks.SCALE
    if kind == "done":  # end page: a large tick in a ring, texts start at x 300
        cx, cy, r = 150, 190, 78
        d.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s], fill=ks.mix(P["paper"], P["accent"], .12))
        r2 = 60
        d.ellipse([(cx - r2) * s, (cy - r2) * s, (cx + r2) * s, (cy + r2) * s], fill=P["accent"])
        ks.draw_icon(d, "check", (cx - 36, cy - 36, 72), P["on_brand"], width=9)
    elif kind == "network":  # adapter page: a PC and the device joined by a line, controls start at x 237
        ink = ks.mix(P["brand"], P["paper"], .15)
        soft = ks.mix(P["paper"], P["accent"], .12)
        d.rounded_rectangle([20 * s, 95 * s, 220 * s, 285 * s], radius=14 * s, fill=soft)
        d.rounded_rectangle([40 * s, 130 * s, 120 * s, 185 * s], radius=4 * s, outline=ink, width=3 * s)
        d.line([80 * s, 185 * s, 80 * s, 200 * s], fill=ink, width=3 * s)
        d.line([62 * s, 200 * s, 98 * s, 200 * s], fill=ink, width=3 * s)
        ks.draw_icon(d, "device", (145, 185, 64), ink, width=3)
        d.line([80 * s, 215 * s, 80 * s, 250 * s, 177 * s, 250 * s], fill=P["accent"], width=3 * s, joint="curve")
        d.line([177 * s, 250 * s, 177 * s, 249 * s], fill=P["accent"], width=3 * s)
        for x in (80, 128, 177):
            d.ellipse([(x - 5) * s, 245 * s, (x + 5) * s, 255 * s], fill=P["accent"])
    return big.reduce(ks.SCALE)


def render(out):
    pictures = {lang: {} for lang in LANGUAGES}
    bases = {}
    palettes = {}  # pages share one palette across languages: quantizing a page is slow
    for lang, (_, i) in LANGUAGES.items():
        for pid, title, sub, footer_top, art in PAGES:
            key = (footer_top, art)
            if key not in bases:
                bases[key] = ks.page_background(PAGE, footer=PAGE[1] - footer_top)
                if art:
                    bases[key] = illustrate(bases[key], art)
            pictures[lang][pid] = ks.page_background(PAGE, T[title][i], T[sub][i], base=bases[key])
            if pid not in palettes:
                palettes[pid] = ks.palette_of(pictures[lang][pid])
        for ids, key, kind, icon, side in BUTTONS:
            for pid, state in zip(ids, STATE_ORDER):
                pictures[lang][pid] = ks.button(T[key][i], BUTTON, state, kind=kind, icon=icon, icon_side=side)
        for ids, key, note, icon in TILES:
            for pid, state in zip(ids, STATE_ORDER):
                if pid is None:
                    continue
                pictures[lang][pid] = ks.button(T[key][i], TILE, state, kind="primary", backdrop=ks.PALETTE["paper"],
                                                icon=icon, icon_side="top", icon_size=48, font_size=20, radius=12,
                                                note=T[note][i])
    lines = ["// Generated by tools/artwork/wizard.py: the wizard's page and button pictures per language."]
    for lang, (statement, _) in LANGUAGES.items():
        lines.append("")
        lines.append("LANGUAGE " + statement)
        for pid in sorted(pictures[lang]):
            path = os.path.join(out, str(lang), "%d.bmp" % pid)
            ks.save_bmp_rle8(pictures[lang][pid], path, palettes.get(pid))
            lines.append('%d BITMAP "%s"' % (pid, path.replace("\\", "/")))
    with open(os.path.join(out, "wizard_bitmaps.rc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    render(os.path.abspath(sys.argv[1]))
