#!/usr/bin/env python3
# Test firmware server on 127.0.0.1: runs the given command with FW_SERVER_PORT set, then stops.
# Paths are /<kind>/<size>/<name>; the body of a file is bytes (i + len(name)) & 255. Kinds: good,
# missing (404), nolength (no Content-Length), cut (closes half-way), stall (stops a quarter of
# the way in for a few seconds).
import http.server, os, subprocess, sys, threading

stop = threading.Event()


def body(name, size):
    period = bytes((i + len(name)) & 255 for i in range(256))
    return (period * (size // 256 + 1))[:size]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        try:
            _, kind, size, name = self.path.split("/", 3)
            size = int(size)
        except ValueError:
            kind, size, name = "missing", 0, ""
        data = body(name, size)
        self.send_response(404 if kind == "missing" else 200)
        if kind != "nolength":
            self.send_header("Content-Length", str(len(data)))
        self.send_header("Connection", "close")
        self.end_headers()
        part = {"cut": len(data) // 2, "stall": len(data) // 4}.get(kind, len(data))
        for at in range(0, part, 65536):
            self.wfile.write(data[at:min(part, at + 65536)])
        if kind == "stall":
            stop.wait(3)  # long past the test's Cancel; then the abandoned reader ends


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
env = dict(os.environ, FW_SERVER_PORT=str(server.server_address[1]))
code = subprocess.call(sys.argv[1:], env=env)
stop.set()
server.shutdown()
sys.exit(code)
