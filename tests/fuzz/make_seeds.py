#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets from the device simulator's own datagram builders."""
import importlib.util
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
module_spec = importlib.util.spec_from_file_location("devsim", os.path.join(ROOT, "tools", "devsim", "devsim.py"))
devsim = importlib.util.module_from_spec(module_spec)
module_spec.loader.exec_module(devsim)

PC_MAC = bytes.fromhex("020000aabbcc")
CODES = {1: 0, 2: 1, 4: 2, 5: 3, 6: 4, 7: 5}  # receive code -> the harness's selector byte


def simulator(devices):
    # Only the answer builders are used: no socket is made.
    sim = object.__new__(devsim.Simulator)
    sim.devices = [devsim.Device(d, i) for i, d in enumerate(devices)]
    sim.faults = {}
    return sim


def request(op, seq, dev_mac=bytes(6), text=b"", auth=b"", extra=b""):
    p = bytearray(devsim.PACKET)
    p[0] = op
    p[1:5] = struct.pack(">I", seq)
    p[8:14] = PC_MAC
    p[28:34] = dev_mac
    p[34:34 + len(text)] = text
    if extra:  # the advanced-data block in place of the text
        p[34:34 + len(extra)] = extra
    p[99:99 + len(auth)] = auth
    p[115:115 + len(devsim.VENDOR)] = devsim.VENDOR
    return bytes(p)


def answer_seed(code, seq, flag, datagrams):
    head = bytes([CODES[code]]) + struct.pack(">I", seq) + PC_MAC + bytes([flag])
    return head + b"".join(bytes([len(d)]) + d for d in datagrams)


def tavik_seeds():
    devices = [
        {"mac": "00:0D:0B:00:00:01", "name": "NAS-ONE", "password": "pw", "modes": [1, 2, 772]},
        {"mac": "00:0D:0B:00:00:02", "kind": 4, "password": "pw", "static": True, "ip": "10.9.8.7"},
        {"mac": "00:0D:0B:00:00:03", "kind": 2, "name": "L" * 70, "state2": True},
        {"mac": "00:0D:0B:00:00:04", "kind": 3, "logged_on_from": "02:00:00:AA:BB:CC"},
    ]
    sim = simulator(devices)
    mac = sim.devices[0].mac
    seeds = {}
    answers = [d for _, d in sim.handle(request(0, 7, text=b"FROM-PC"), None)]
    seeds["search"] = answer_seed(1, 7, 0, answers + answers[:1] + [answers[0][:100]])
    seeds["logon_ok"] = answer_seed(2, 8, 0, [d for _, d in sim.handle(request(3, 8, mac, b"NAS-ONE", b"pw"), None)])
    seeds["logon_bad"] = answer_seed(2, 9, 0, [d for _, d in sim.handle(request(3, 9, mac, b"NAS-ONE", b"no"), None)])
    busy = sim.devices[3].mac
    seeds["logon_busy"] = answer_seed(2, 10, 0, [d for _, d in sim.handle(request(3, 10, busy, b"x"), None)])
    sim.handle(request(3, 11, mac, b"NAS-ONE", b"pw"), None)
    for op, sub, code, flag in ((8, 0, 5, 1), (8, 1, 6, 1), (9, 1, 7, 1), (8, 1, 6, 0)):
        req = request(op, 12, mac, auth=b"pw", extra=struct.pack(">HB", sub, flag))
        seeds["advanced_%d_%d_%d" % (op, sub, flag)] = answer_seed(code, 12, flag, [d for _, d in sim.handle(req, None)])
    seeds["setup"] = answer_seed(4, 13, 0, [d for _, d in sim.handle(request(2, 13, mac, b"NEW", b"pw"), None)])
    return seeds


def command_line_seeds():
    names = [d.name.decode("latin-1") for d in simulator([{}, {"name": "disk1@x"}, {"name": "L" * 300}]).devices]
    lines = ["Lorrick.exe share " + names[0], '"C:\\Program Files\\Lorrick.exe" setting ' + names[1],
             "Lorrick.exe setting " + names[2], "Lorrick.exe  share x", 'L "a\\"b" \\\\"c d"', "Lorrick.exe /x y"]
    return {"line%d" % i: l.encode("latin-1") for i, l in enumerate(lines)}


def dotted_quad_seeds():
    sim = simulator([{"ip": "192.168.1.10"}, {"ip": "10.0.0.1", "mask": "255.0.0.0"}])
    texts = [".".join(str(b) for b in d.ip) for d in sim.devices]
    texts += ["255.255.255.255", "0.0.0.0", "1.2.3", "-1.300.2.4x", " 1 . 2.3.4", "99999999999.1.1.1"]
    return {"quad%d" % i: t.encode() for i, t in enumerate(texts)}


def gif_seeds():
    """The sample guide's animations, and small GIFs of the shapes it does not draw."""
    import io
    import tempfile
    sys.path.insert(0, os.path.join(ROOT, "tools", "artwork"))
    import guide
    from PIL import Image
    seeds = {}
    with tempfile.TemporaryDirectory() as tmp:
        for kind in ("blink", "steady"):
            path = os.path.join(tmp, kind + ".gif")
            guide.save_gif(guide.anim_frames(kind)[:3], path)
            with open(path, "rb") as f:
                seeds["guide_" + kind] = f.read()
    frames = [Image.new("P", (12, 8), i) for i in range(3)]
    for name, args in (("interlaced", {"interlace": True}), ("transparent", {"transparency": 1}),
                       ("zero_delay", {"save_all": True, "append_images": frames[1:], "duration": 0, "loop": 3,
                                       "disposal": 2}),
                       ("restore", {"save_all": True, "append_images": frames[1:], "duration": 30, "disposal": 3,
                                    "comment": b"kit"})):
        buf = io.BytesIO()
        frames[0].save(buf, "GIF", **args)
        seeds[name] = buf.getvalue()
    return seeds


def base64_seeds():
    return {"pw%d" % i: t for i, t in enumerate([b"", b"a", b"ab", b"abc", b"password", bytes(range(1, 256))])}


def setter_reply_seeds():
    """Answer streams from the simulator: search answers of every kind, logon and setup answers."""
    sim = simulator([{"kind": k, "name": "DEV%d" % k, "password": "pw"} for k in (1, 2, 3, 4)])
    seeds = {}
    for name, req in (("search", request(0, 7, text=b"FROM-PC")),
                      ("logon", request(3, 7, sim.devices[0].mac, auth=b"pw"))):
        stream = bytes([0x80, 0, 0, 0, 0, 0, 0])
        for _, d in sim.handle(req, None):
            stream += bytes([(len(d) + 1) // 2]) + d + bytes(len(d) % 2)
        seeds[name] = stream
    return seeds


def advanced_answer_seeds():
    """Modes answers with counts 3, 30, 31 and 0; clock answers with a time address behind flag 1 and 0."""
    further = "0a000001" + "5a" * 16
    sim = simulator([{"kind": 4, "modes": [2, 1, 772]}, {"kind": 1, "mode_count": 30, "modes": [3] * 29 + [1]},
                     {"kind": 2, "mode_count": 31, "modes": [1] * 30}, {"kind": 3, "mode_count": 0, "modes": [1]},
                     {"time": {"flag": 1, "further": further}}, {"time": {"flag": 0, "further": further}}])
    # Context: the list's kind (3 storage), every other device protected; then the token and the password.
    tails = [bytes(16) + b"a-password-longer-than-15", bytes(range(1, 17)) + b"pw"]
    return {"dev%d_sub%d" % (i, sub): bytes([dev.kind & 3 | (i % 2) << 2]) +
            sim.advanced(dev, request(8, 30 + i, dev.mac), sub, 1) + tails[i % 2]
            for i, dev in enumerate(sim.devices) for sub in (0, 1)}


def setting_checks_seeds():
    """Clocks at the ends of the shown years and past them, beside names cut at an at sign, a question
    mark, a Shift-JIS trail byte 0x40, a lead byte cut off, past the list's 30 bytes."""
    times = [{"year": 2038, "month": 12, "day": 31, "hour": 23, "minute": 59, "second": 59}, {"year": 2039},
             {"year": 1970, "month": 1, "day": 1, "hour": 0, "minute": 0, "second": 0}, {"month": 13},
             {"year": 2024, "month": 2, "day": 31}, {}]
    names = [b"NAS01@WORKGROUP", b"NAS01?DOMAIN", b"\x8b\x40\x8d\xde@WG", b"N@W\x94", b"@X?Y", b"A" * 28 + b"@WG"]
    sim = simulator([{"kind": 4, "time": t} for t in times])
    # Context: Shift-JIS for the double-byte names, the zones go round; then the PC clock's offset.
    return {"clock%d" % i: bytes([(i in (2, 3)) | (i % 4) << 2]) + sim.advanced(dev, request(8, 8, dev.mac), 1, 0) +
            struct.pack(">h", 100 * i - 300) + name for i, (dev, name) in enumerate(zip(sim.devices, names))}


def library_record(answer):
    """The record the finder library makes of a search answer (finderlib ParseDeviceAnswer)."""
    kind = {1: 1, 5: 2, 6: 3, 7: 4}[answer[0]]
    text = lambda a: ("%d.%d.%d.%d" % tuple(a)).encode()
    method = answer[99:115] == b"\xff" * 16 or kind == 4  # the Base64 logon
    return struct.pack("<65sB6sI20s20s20sBB", answer[34:98], kind, answer[28:34],
                       0 if answer[6:8] == b"\0\1" else 1, text(answer[14:18]), text(answer[18:22]),
                       text(answer[22:26]), 2 if answer[5] == 4 else 1, 1 if method else 0)


def finder_table_seeds():
    """Search answers as records: equal names (the first of state 2), at signs, a Shift-JIS trail byte
    0x40, a nameless record before another."""
    names = ["disk1", "disk1", "disk1@x", "Disk1", "@@disk1@x", "@@@", "L" * 70, "\x8b\x40\x8a\xed@x", "", "NAS"]
    sim = simulator([{"mac": "00:0D:0B:00:00:%02X" % (48 + i), "name": n, "state2": i == 0}
                     for i, n in enumerate(names)])
    records = [library_record(d) for _, d in sim.handle(request(0, 7, text=b"FROM-PC"), None)]
    # Context: bits 0-1 the code page (1 Shift-JIS), bits 2-5 the records of each table (0: all 50).
    cases = (("disk1", 0, b"disk1", records), ("sjis", 1, b"\x8b\x40\x8a\xed", records),
             ("twice", 3 << 2, b"disk1", records[:3] + records[2:6] + records[:1]))
    return {name: bytes([context, len(target)]) + target + b"".join(table) for name, context, target, table in cases}


def main(out):
    for target, seeds in (("tavik_answer", tavik_seeds()), ("command_line", command_line_seeds()),
                          ("dotted_quad", dotted_quad_seeds()), ("gif_blocks", gif_seeds()),
                          ("base64", base64_seeds()), ("setter_reply", setter_reply_seeds()),
                          ("advanced_answer", advanced_answer_seeds()), ("setting_checks", setting_checks_seeds()),
                          ("finder_table", finder_table_seeds())):
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
