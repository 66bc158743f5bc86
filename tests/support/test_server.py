#!/usr/bin/env python3
"""A small HTTP server on 127.0.0.1 for the test programs (standard library only).

    test_server.py ROOT [--tls-cert CERT --tls-key KEY]

Listens on 127.0.0.1 at a port the system picks and prints that port, in decimal, as the
first line of stdout. Runs until stdin reaches end of file (so it never outlives the test
program that started it) or until it is killed. With --tls-cert and --tls-key it speaks
HTTPS only, with that certificate chain and key.

Every connection carries one request and gets one response, after which the server closes
the connection; responses say "HTTP/1.1 ... Connection: close". The method is not looked at.

What is served, by path (the request target up to "?", percent-decoded):
  /NAME                     the bytes of ROOT/NAME with status 200 (NAME may hold "/";
                            a name outside ROOT or a missing file gives 404 "not found").
  /_status/CODE             status CODE; the body is the query's `body` value (default
                            empty); each `header` value ("Name: value") is added as a line.
  /_redirect                status `code` (default 302) with "Location:" the `to` value and
                            the body "redirect body"; without `to` it sends the client back
                            to the very same target, a loop that never ends.
  /_setcookie               status 200, one "Set-Cookie:" line per `cookie` value (default
                            "session=abc123; Path=/"), body "cookie set".
  /_cookie, /_cookie/ANY    status 200; the body is the values of every Cookie line of the
                            request, joined by "\\n" (empty when it sent none). Cookies
                            ignore ports, and a test program keeps one cookie store for all
                            its servers: scope a test's cookies with Path=/_cookie/SOMETHING.
  /_echo                    status 200; the body is the raw request, byte for byte.
  /_nul                     status 200, body "before\\0after" (12 bytes, a NUL at offset 6).
  /_cut                     "Content-Length: `length`" (default 1000), then only `send`
                            (default 300) bytes of "0123456789" repeated, then close.
  /_stall                   headers with "Content-Length: 1000000", then `bytes` (default
                            5) bytes of "0123456789" repeated, then silence until the client
                            gives up (at most 10 minutes).
  /_silent                  reads the request and sends nothing until the client gives up
                            (at most 10 minutes).
  /_hangup                  reads the request and closes without answering.
  /_big                     status 200, `bytes` (default 1048576) bytes of `pattern`
                            (default "0123456789") repeated, with a Content-Length unless
                            `nolength` is given.
Query values are percent-decoded to bytes; "+" stays "+".

Every request is recorded before it is answered: its raw bytes (request line and headers up
to and including the empty line; a request body is not read) are appended to
ROOT/_requests.log as the decimal byte count, "\\n", then the bytes. A connection that
never completes its headers (or its TLS handshake) records nothing.
"""

import os
import socket
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse

NUL_BODY = b"before\0after"
REQUEST_LOG = "_requests.log"
MAX_HEAD = 1 << 20
DIGITS = b"0123456789"


def repeated(pattern, count):
    if not pattern or count <= 0:
        return b""
    return (pattern * (count // len(pattern) + 1))[:count]


def query_values(query):
    """Pairs of (name, value) bytes, percent-decoded, '+' kept as it is."""
    pairs = []
    for part in query.split(b"&"):
        if not part:
            continue
        name, _, value = part.partition(b"=")
        pairs.append((urllib.parse.unquote_to_bytes(name), urllib.parse.unquote_to_bytes(value)))
    return pairs


def first_value(pairs, name, default=None):
    for key, value in pairs:
        if key == name:
            return value
    return default


def all_values(pairs, name):
    return [value for key, value in pairs if key == name]


def response(code, body=b"", headers=(), length="auto"):
    """Status line, headers and body; `length` is the Content-Length to state: the body's
    by default, another number, or None for no Content-Length line."""
    reason = {200: b"OK", 301: b"Moved Permanently", 302: b"Found", 303: b"See Other",
              307: b"Temporary Redirect", 308: b"Permanent Redirect", 404: b"Not Found",
              500: b"Internal Server Error"}.get(code, b"Status")
    head = [b"HTTP/1.1 %d %s" % (code, reason), b"Connection: close",
            b"Content-Type: application/octet-stream"]
    if length == "auto":
        length = len(body)
    if length is not None:
        head.append(b"Content-Length: %d" % length)
    head.extend(headers)
    return b"\r\n".join(head) + b"\r\n\r\n" + body


class Handler(socketserver.BaseRequestHandler):
    def read_head(self):
        data = b""
        while b"\r\n\r\n" not in data and b"\n\n" not in data:
            if len(data) > MAX_HEAD:
                return None
            chunk = self.request.recv(65536)
            if not chunk:
                return None
            data += chunk
        ends = [i + 4 for i in [data.find(b"\r\n\r\n")] if i >= 0]
        ends += [i + 2 for i in [data.find(b"\n\n")] if i >= 0]
        return data[:min(ends)]

    def record(self, raw):
        with self.server.log_lock:
            with open(os.path.join(self.server.root, REQUEST_LOG), "ab") as log:
                log.write(b"%d\n" % len(raw) + raw)

    def send(self, data):
        self.request.sendall(data)

    def handle(self):
        self.request.settimeout(60)
        try:
            context = self.server.tls_context
            if context is not None:
                self.request = context.wrap_socket(self.request, server_side=True)
            raw = self.read_head()
        except (OSError, ssl.SSLError):
            return
        if raw is None:
            return
        self.record(raw)
        line = raw.split(b"\n", 1)[0].rstrip(b"\r")
        parts = line.split(b" ")
        target = parts[1] if len(parts) >= 2 else b"/"
        path, _, query = target.partition(b"?")
        path = urllib.parse.unquote_to_bytes(path)
        try:
            self.route(raw, target, path, query_values(query))
            try:
                self.request.shutdown(socket.SHUT_WR)
            except OSError:
                pass
        except (OSError, ssl.SSLError):
            pass

    def route(self, raw, target, path, q):
        if path.startswith(b"/_status/"):
            code = int(path[len(b"/_status/"):] or b"200")
            self.send(response(code, first_value(q, b"body", b""), all_values(q, b"header")))
        elif path == b"/_redirect":
            code = int(first_value(q, b"code", b"302"))
            to = first_value(q, b"to", target)
            self.send(response(code, b"redirect body", [b"Location: " + to]))
        elif path == b"/_setcookie":
            cookies = all_values(q, b"cookie") or [b"session=abc123; Path=/"]
            self.send(response(200, b"cookie set", [b"Set-Cookie: " + c for c in cookies]))
        elif path == b"/_cookie" or path.startswith(b"/_cookie/"):
            values = []
            for header in raw.split(b"\n")[1:]:
                name, sep, value = header.partition(b":")
                if sep and name.strip().lower() == b"cookie":
                    values.append(value.strip())
            self.send(response(200, b"\n".join(values)))
        elif path == b"/_echo":
            self.send(response(200, raw))
        elif path == b"/_nul":
            self.send(response(200, NUL_BODY))
        elif path == b"/_cut":
            length = int(first_value(q, b"length", b"1000"))
            sent = int(first_value(q, b"send", b"300"))
            self.send(response(200, repeated(DIGITS, sent), length=length))
        elif path == b"/_stall":
            count = int(first_value(q, b"bytes", b"5"))
            self.send(response(200, repeated(DIGITS, count), length=1000000))
            self.wait_for_close(600)
        elif path == b"/_silent":
            self.wait_for_close(600)
        elif path == b"/_hangup":
            pass
        elif path == b"/_big":
            count = int(first_value(q, b"bytes", b"1048576"))
            body = repeated(first_value(q, b"pattern", DIGITS), count)
            nolength = first_value(q, b"nolength") is not None
            self.send(response(200, body, length=None if nolength else "auto"))
        else:
            self.serve_file(path)

    def serve_file(self, path):
        root = os.path.realpath(self.server.root)
        name = os.path.realpath(os.path.join(root.encode(), path.lstrip(b"/")))
        if (name.startswith(root.encode() + b"/") and os.path.isfile(name)):
            with open(name, "rb") as f:
                self.send(response(200, f.read()))
        else:
            self.send(response(404, b"not found"))

    def wait_for_close(self, limit):
        self.request.settimeout(1)
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            try:
                if not self.request.recv(4096):
                    return
            except socket.timeout:
                continue
            except (OSError, ssl.SSLError):
                return


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main(argv):
    args = argv[1:]
    cert = key = None
    root = None
    while args:
        arg = args.pop(0)
        if arg == "--tls-cert" and args:
            cert = args.pop(0)
        elif arg == "--tls-key" and args:
            key = args.pop(0)
        elif root is None and not arg.startswith("--"):
            root = arg
        else:
            sys.stderr.write(__doc__)
            return 2
    if root is None or (cert is None) != (key is None):
        sys.stderr.write(__doc__)
        return 2

    server = Server(("127.0.0.1", 0), Handler)
    server.root = root
    server.log_lock = threading.Lock()
    server.tls_context = None
    if cert is not None:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.tls_context = context

    def exit_on_stdin_eof():
        try:
            while sys.stdin.buffer.read(4096):
                pass
        finally:
            os._exit(0)

    threading.Thread(target=exit_on_stdin_eof, daemon=True).start()
    sys.stdout.write("%d\n" % server.server_address[1])
    sys.stdout.flush()
    server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
