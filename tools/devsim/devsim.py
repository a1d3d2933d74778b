#!/usr/bin/env python3
"""Device simulator: answers the UDP port-65 device protocol the way the storage devices do.

Run it only inside the test network's device namespace (tools/kit-env.sh starts it there).
Tests drive it over a TCP control port, one JSON object per line:
  {"cmd":"load", "devices":[...], "generate":{...}, "faults":{...}}  -> "OK"
  {"cmd":"reset"} / {"cmd":"clear"} / {"cmd":"ping"}                 -> "OK"
  {"cmd":"hold", "ms":n}   -> "OK"; the protocol thread stalls n ms, as on a busy machine
  {"cmd":"requests"}  -> "OK n" and n lines "<seconds> <hex of the datagram>"
  {"cmd":"devices"}   -> "OK 1" and one JSON line with the devices' current state
Errors answer "ERR <text>".  See tools/devsim/README.md for the device and fault fields.
"""
import argparse
import base64
import binascii
import json
import os
import socket
import socketserver
import struct
import sys
import threading
import time

PACKET = 132
ANSWER_OPS = {1, 5, 6, 7, 10}
KIND_OP = {1: 1, 2: 5, 3: 6, 4: 7}
VENDOR = b"Ostrand"
REPEAT_WINDOW = 2.0
# The kernel's receive time of each datagram (Linux; Python does not name the option).
SO_TIMESTAMPNS = getattr(socket, "SO_TIMESTAMPNS", 35)
TIMESPEC = struct.Struct("@ll")
MAX_HOLD_MS = 5000


def mac_bytes(text):
    raw = bytes(int(x, 16) for x in text.replace("-", ":").split(":"))
    if len(raw) != 6:
        raise ValueError("bad MAC " + text)
    return raw


def ip_bytes(text):
    return socket.inet_aton(text)


def cstr(raw):
    return raw.split(b"\0", 1)[0]


class Device:
    def __init__(self, conf, index):
        self.mac = mac_bytes(conf.get("mac", "02:00:00:00:%02X:%02X" % (index >> 8 & 255, index & 255)))
        self.kind = int(conf.get("kind", 1))
        name = conf.get("name", "SIM-%03d" % index)
        self.name = name.encode("latin-1") if isinstance(name, str) else bytes(name)
        self.ip = ip_bytes(conf.get("ip", "192.168.%d.%d" % (index // 200, 10 + index % 200)))
        self.mask = ip_bytes(conf.get("mask", "255.255.255.0"))
        self.gw = ip_bytes(conf.get("gw", "0.0.0.0"))
        self.static = bool(conf.get("static", False))
        self.state2 = bool(conf.get("state2", False))
        self.base64 = bool(conf.get("base64", self.kind == 4))
        self.password = conf.get("password", "").encode("latin-1")
        self.web_port = int(conf.get("web_port", 80))
        owner = conf.get("logged_on_from")
        self.owner = mac_bytes(owner) if owner else None
        self.token = None
        self.logon_status = conf.get("logon_status")      # forced status of every logon answer
        self.busy_mac = conf.get("busy_mac")                # bytes 8-13 of a forced status 3
        self.setup_status = conf.get("setup_status")        # forced status of every setup answer
        self.modes = [int(m) for m in conf.get("modes", [])]
        self.raw_mode_count = conf.get("mode_count")        # count byte sent regardless of the list
        t = conf.get("time", {})
        self.time = {
            "year": int(t.get("year", 2024)), "month": int(t.get("month", 6)), "day": int(t.get("day", 15)),
            "hour": int(t.get("hour", 12)), "minute": int(t.get("minute", 30)), "second": int(t.get("second", 45)),
            "flag": int(t.get("flag", 0)), "further": bytes.fromhex(t.get("further", "00" * 20)),
            "a": int(t.get("a", 0)), "b": int(t.get("b", 0)),
        }
        self.time_flag = conf.get("time_flag")              # forced byte 36 of advanced answers
        self.time_decoy = bool(conf.get("time_decoy", False))  # a flag-0 answer first, year 1999
        self.silent = bool(conf.get("silent", False))
        self.silent_ops = {int(op) for op in conf.get("silent_ops", [])}  # requests left unanswered
        self.delay_ms = int(conf.get("delay_ms", 0))

    def state(self):
        return {
            "mac": ":".join("%02X" % b for b in self.mac), "kind": self.kind,
            "name": self.name.decode("latin-1"), "ip": socket.inet_ntoa(self.ip),
            "mask": socket.inet_ntoa(self.mask), "gw": socket.inet_ntoa(self.gw), "static": self.static,
            "logged_on_from": ":".join("%02X" % b for b in self.owner) if self.owner else None,
            "time": dict(self.time, further=self.time["further"].hex()),
        }


class Simulator:
    def __init__(self, own_ip, port):
        self.own_ip = own_ip
        self.port = port
        self.lock = threading.Lock()
        self.devices = []
        self.faults = {}
        self.log = []
        self.recent = {}
        self.timers = []
        # The log counts from here on the clock of the kernel's receive stamps.
        self.start = time.time()
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.sock.setsockopt(socket.SOL_SOCKET, SO_TIMESTAMPNS, 1)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1 << 20)
        self.sock.bind(("", port))

    # Control side.
    def load(self, msg):
        devices = [Device(d, i + 1) for i, d in enumerate(msg.get("devices", []))]
        gen = msg.get("generate")
        if gen:
            base = len(devices)
            for i in range(int(gen.get("count", 0))):
                conf = dict(gen)
                conf.pop("count", None)
                n = base + i + 1
                conf["mac"] = "%s:%02X:%02X" % (gen.get("mac_prefix", "02:00:01:00"), n >> 8 & 255, n & 255)
                conf["name"] = "%s-%03d" % (gen.get("prefix", "SIM"), n)
                devices.append(Device(conf, n))
        with self.lock:
            for timer in self.timers:
                timer.cancel()
            self.timers = []
            self.devices = devices
            self.faults = dict(msg.get("faults", {}))
            self.log = []
            self.recent = {}

    def replay(self, data):
        # The copies of one request (sent 250 ms apart) get the answers of the first copy, as a
        # device that has already acted on it would send; the same bytes much later are new.
        now = time.monotonic()
        for key in [k for k, (t, _) in self.recent.items() if now - t > REPEAT_WINDOW]:
            del self.recent[key]
        hit = self.recent.get(data)
        return None if hit is None or data[0] in (0, 4) else hit[1]

    def requests(self):
        with self.lock:
            return list(self.log)

    def hold(self, ms):
        # Taken here, given back by a timer: the protocol thread waits for the lock while the
        # datagrams queue in the socket, and the control answer need not wait as well.
        ms = int(ms)
        if not 0 < ms <= MAX_HOLD_MS:
            raise ValueError("hold takes 1 to %d ms" % MAX_HOLD_MS)
        self.lock.acquire()
        release = threading.Timer(ms / 1000, self.lock.release)
        release.daemon = True
        release.start()

    # Protocol side.
    def send(self, data, src):
        reply = self.faults.get("reply", "broadcast")
        dest = (src[0], self.port) if reply == "unicast" else ("255.255.255.255", self.port)
        gap = float(self.faults.get("gap_us", 0)) / 1e6
        for _ in range(1 + int(self.faults.get("duplicates", 0))):
            try:
                self.sock.sendto(data, dest)
            except OSError:
                pass
            if gap:
                time.sleep(gap)

    def answer(self, dev, req, op, status=0, pc_mac=None, auth=None):
        p = bytearray(PACKET)
        p[0] = op
        p[1:5] = req[1:5]
        p[5] = status
        p[6:8] = (1 if dev.static else 0).to_bytes(2, "big")
        p[8:14] = pc_mac if pc_mac is not None else req[8:14]
        p[14:18], p[18:22], p[22:26] = dev.ip, dev.mask, dev.gw
        p[26:28] = dev.web_port.to_bytes(2, "big")
        p[28:34] = dev.mac
        if op != 10:
            name = dev.name[:65]
            p[34:34 + len(name)] = name
        if auth is not None:
            p[99:115] = auth
        p[115:115 + len(VENDOR)] = VENDOR
        return p

    def advanced(self, dev, req, sub_kind, flag):
        p = self.answer(dev, req, 10)
        p[34:36] = sub_kind.to_bytes(2, "big")
        p[36] = flag
        if sub_kind == 0:
            p[37] = dev.raw_mode_count if dev.raw_mode_count is not None else len(dev.modes)
            for i, m in enumerate(dev.modes[:30]):
                p[38 + 2 * i:40 + 2 * i] = m.to_bytes(2, "big")
        else:
            t = dev.time
            p[37:39] = t["year"].to_bytes(2, "big")
            p[39:44] = bytes([t["month"], t["day"], t["hour"], t["minute"], t["second"]])
            p[44] = t["flag"]
            p[45:65] = t["further"][:20].ljust(20, b"\0")
            p[65], p[66] = t["a"], t["b"]
        return bytes(p)

    @staticmethod
    def hears(dev, req):
        return not dev.silent and req[0] not in dev.silent_ops

    def addressed(self, req):
        target = req[28:34]
        if target in (bytes(6), b"\xff" * 6):
            return [d for d in self.devices if self.hears(d, req)]
        return [d for d in self.devices if d.mac == target and self.hears(d, req)]

    def logon_status(self, dev, req):
        pc = req[8:14]
        if dev.logon_status is not None:
            status = int(dev.logon_status)
            busy = mac_bytes(dev.busy_mac) if (status == 3 and dev.busy_mac) else None
            return status, busy
        if dev.owner is not None:
            return 3, (None if dev.owner == pc else dev.owner)
        if dev.base64:
            try:
                sent = base64.b64decode(cstr(req[34:99]), validate=True)
            except (binascii.Error, ValueError):
                return 1, None
            ok = sent == dev.password
        else:
            ok = cstr(req[99:115]) == dev.password[:15]
        return (0 if ok else 1), None

    def session_status(self, dev, req):
        """Status a device gives a request that needs the session: 0, 2 (not this PC's) or 1 (wrong token)."""
        if dev.owner != req[8:14]:
            return 2
        return 0 if self.auth_ok(dev, req) else 1

    def auth_ok(self, dev, req):
        # The session token always serves; a plain-method device also takes its password.
        if dev.token is not None and req[99:115] == dev.token:
            return True
        return not dev.base64 and cstr(req[99:115]) == dev.password[:15]

    def handle(self, req, src):
        """Returns a list of (delay seconds, datagram) to send."""
        out = []
        if len(req) < PACKET:
            return out
        op = req[0]
        junk = [bytes.fromhex(h) for h in self.faults.get("junk", [])]
        out += [(0, j) for j in junk]
        if op == 0:
            for dev in self.devices:
                if not self.hears(dev, req):
                    continue
                auth = b"\xff" * 16 if dev.base64 else None
                out.append((dev.delay_ms / 1000, self.answer(dev, req, KIND_OP[dev.kind], 4 if dev.state2 else 0, auth=auth)))
            for i in range(int(self.faults.get("burst", 0))):
                fake = Device({"mac": "0A:00:00:%02X:%02X:%02X" % (i >> 16 & 255, i >> 8 & 255, i & 255),
                               "name": "BURST-%04d" % i}, i)
                out.append((0, self.answer(fake, req, 1)))
            late = self.faults.get("late_ms")
            if late and out:
                out.append((float(late) / 1000, out[-1][1]))
        elif op == 3:
            for dev in self.addressed(req):
                if dev.mac != req[28:34]:
                    continue
                status, busy = self.logon_status(dev, req)
                auth = None
                if status == 0:
                    dev.token = os.urandom(16)
                    dev.owner = req[8:14]
                    auth = dev.token
                out.append((dev.delay_ms / 1000, self.answer(dev, req, KIND_OP[dev.kind], status, pc_mac=busy, auth=auth)))
        elif op == 4:
            for dev in self.devices:
                # Any logoff from the PC that holds the session ends it; no token is asked.
                if req[28:34] in (dev.mac, bytes(6)) and dev.owner == req[8:14]:
                    dev.owner = None
                    dev.token = None
        elif op == 2:
            for dev in self.addressed(req):
                if dev.mac != req[28:34]:
                    continue
                if dev.setup_status is not None:
                    status = int(dev.setup_status)
                else:
                    status = self.session_status(dev, req)
                out.append((dev.delay_ms / 1000, self.answer(dev, req, KIND_OP[dev.kind], status)))
                if status == 0:
                    dev.name = cstr(req[34:99])
                    dev.static = int.from_bytes(req[6:8], "big") == 1
                    if dev.static:
                        dev.ip, dev.mask, dev.gw = req[14:18], req[18:22], req[22:26]
                    dev.owner = None
                    dev.token = None
        elif op in (8, 9):
            sub_kind = int.from_bytes(req[34:36], "big")
            flag = req[36]
            for dev in self.addressed(req):
                # A request of the logged-on session (flag 1) needs it: refused with an empty block.
                refused = self.session_status(dev, req) if flag == 1 else 0
                if refused:
                    p = self.answer(dev, req, 10, refused)
                    p[34:36], p[36] = sub_kind.to_bytes(2, "big"), flag
                    out.append((dev.delay_ms / 1000, bytes(p)))
                    continue
                if op == 9 and sub_kind == 1:
                    t = dev.time
                    t["year"] = int.from_bytes(req[37:39], "big")
                    t["month"], t["day"], t["hour"], t["minute"], t["second"] = req[39:44]
                    t["flag"] = req[44]
                    t["further"] = bytes(req[45:65])
                    t["a"], t["b"] = req[65], req[66]
                answer_flag = flag if dev.time_flag is None else int(dev.time_flag)
                if dev.time_decoy and sub_kind == 1:
                    saved = dev.time["year"]
                    dev.time["year"] = 1999
                    out.append((0, self.advanced(dev, req, sub_kind, 0)))
                    dev.time["year"] = saved
                out.append((dev.delay_ms / 1000, self.advanced(dev, req, sub_kind, answer_flag)))
        if op in (2, 3, 8, 9) and self.faults.get("stray"):
            out = [(0, self.stray(d)) for _, d in out if d[0] in ANSWER_OPS] + out
        return out

    @staticmethod
    def stray(answer):
        # The same answer for another transaction, saying what a careless receiver would like to hear.
        x = bytearray(answer)
        x[1:5] = ((int.from_bytes(x[1:5], "big") + 0x1000) & 0xFFFFFFFF).to_bytes(4, "big")
        if x[0] == 10:
            x[36] = 1
            if int.from_bytes(x[34:36], "big") == 0:
                x[37] = 0
            else:
                x[37:39] = (1998).to_bytes(2, "big")
        else:
            x[5] = 0
        return bytes(x)

    @staticmethod
    def received_at(ancillary):
        """The kernel's receive time; a read late on a busy machine would shorten the gaps the tests measure."""
        for level, kind, raw in ancillary:
            if level == socket.SOL_SOCKET and kind == SO_TIMESTAMPNS and len(raw) >= TIMESPEC.size:
                sec, nsec = TIMESPEC.unpack_from(raw)
                return sec + nsec / 1e9
        return time.time()

    def serve_udp(self):
        while True:
            try:
                data, ancillary, _, src = self.sock.recvmsg(4096, socket.CMSG_SPACE(TIMESPEC.size))
            except OSError:
                continue
            stamp = self.received_at(ancillary)
            # Answers (also our own broadcasts) are never answered, or peers loop forever.
            if src[0] == self.own_ip or not data or data[0] in ANSWER_OPS:
                continue
            with self.lock:
                self.log.append((stamp - self.start, data))
                if self.faults.get("silent"):
                    continue
                out = self.replay(data)
                if out is None:
                    out = self.handle(data, src)
                    self.recent[data] = (time.monotonic(), out)
            now = [d for delay, d in out if delay <= 0]
            for d in now:
                self.send(d, src)
            for delay, d in out:
                if delay > 0:
                    timer = threading.Timer(delay, self.send, (d, src))
                    timer.daemon = True
                    with self.lock:
                        self.timers = [t for t in self.timers if t.is_alive()] + [timer]
                    timer.start()


class ControlHandler(socketserver.StreamRequestHandler):
    def handle(self):
        sim = self.server.sim
        for line in self.rfile:
            line = line.strip()
            if not line:
                continue
            try:
                msg = json.loads(line)
                cmd = msg.get("cmd")
                if cmd == "load":
                    sim.load(msg)
                    reply = "OK\n"
                elif cmd == "reset":
                    sim.load({})
                    reply = "OK\n"
                elif cmd == "clear":
                    with sim.lock:
                        sim.log = []
                    reply = "OK\n"
                elif cmd == "ping":
                    reply = "OK\n"
                elif cmd == "hold":
                    sim.hold(msg.get("ms", 0))
                    reply = "OK\n"
                elif cmd == "requests":
                    log = sim.requests()
                    reply = "OK %d\n" % len(log) + "".join("%.3f %s\n" % (t, d.hex()) for t, d in log)
                elif cmd == "devices":
                    with sim.lock:
                        reply = "OK 1\n" + json.dumps([d.state() for d in sim.devices]) + "\n"
                else:
                    reply = "ERR unknown command\n"
            except Exception as e:  # a bad command never stops the simulator
                reply = "ERR %s\n" % str(e).replace("\n", " ")
            self.wfile.write(reply.encode())
            self.wfile.flush()


class ControlServer(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--ip", required=True, help="this namespace's address (control port, own-datagram filter)")
    ap.add_argument("--port", type=int, default=65)
    ap.add_argument("--control-port", type=int, default=6565)
    args = ap.parse_args()
    sim = Simulator(args.ip, args.port)
    server = ControlServer((args.ip, args.control_port), ControlHandler)
    server.sim = sim
    threading.Thread(target=sim.serve_udp, daemon=True).start()
    print("devsim ready on %s:%d, control %d" % (args.ip, args.port, args.control_port), flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
