#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets from the device simulator's own datagram builders."""
import base64
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
    assert len(p) == devsim.PACKET
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
    """Modes and clock answers of the simulator: counts 0, 3 and 31, clocks with either flag, a refusal."""
    sim = simulator([
        {"mac": "00:0D:0B:00:00:11", "kind": 4, "name": "NAS-ONE", "password": "pw", "modes": [1, 2, 772],
         "static": True, "ip": "10.1.2.3", "gw": "10.1.2.1", "web_port": 8080},
        {"mac": "00:0D:0B:00:00:12", "kind": 1, "name": "AP-TWO", "password": "pw", "modes": [2, 3],
         "time": {"year": 2038, "month": 12, "day": 31, "hour": 23, "minute": 59, "second": 59, "flag": 1,
                  "further": "0a000001" + "5a" * 16, "a": 1, "b": 2}},
        {"mac": "00:0D:0B:00:00:13", "kind": 2, "password": "pw", "mode_count": 31, "modes": [1] * 30},
        {"mac": "00:0D:0B:00:00:14", "kind": 3, "password": "pw", "mode_count": 0, "time_flag": 1},
    ])
    seeds = {}
    for i, dev in enumerate(sim.devices):
        # Logged on first, as the setting run is; flag 1 asks within the session, with the session's
        # token for a Base64-method device and the password for the others.
        logon = request(3, 20 + i, dev.mac, base64.b64encode(b"pw") if dev.base64 else dev.name, b"pw")
        answers = [d for _, d in sim.handle(logon, None)]
        assert [d[5] for d in answers] == [0]
        token = bytes(answers[0][99:115])
        for sub in (0, 1):
            req = request(8, 30 + i, dev.mac, auth=token if dev.base64 else b"pw", extra=struct.pack(">HB", sub, 1))
            for n, (_, d) in enumerate(sim.handle(req, None)):
                assert d[5] == 0
                context = (i & 3) | (4 if dev.base64 else 0)
                seeds["dev%d_sub%d_%d" % (i, sub, n)] = bytes([context]) + d + token + b"pw"
    # Another PC's query (flag 1 without the session): the answer that refuses it.
    other = bytearray(request(8, 40, sim.devices[0].mac, extra=struct.pack(">HB", 1, 1)))
    other[8:14] = bytes.fromhex("020000ddeeff")
    seeds["refused"] = bytes([3]) + sim.handle(bytes(other), None)[0][1] + bytes(16) + b"a-password-longer-than-15"
    return seeds


def setting_checks_seeds():
    """Clock answers of the simulator's devices beside their search answers' name texts."""
    times = [{}, {"year": 2038, "month": 12, "day": 31, "hour": 23, "minute": 59, "second": 59},
             {"year": 1970, "month": 1, "day": 1, "hour": 0, "minute": 0, "second": 0},
             {"year": 2039}, {"month": 13}, {"year": 2024, "month": 2, "day": 31},
             {"flag": 1, "further": "c0a80001" + "00" * 16}]
    names = ["NAS01@WORKGROUP", "NAS01?DOMAIN", "NAS01", "@X?Y", "\x8b\x40\x8d\xde@WG", "N@W\x94",
             "A" * 28 + "@WORKGROUP"]
    sim = simulator([{"kind": 4, "name": n, "time": t} for n, t in zip(names, times)])
    search = dict((bytes(d[28:34]), bytes(d)) for _, d in sim.handle(request(0, 7, text=b"FROM-PC"), None))
    seeds = {}
    for i, dev in enumerate(sim.devices):
        clock = sim.advanced(dev, request(8, 8, dev.mac), 1, 0)
        name = devsim.cstr(search[dev.mac][34:99])
        # Names of i 4 and 5 are Shift-JIS; the zones go round.
        context = (1 if i in (4, 5) else 0) | (i % 4) << 2
        for offset in (0, 301, -360):
            seeds["clock%d_%+d" % (i, offset)] = bytes([context]) + clock + struct.pack(">h", offset) + name
    return seeds


def library_record(answer):
    """The record the finder library makes of a search answer (finderlib ParseDeviceAnswer)."""
    kinds = {1: 1, 5: 2, 6: 3, 7: 4}
    text = lambda a: ("%d.%d.%d.%d" % tuple(a)).encode()
    kind = kinds[answer[0]]
    method = answer[99:115] == b"\xff" * 16 or kind == 4  # the Base64 logon
    return struct.pack("<65sB6sI20s20s20sBB", answer[34:98], kind, answer[28:34],
                       0 if answer[6:8] == b"\0\1" else 1, text(answer[14:18]), text(answer[18:22]),
                       text(answer[22:26]), 2 if answer[5] == 4 else 1, 1 if method else 0)


def finder_table_seeds():
    """The library's records of the simulator's search answers: names alike, at signs, a second state."""
    devices = [{"mac": "00:0D:0B:00:00:%02X" % (0x30 + i), "name": n} for i, n in enumerate(
        ["disk1", "disk1@x", "Disk1", "disk10", "@@disk1@x", "@@@", "L" * 70, "\x8b\x40\x8a\xed@x"])]
    devices += [{"mac": "00:0D:0B:00:00:29", "name": "disk1"},
                {"mac": "00:0D:0B:00:00:50", "name": "disk1", "state2": True},
                {"mac": "00:0D:0B:00:00:51", "name": "NAS", "kind": 4, "static": True, "ip": "10.9.8.7"}]
    sim = simulator(devices)
    records = [library_record(d) for _, d in sim.handle(request(0, 7, text=b"FROM-PC"), None)]
    seeds = {}
    # Context: bits 0-1 the code page (1 Shift-JIS), bits 2-5 the records of each table (0: all 50).
    for name, context, target, table in (("disk1", 0, b"disk1", records),
                                         ("sjis", 1, b"\x8b\x40\x8a\xed", records),
                                         ("twice", 3 << 2, b"disk1", records[:3] + records[2:6] + records[:1]),
                                         ("no_match", 0, b"disk", records[1:4])):
        seeds[name] = bytes([context, len(target)]) + target + b"".join(table)
    return seeds


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
