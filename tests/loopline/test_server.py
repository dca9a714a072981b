#!/usr/bin/env python3
"""The HTTP server the news program's tests talk to, on 127.0.0.1.

  test_server.py start --state DIR   binds a free port, writes DIR/port and
                                     DIR/pid, serves DIR/www/ and the canned
                                     answers below in the background, exits
  test_server.py stop --state DIR    ends the server started for DIR

Every answer is written byte for byte, so the tests see exactly what a server
sent: redirections, errors, a stalled server, one that trickles, an over-long
header line, a page without header. The server ends by itself after ten idle minutes.
"""
import os
import re
import signal
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

IDLE_LIMIT = 600
REASONS = {200: "OK", 301: "Moved Permanently", 302: "Found", 307: "Temporary Redirect",
           401: "Unauthorized", 404: "Not Found", 500: "Internal Server Error"}


def response(status, body=b"", headers=(), length=True):
    head = "HTTP/1.0 %d %s\r\n" % (status, REASONS.get(status, "Status"))
    for name, value in headers:
        head += "%s: %s\r\n" % (name, value)
    if length:
        head += "Content-Length: %d\r\n" % len(body)
    return head.encode("latin-1") + b"\r\n" + body


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        self.server.last_request = time.time()
        self.request.settimeout(30)
        raw = b""
        while b"\r\n\r\n" not in raw and len(raw) < 65536:
            chunk = self.request.recv(4096)
            if not chunk:
                return
            raw += chunk
        head = raw.split(b"\r\n\r\n", 1)[0] + b"\r\n\r\n"
        target = head.split(b"\r\n", 1)[0].split(b" ")[1].decode("latin-1")
        path, _, query = target.partition("?")
        args = urllib.parse.parse_qs(query)
        try:
            self.answer(path, args, head)
        except OSError:
            pass

    def send(self, data):
        self.request.sendall(data)

    def answer(self, path, args, head):
        www = os.path.join(self.server.state, "www")
        if path.startswith("/www/") and re.fullmatch(r"[A-Za-z0-9._-]+", path[5:]):
            try:
                with open(os.path.join(www, path[5:]), "rb") as served:
                    return self.send(response(200, served.read(), [("Content-Type", "Text/Plain")]))
            except OSError:
                return self.send(response(404, b"no such file"))
        if path == "/echo":
            # The request exactly as it came.
            return self.send(response(200, head, [("Content-Type", "text/plain")]))
        if path == "/redirect":
            status = int(args.get("status", ["302"])[0])
            return self.send(response(status, b"moved", [("Location", args["to"][0])]))
        match = re.fullmatch(r"/hops/(\d+)/(\d+)", path)
        if match:
            hop, last = int(match.group(1)), int(match.group(2))
            if hop < last:
                return self.send(response(302, b"", [("location", "/hops/%d/%d" % (hop + 1, last))]))
            return self.send(response(200, b"arrived after %d" % hop))
        match = re.fullmatch(r"/status/(\d+)", path)
        if match:
            return self.send(response(int(match.group(1)), b"status page"))
        if path == "/stall":
            # Accepts and answers nothing until the client gives up.
            self.request.settimeout(60)
            try:
                self.request.recv(1)
            except OSError:
                pass
            return
        if path == "/trickle":
            # Never silent for long, never done: the header, then one byte of
            # the body a second until the client hangs up.
            self.send(b"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n")
            for _ in range(IDLE_LIMIT):
                time.sleep(1)
                self.send(b".")
            return
        match = re.fullmatch(r"/longline/(\d+)", path)
        if match:
            return self.send(response(200, b"body", [("X-Long", "a" * int(match.group(1)))]))
        if path == "/noheader":
            return self.send(b"<html><body>no header at all</body></html>\r\n")
        return self.send(response(404, b"unknown"))


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def start(state):
    os.makedirs(os.path.join(state, "www"), exist_ok=True)
    server = Server(("127.0.0.1", 0), Handler)
    server.state = state
    server.last_request = time.time()
    if os.fork():
        return 0
    # The child serves; the parent's exit tells CTest the fixture is ready.
    os.setsid()
    null = os.open(os.devnull, os.O_RDWR)
    for fd in (0, 1, 2):
        os.dup2(null, fd)
    with open(os.path.join(state, "pid"), "w") as out:
        out.write(str(os.getpid()))

    def idle_watch():
        while time.time() - server.last_request < IDLE_LIMIT:
            time.sleep(5)
        server.shutdown()

    threading.Thread(target=idle_watch, daemon=True).start()
    port_file = os.path.join(state, "port")
    with open(port_file + ".new", "w") as out:
        out.write(str(server.server_address[1]))
    os.replace(port_file + ".new", port_file)
    server.serve_forever()
    os._exit(0)


def wait_for_port(state):
    port_file = os.path.join(state, "port")
    for _ in range(100):
        if os.path.exists(port_file):
            port = int(open(port_file).read())
            with socket.create_connection(("127.0.0.1", port), timeout=5):
                return 0
        time.sleep(0.05)
    print("test_server: the server did not start", file=sys.stderr)
    return 1


def stop(state):
    try:
        pid = int(open(os.path.join(state, "pid")).read())
        os.kill(pid, signal.SIGTERM)
    except (OSError, ValueError):
        pass
    for name in ("pid", "port"):
        try:
            os.remove(os.path.join(state, name))
        except OSError:
            pass
    return 0


def main():
    if len(sys.argv) != 4 or sys.argv[2] != "--state" or sys.argv[1] not in ("start", "stop"):
        print(__doc__, file=sys.stderr)
        return 2
    state = sys.argv[3]
    if sys.argv[1] == "stop":
        return stop(state)
    stop(state)
    if start(state) != 0:
        return 1
    return wait_for_port(state)


if __name__ == "__main__":
    sys.exit(main())
